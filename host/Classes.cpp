#include "Classes.h"

#include <algorithm>
#include <unordered_map>

#include "Packages.h"

namespace host {

// ---- TStringList ----

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info{.Name = "TStringList"};
  return info;
}

const std::string& TStringList::Get(int index) const {
  if (index < 0 || index >= Count())
    throw Exception(Format("List index out of bounds (%d)", {std::int64_t{index}}));
  return lines_[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, const std::string& line) {
  Get(index);  // bounds check
  lines_[static_cast<std::size_t>(index)] = line;
}

int TStringList::Add(const std::string& line) {
  lines_.push_back(line);
  return Count() - 1;
}

int TStringList::IndexOf(std::string_view line) const {
  auto it = std::find(lines_.begin(), lines_.end(), line);
  return it == lines_.end() ? -1 : static_cast<int>(it - lines_.begin());
}

// ---- TComponent ----

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info{
      .Name = "TComponent",
      .Create = [](TComponent* owner) -> TComponent* { return new TComponent(owner); },
  };
  return info;
}

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner), parent_(AOwner) {
  static std::uint64_t lastSerial = 0;
  serial_ = ++lastSerial;
  if (owner_) owner_->InsertComponent(*this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // The owned components go all together: nobody looks them up any more.
  names_.clear();
  // Last first, so that each removal from the vector is cheap.
  while (!components_.empty()) delete components_.back();
  if (owner_) owner_->RemoveComponent(*this);
}

TComponent* TComponent::GetComponent(int index) const {
  if (index < 0 || index >= GetComponentCount())
    throw Exception(Format("List index out of bounds (%d)", {std::int64_t{index}}));
  return components_[static_cast<std::size_t>(index)];
}

void TComponent::InsertComponent(TComponent& component) { components_.push_back(&component); }

void TComponent::RemoveComponent(TComponent& component) {
  auto it = std::find(components_.rbegin(), components_.rend(), &component);
  if (it == components_.rend()) return;
  components_.erase(std::next(it).base());
  if (destroying_) return;
  if (!component.name_.empty()) names_.erase(component.name_);
  // Components that stood inside the removed one now stand where it stood.
  for (TComponent* c : components_)
    if (c->parent_ == &component) c->parent_ = component.parent_;
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == name_) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format("'%s' is not a valid component name", {Excerpt(NewName)}));
  // Within an owner, the owner's own name is taken as well as its
  // components' names: a saved form names every object apart.
  auto taken = [&](const TComponent& scope) {
    const TComponent* holder = scope.FindComponent(NewName);
    return (holder && holder != this) || (&scope != this && SameText(scope.name_, NewName));
  };
  if (!NewName.empty() && ((owner_ && taken(*owner_)) || taken(*this)))
    throw EComponentError(Format("A component named %s already exists", {NewName}));
  if (owner_) {
    owner_->RenameOwned(*this, NewName);
  } else {
    name_ = NewName;
  }
  if (owner_ && owner_->observer_) owner_->observer_->ComponentRenamed(*this);
}

void TComponent::RenameOwned(TComponent& component, const std::string& NewName) {
  // The entry views the name, so it leaves the index while the name changes.
  std::string name = NewName;  // the step that may fail, before any change
  if (!component.name_.empty()) names_.erase(component.name_);
  component.name_.swap(name);
  if (!component.name_.empty()) names_.emplace(component.name_, &component);
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  if (AName.empty()) return nullptr;
  auto it = names_.find(AName);
  return it == names_.end() ? nullptr : it->second;
}

// ---- class registry and palette ----

namespace {
struct Registry {
  // The host's own classes are known from the registry's first use on.
  Registry() {
    for (TClass c : HostClasses()) classes.emplace(c->Name, c);
  }
  NameTable<TClass> classes;  // the keys view the classes' own names
  std::vector<TPalettePage> pages;
  // The package that registered each class and each palette entry, so that
  // unloading it takes out what it put there.
  std::unordered_map<TClass, const TLibModule*> classModules;
  struct PaletteEntry {
    std::string page;
    TClass aClass;
    const TLibModule* module;
  };
  std::vector<PaletteEntry> paletteModules;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}
}  // namespace

void RegisterClass(TClass aClass) {
  auto& classes = TheRegistry().classes;
  auto [it, inserted] = classes.emplace(aClass->Name, aClass);
  if (!inserted && it->second != aClass)
    throw EComponentError(Format("A class named %s is already registered", {aClass->Name}));
  if (inserted) TheRegistry().classModules[aClass] = RegisteringModule();
}

void UnRegisterClass(TClass aClass) {
  auto& classes = TheRegistry().classes;
  auto it = classes.find(aClass->Name);
  if (it != classes.end() && it->second == aClass) classes.erase(it);
  TheRegistry().classModules.erase(aClass);
}

TClass GetClass(std::string_view className) {
  auto& classes = TheRegistry().classes;
  auto it = classes.find(className);
  return it == classes.end() ? nullptr : it->second;
}

void RegisterComponents(const std::string& Page, const std::vector<TClass>& ComponentClasses) {
  for (TClass c : ComponentClasses) RegisterClass(c);
  auto& pages = TheRegistry().pages;
  auto page = std::find_if(pages.begin(), pages.end(),
                           [&](const TPalettePage& p) { return p.Name == Page; });
  if (page == pages.end()) page = pages.insert(pages.end(), TPalettePage{Page, {}});
  for (TClass c : ComponentClasses)
    if (std::find(page->Classes.begin(), page->Classes.end(), c) == page->Classes.end()) {
      page->Classes.push_back(c);
      TheRegistry().paletteModules.push_back({Page, c, RegisteringModule()});
    }
}

void UnRegisterComponents(TClass aClass) {
  auto& pages = TheRegistry().pages;
  for (auto& page : pages) std::erase(page.Classes, aClass);
  std::erase_if(pages, [](const TPalettePage& p) { return p.Classes.empty(); });
  std::erase_if(TheRegistry().paletteModules, [&](const auto& e) { return e.aClass == aClass; });
  UnRegisterClass(aClass);
}

void UnRegisterModuleClasses(const TLibModule* module) {
  Registry& registry = TheRegistry();
  // The module's palette entries, also those of classes others registered.
  for (const auto& entry : registry.paletteModules)
    if (entry.module == module)
      for (auto& page : registry.pages)
        if (page.Name == entry.page) std::erase(page.Classes, entry.aClass);
  std::erase_if(registry.pages, [](const TPalettePage& p) { return p.Classes.empty(); });
  std::erase_if(registry.paletteModules, [&](const auto& e) { return e.module == module; });
  // Then its classes, wherever they stand on the palette.
  std::vector<TClass> owned;
  for (const auto& [aClass, owner] : registry.classModules)
    if (owner == module) owned.push_back(aClass);
  for (TClass aClass : owned) UnRegisterComponents(aClass);
}

const std::vector<TPalettePage>& Palette() { return TheRegistry().pages; }

}  // namespace host
