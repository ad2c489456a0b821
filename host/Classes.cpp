#include "Classes.h"

#include <algorithm>

#include "RegistrationLog.h"

namespace host {

// ---- TStringList ----

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info{.Name = "TStringList"};
  return info;
}

std::string_view TStringList::Get(int index) const {
  if (index < 0 || index >= Count())
    throw Exception(Format("List index out of bounds (%d)", {std::int64_t{index}}));
  return lines_[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, std::string_view line) {
  Get(index);  // bounds check
  lines_.Put(static_cast<std::size_t>(index), line);
}

int TStringList::Add(std::string_view line) {
  lines_.Add(line);
  return Count() - 1;
}

void TStringList::SetLines(const std::vector<std::string>& lines) {
  std::size_t chars = 0;
  for (const std::string& line : lines) chars += line.size();
  Clear();
  SetCapacity(static_cast<int>(lines.size()), chars);
  for (const std::string& line : lines) Add(line);
}

void AddLinesOf(TStringList& lines, const FormValue& value) {
  const std::vector<FormValue>& items = ListOf(value);
  lines.SetCapacity(lines.Count() + static_cast<int>(items.size()));
  for (const FormValue& item : items) lines.Add(StringOf(item));
}

void TStringList::Reorder(const std::vector<std::uint32_t>& to) {
  // Checked whole before any line moves.
  const auto refuse = [] { throw Exception("Reorder needs each index of the list once"); };
  if (to.size() != lines_.size()) refuse();
  std::vector<bool> named(to.size());
  for (const std::uint32_t index : to) {
    if (index >= named.size() || named[index]) refuse();
    named[index] = true;
  }
  lines_.Permute(to);
}

int TStringList::IndexOf(std::string_view line) const {
  auto it = std::find(begin(), end(), line);
  return it == end() ? -1 : static_cast<int>(it.Index());
}

// ---- TComponent ----

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info{
      .Name = "TComponent",
      .Create = NewComponent<TComponent>,
  };
  return info;
}

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner), parent_(AOwner) {
  static std::uint64_t lastSerial = 0;
  serial_ = ++lastSerial;
  if (owner_) owner_->InsertComponent(*this);
}

TComponent::~TComponent() {
  if (owned_) {
    owned_->Destroying = true;
    // The owned components go all together: nobody looks them up any more.
    owned_->Names.clear();
    // Last first, so that each removal from the vector is cheap.
    while (!owned_->Components.empty()) delete owned_->Components.back();
  }
  if (owner_) owner_->RemoveComponent(*this);
}

const std::vector<TComponent*>& TComponent::Components() const {
  static const std::vector<TComponent*> none;
  return owned_ ? owned_->Components : none;
}

TComponent* TComponent::GetComponent(int index) const {
  if (index < 0 || index >= GetComponentCount())
    throw Exception(Format("List index out of bounds (%d)", {std::int64_t{index}}));
  return owned_->Components[static_cast<std::size_t>(index)];
}

void TComponent::SetObserver(IComponentObserver* observer) {
  if (!owned_) owned_ = std::make_unique<Owned>();
  owned_->Observer = observer;
}

void TComponent::ReserveComponents(std::size_t count) {
  if (!owned_) owned_ = std::make_unique<Owned>();
  owned_->Components.reserve(count);
  owned_->Names.reserve(count);
}

void TComponent::InsertComponent(TComponent& component) {
  if (!owned_) owned_ = std::make_unique<Owned>();
  owned_->Components.push_back(&component);
}

void TComponent::RemoveComponent(TComponent& component) {
  std::vector<TComponent*>& components = owned_->Components;
  auto it = std::find(components.rbegin(), components.rend(), &component);
  if (it == components.rend()) return;
  components.erase(std::next(it).base());
  if (owned_->Destroying) return;
  if (!component.name_.empty()) owned_->Names.erase(&component);
  // Components that stood inside the removed one now stand where it stood.
  for (TComponent* c : components)
    if (c->parent_ == &component) c->parent_ = component.parent_;
}

namespace {
EComponentError NameTaken(const std::string& name) {
  return EComponentError(Format("A component named %s already exists", {name}));
}
}  // namespace

void TComponent::SetName(const std::string& NewName) {
  if (NewName == name_) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format("'%s' is not a valid component name", {Excerpt(NewName)}));
  // Within an owner, the owner's own name is taken as well as its
  // components' names (which the owner's index checks as the name enters
  // it): a saved form names every object apart.
  if (!NewName.empty() && (FindComponent(NewName) || (owner_ && SameText(owner_->name_, NewName))))
    throw NameTaken(NewName);
  IComponentObserver* observer = owner_ ? owner_->GetObserver() : nullptr;
  const std::string oldName = observer ? name_ : std::string();
  if (owner_) {
    owner_->RenameOwned(*this, NewName);
  } else {
    name_ = NewName;
  }
  if (observer) observer->ComponentRenamed(*this, oldName);
}

