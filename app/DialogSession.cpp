#include "DialogSession.h"

#include <memory>

#include "FormFile.h"
#include "Inspector.h"
#include "ScriptedPresenter.h"
#include "StdCtrls.h"

namespace designer {

namespace {

// The dialog's controls, as its form resource names them.
constexpr const char* kList = "TabList";
constexpr const char* kBaseName = "NameVal";
constexpr const char* kStartValue = "MaxValueIndex";
constexpr const char* kChange = "btnChange";
constexpr const char* kCancelChange = "CancelChangeBtn";
constexpr const char* kOk = "BitBtn1";
constexpr const char* kCancel = "BitBtn2";

std::vector<host::TUserAction> UserActions(const std::vector<ScriptAction>& actions) {
  std::vector<host::TUserAction> out;
  auto selectRows = [&](const ScriptAction& action, bool selected) {
    for (const ScriptRow& row : action.Rows)
      out.emplace_back(host::TSelectRow{kList, static_cast<int>(row.Row), selected});
  };
  auto click = [&](const char* control) { out.emplace_back(host::TClickControl{control}); };
  for (const ScriptAction& action : actions) {
    switch (action.Kind) {
      case ActionKind::Select:
        selectRows(action, true);
        break;
      case ActionKind::SelectType:  // resolved into Select as the dialog opens
        break;
      case ActionKind::Unselect:
        selectRows(action, false);
        break;
      case ActionKind::UnselectAll:
        out.emplace_back(host::TUnselectAllRows{kList});
        break;
      case ActionKind::Base:
        out.emplace_back(host::TTypeText{kBaseName, action.Text});
        break;
      case ActionKind::Start:
        out.emplace_back(host::TSetSpinValue{kStartValue, action.Start});
        break;
      case ActionKind::Change:
        click(kChange);
        break;
      case ActionKind::CancelChange:
        click(kCancelChange);
        break;
      case ActionKind::Ok:
        click(kOk);
        break;
      case ActionKind::Cancel:
        click(kCancel);
        break;
    }
  }
  return out;
}

// Resolves the script against the rows the dialog shows as it opens, which
// are the namer's listing: the listing is not built once more for it. Then
// plays it. A script error ends the session before anything is renamed.
class SessionPresenter final : public host::IModalPresenter {
 public:
  explicit SessionPresenter(const Script& script) : script_(script) {}
  host::TModalResult Present(host::TCustomForm& dialog) override {
    auto* list = dynamic_cast<const host::TCustomListBox*>(dialog.FindComponent(kList));
    if (!list)
      throw host::Exception(
          host::Format("the dialog %s has no list box %s", {dialog.GetName(), std::string(kList)}));
    const std::vector<ScriptAction> actions = Resolve(script_, list->Items().Strings());
    return host::TScriptedPresenter(UserActions(actions)).Present(dialog);
  }

 private:
  const Script& script_;
};

}  // namespace

PresenterScope::PresenterScope(std::unique_ptr<host::IModalPresenter> presenter) {
  host::Application().SetModalPresenter(std::move(presenter));
}

PresenterScope::~PresenterScope() { host::Application().SetModalPresenter(nullptr); }

void PlayDialogSession(host::TFormDesigner& designer, host::TComponent& namer,
                       const Script& script) {
  PresenterScope scope(std::make_unique<SessionPresenter>(script));
  host::EditProperty(designer, namer, kListingProperty);
}

}  // namespace designer
