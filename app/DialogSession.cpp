#include "DialogSession.h"

#include <memory>

#include "FormFile.h"
#include "Inspector.h"
#include "ScriptedPresenter.h"

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
  using Kind = ScriptAction::Kind;
  std::vector<host::TUserAction> out;
  auto selectRows = [&](const ScriptAction& action, bool selected) {
    for (const ScriptRow& row : action.Rows)
      out.emplace_back(host::TSelectRow{kList, static_cast<int>(row.Row), selected});
  };
  auto click = [&](const char* control) { out.emplace_back(host::TClickControl{control}); };
  for (const ScriptAction& action : actions) {
    switch (action.kind) {
      case Kind::Select:
        selectRows(action, true);
        break;
      case Kind::SelectType:  // resolved into Select before a session
        break;
      case Kind::Unselect:
        selectRows(action, false);
        break;
      case Kind::UnselectAll:
        out.emplace_back(host::TUnselectAllRows{kList});
        break;
      case Kind::Base:
        out.emplace_back(host::TTypeText{kBaseName, action.Text});
        break;
      case Kind::Start:
        out.emplace_back(host::TSetSpinValue{kStartValue, action.Start});
        break;
      case Kind::Change:
        click(kChange);
        break;
      case Kind::CancelChange:
        click(kCancelChange);
        break;
      case Kind::Ok:
        click(kOk);
        break;
      case Kind::Cancel:
        click(kCancel);
        break;
    }
  }
  return out;
}

}  // namespace

PresenterScope::PresenterScope(std::unique_ptr<host::IModalPresenter> presenter) {
  host::Application().SetModalPresenter(std::move(presenter));
}

PresenterScope::~PresenterScope() { host::Application().SetModalPresenter(nullptr); }

void PlayDialogSession(host::TFormDesigner& designer, host::TComponent& namer,
                       const std::vector<ScriptAction>& actions) {
  PresenterScope scope(std::make_unique<host::TScriptedPresenter>(UserActions(actions)));
  host::EditProperty(designer, namer, kListingProperty);
}

}  // namespace designer