void TComponent::RenameOwned(TComponent& component, const std::string& NewName) {
  std::string name = NewName;  // the step that may fail, before any change
  Owned& owned = *owned_;
  if (component.name_.empty()) {
    // A first name, as a form is read: one probe finds a namesake or the
    // place of the entry, which is made there just before the name it is
    // found by.
    bool entered = false;
    owned.Names.lazy_emplace(std::string_view(name), [&](const auto& enter) {
      enter(&component);
      entered = true;
    });
    if (!entered) throw NameTaken(NewName);
    component.name_.swap(name);
    return;
  }
  if (const TComponent* holder = FindComponent(name); holder && holder != &component)
    throw NameTaken(NewName);
  // In a crowded table a rename leaves a tombstone where the old name stood,
  // and once tombstones take the spare room the table rehashes every name in
  // place: a session renaming thousands of components paid that over and
  // over. After renames as many as an eighth of the names the table gets
  // twice the room, where erasing leaves almost no tombstones; renaming one
  // block of a large form stays within the table it was read into. A first
  // name leaves nothing behind and is not counted.
  if (++owned.RenamesSinceGrowth > owned.Names.size() / 8 + 64 &&
      owned.Names.capacity() < owned.Names.size() * 2) {
    owned.Names.reserve(owned.Names.size() * 2);
    owned.RenamesSinceGrowth = 0;
  }
  // The entry is found by the name, so it leaves the index while the name
  // changes.
  owned.Names.erase(&component);
  component.name_.swap(name);
  if (!component.name_.empty()) owned.Names.insert(&component);
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  if (AName.empty() || !owned_) return nullptr;
  auto it = owned_->Names.find(AName);
  return it == owned_->Names.end() ? nullptr : *it;
}

// ---- class registry and palette ----

namespace {
struct Registry {
  NameTable<TClass> Classes;  // the keys view the classes' own names
  std::vector<TPalettePage> Pages;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// Takes `aClass` off the pages that `onPage` picks; a page left empty goes.
template <class PagePredicate>
void TakeOffPalette(TClass aClass, PagePredicate onPage) {
  auto& pages = TheRegistry().Pages;
  for (auto& page : pages)
    if (onPage(page)) std::erase(page.Classes, aClass);
  std::erase_if(pages, [](const TPalettePage& p) { return p.Classes.empty(); });
}
}  // namespace

void RegisterClass(TClass aClass) {
  auto& classes = TheRegistry().Classes;
  auto [it, inserted] = classes.emplace(aClass->Name, aClass);
  if (!inserted && it->second != aClass)
    throw EComponentError(Format("A class named %s is already registered", {aClass->Name}));
  // Undone wherever the class then stands on the palette.
  if (inserted) RecordRegistration([aClass] { UnRegisterComponents(aClass); });
}

void UnRegisterClass(TClass aClass) {
  auto& classes = TheRegistry().Classes;
  auto it = classes.find(aClass->Name);
  if (it != classes.end() && it->second == aClass) classes.erase(it);
}

TClass GetClass(std::string_view className) {
  auto& classes = TheRegistry().Classes;
  auto it = classes.find(className);
  return it == classes.end() ? nullptr : it->second;
}

void RegisterComponents(const std::string& Page, const std::vector<TClass>& ComponentClasses) {
  for (TClass c : ComponentClasses) RegisterClass(c);
  auto& pages = TheRegistry().Pages;
  auto page = std::find_if(pages.begin(), pages.end(),
                           [&](const TPalettePage& p) { return p.Name == Page; });
  if (page == pages.end()) page = pages.insert(pages.end(), TPalettePage{Page, {}});
  for (TClass c : ComponentClasses)
    if (std::find(page->Classes.begin(), page->Classes.end(), c) == page->Classes.end()) {
      page->Classes.push_back(c);
      RecordRegistration(
          [Page, c] { TakeOffPalette(c, [&](const TPalettePage& p) { return p.Name == Page; }); });
    }
}

void UnRegisterComponents(TClass aClass) {
  TakeOffPalette(aClass, [](const TPalettePage&) { return true; });
  UnRegisterClass(aClass);
}

const std::vector<TPalettePage>& Palette() { return TheRegistry().Pages; }

}  // namespace host
