#include "GeneratedForm.h"

#include <array>
#include <set>

#include "CNamer.h"

namespace bench {

namespace {

constexpr std::array kHostClasses = {"TButton", "TEdit",     "TLabel",      "TListBox",
                                     "TBitBtn", "TSpinEdit", "TSpeedButton"};

// A component of a class the host does not know, as the reader makes one:
// the instances of a class share one copy of its name.
class TUnknownComponent : public host::TComponent {
 public:
  TUnknownComponent(host::TComponent* owner, const std::string& className)
      : host::TComponent(owner), className_(&SharedName(className)) {}
  const std::string& ClassName() const override { return *className_; }

 private:
  static const std::string& SharedName(const std::string& name) {
    static std::set<std::string> names;  // nodes: the names stay where they are
    return *names.insert(name).first;
  }

  const std::string* className_;
};

}  // namespace

std::string ClassNameOf(int classIndex) {
  if (classIndex < static_cast<int>(kHostClasses.size())) return kHostClasses[classIndex];
  return "TKind" + std::to_string(classIndex);
}

std::string GeneratedFormText(int components, int classes) {
  std::string text = "object BigForm: TBigForm\n  Caption = 'Generated'\n";
  text.reserve(static_cast<std::size_t>(components) * 64);
  for (int i = 0; i < components; ++i) {
    const std::string index = std::to_string(i);
    text += "  object C" + index + ": " + ClassNameOf(i % classes) +
            "\n    Left = " + std::to_string(i % 600) +
            "\n    Top = " + std::to_string(i / 600 * 24) + "\n  end\n";
  }
  return text + "  object ComponentNamer1: TComponentNamer\n  end\nend\n";
}

std::unique_ptr<host::TForm> GeneratedForm(int components, int classes) {
  auto form = std::make_unique<host::TForm>(nullptr);
  form->SetName("BigForm");
  for (int i = 0; i < components; ++i) {
    const std::string className = ClassNameOf(i % classes);
    host::TClass known = host::GetClass(className);
    host::TComponent* c =
        known ? known->Create(form.get()) : new TUnknownComponent(form.get(), className);
    c->SetName("C" + std::to_string(i));
  }
  (new cnamer::TComponentNamer(form.get()))->SetName("ComponentNamer1");
  return form;
}

}  // namespace bench
