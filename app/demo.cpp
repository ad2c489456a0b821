// Builds the example form in code (Button1, Edit1, Button2), places a namer
// on it and prints the namer's listing with each tab shown as "→".
#include <iostream>

#include "CNamer.h"
#include "Forms.h"
#include "StdCtrls.h"

int main() {
  host::TForm form(nullptr);
  form.SetName("Form1");
  (new host::TButton(&form))->SetName("Button1");
  (new host::TEdit(&form))->SetName("Edit1");
  (new host::TButton(&form))->SetName("Button2");
  (new CNamer::TComponentNamer(&form))->SetName("ComponentNamer1");

  auto* namer = form.FindComponent("ComponentNamer1");
  std::cout << "Componenter of " << namer->GetName() << " on " << form.GetName() << ":\n";
  for (const std::string& line : namer->As<CNamer::TComponentNamer>().GetFComponentList().Lines()) {
    std::string shown;
    for (char c : line) shown += c == '\t' ? std::string("→   ") : std::string(1, c);
    std::cout << "  " << shown << '\n';
  }
}
