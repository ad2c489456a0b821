#pragma once
// The component model: components and their owners, string lists, the class
// registry and the component palette.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include "FormTree.h"
#include "PackedLines.h"
#include "StoredObject.h"
#include "System.h"
#include "TypInfo.h"

namespace host {

// Raised when a component name is refused.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// Ordered lines of text, never sorted. A line may hold any byte, tabs
// included; it is read as a view, valid until the list next changes.
class TStringList : public TObject {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  int Count() const { return static_cast<int>(lines_.size()); }
  std::string_view Get(int index) const;
  std::string_view operator[](int index) const { return Get(index); }
  void Put(int index, std::string_view line);
  int Add(std::string_view line);
  // Keeps the room the lines took, for a list about to be refilled.
  void Clear() { lines_.Clear(); }
  // Room for `count` lines of `chars` characters in all, so that filling the
  // list to that size moves nothing.
  void SetCapacity(int count, std::size_t chars = 0) {
    lines_.Reserve(static_cast<std::size_t>(count), chars);
  }
  void Assign(const TStringList& source) { lines_ = source.lines_; }
  // Moves line i to index `to[i]`, for every i, where `to` names each index
  // once; all lines move in one step, with no copy of their characters.
  void Reorder(const std::vector<std::uint32_t>& to);
  int IndexOf(std::string_view line) const;

  const PackedLines& Lines() const { return lines_; }
  PackedLines::const_iterator begin() const { return lines_.begin(); }
  PackedLines::const_iterator end() const { return lines_.end(); }
  // A copy of the lines, to compare or keep apart from the list.
  std::vector<std::string> Copy() const { return {begin(), end()}; }
  void SetLines(const std::vector<std::string>& lines);

 private:
  PackedLines lines_;
};

// Adds the strings of `value`, a list of strings as a string-list property
// is stored, to `lines`; raises EValueRefused for any other value.
void AddLinesOf(TStringList& lines, const FormValue& value);

// A table keyed by names without regard to case; each key views a name held
// elsewhere, which must outlive its entry.
template <class Value>
using NameTable = absl::flat_hash_map<std::string_view, Value, TextHashNoCase, TextEqualNoCase>;

class TComponent;

// Told about changes to components; the designer of an open form listens
// here to learn of renames.
class IComponentObserver {
 public:
  virtual ~IComponentObserver() = default;
  // `component` was called `oldName` until now.
  virtual void ComponentRenamed(TComponent& component, const std::string& oldName) = 0;
};

class TComponent : public TObject {
 public:
  static const TClassInfo& StaticClass();
  TClass ClassType() const override { return &StaticClass(); }

  // Enters the new component into its owner's components; the owner then
  // destroys it when it is destroyed itself.
  explicit TComponent(TComponent* AOwner);
  // Destroys the owned components and takes this one out of its owner.
  ~TComponent() override;

  TComponent* GetOwner() const { return owner_; }
  int GetComponentCount() const { return static_cast<int>(Components().size()); }
  TComponent* GetComponent(int index) const;
  const std::vector<TComponent*>& Components() const;
  // Makes room for `count` owned components in all, so that entering that
  // many grows the list and the name index once.
  void ReserveComponents(std::size_t count);

  const std::string& GetName() const { return name_; }
  // Unique in the process for the component's life and never reused.
  std::uint64_t Serial() const { return serial_; }
  // Accepts the current name (in any letter case) and the empty name; refuses
  // a text that is not an identifier, or a name another component of the
  // same owner holds (compared without regard to case), changing nothing.
  virtual void SetName(const std::string& NewName);
  // The owned component of that name, compared without regard to case; never
  // finds the empty name.
  TComponent* FindComponent(std::string_view AName) const;

  // The component this one stands inside of in a form file (a control's
  // parent panel); the owner when it stands directly in the form.
  TComponent* GetParentComponent() const { return parent_; }
  void SetParentComponent(TComponent* parent) { parent_ = parent; }

  // What a form file held for this component besides its name, class and
  // children: how its object opened, its index, and its properties in their
  // order there. Published properties are served by the class's table when
  // written back; the others are kept as read.
  StoredObject& Stored() { return stored_; }
  const StoredObject& Stored() const { return stored_; }

  // One observer at a time, of the components this one owns.
  void SetObserver(IComponentObserver* observer);
  IComponentObserver* GetObserver() const { return owned_ ? owned_->Observer : nullptr; }

 private:
  void InsertComponent(TComponent& component);
  void RemoveComponent(TComponent& component);
  // Gives `component`, owned by this one, the name `NewName` in the index
  // and in itself; refuses, changing nothing, a name another component of
  // this one holds.
  void RenameOwned(TComponent& component, const std::string& NewName);

  TComponent* owner_ = nullptr;
  std::uint64_t serial_;
  TComponent* parent_ = nullptr;
  std::string name_;
  // Owned components keyed by their names without regard to case: the
  // table holds only the pointers and looks names up in the components, so a
  // look-up allocates nothing and a rename moves its one entry. A flat table:
  // a look-up in a form of 100,000 components touches two or three cache
  // lines instead of a chain of nodes.
  struct NameOf {
    static std::string_view Key(std::string_view name) { return name; }
    static std::string_view Key(const TComponent* c) { return c->name_; }
  };
  struct NameHash : NameOf {
    using is_transparent = void;
    template <class K>
    std::size_t operator()(const K& k) const {
      return TextHashNoCase{}(Key(k));
    }
  };
  struct NameEqual : NameOf {
    using is_transparent = void;
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return SameText(Key(a), Key(b));
    }
  };
  // What an owner holds; most components own nothing, and keep only the
  // null pointer.
  struct Owned {
    std::vector<TComponent*> Components;
    absl::flat_hash_set<TComponent*, NameHash, NameEqual> Names;
    IComponentObserver* Observer = nullptr;
    std::size_t RenamesSinceGrowth = 0;
    bool Destroying = false;
  };
  std::unique_ptr<Owned> owned_;
  StoredObject stored_;
};

// Asks memory for the start of the component that a walk over `components`
// reaches a few steps after index `i` (its name, owner, parent and what its
// file stored): a walk over a large form's components, which lie apart in
// memory, otherwise waits at each one.
inline void PrefetchAhead(const std::vector<TComponent*>& components, std::size_t i) {
  constexpr std::size_t kAhead = 8;  // far enough for memory to answer in time
  if (i + kAhead >= components.size()) return;
  const char* start = reinterpret_cast<const char*>(components[i + kAhead]);
  __builtin_prefetch(start);
  __builtin_prefetch(start + 64);
}

// The class registry: creates components from class names read from form
// files and resources. A registration made while a package starts is undone
// when the package goes (see RegistrationLog.h).
void RegisterClass(TClass aClass);
void UnRegisterClass(TClass aClass);
TClass GetClass(std::string_view className);  // nullptr when unknown

// Keeps a class registered while it lives: a library's static object beside
// the class's description, so that the class is known while the library is
// loaded.
class TClassRegistration {
 public:
  explicit TClassRegistration(TClass aClass) : class_(aClass) { RegisterClass(aClass); }
  ~TClassRegistration() { UnRegisterClass(class_); }
  TClassRegistration(const TClassRegistration&) = delete;
  TClassRegistration& operator=(const TClassRegistration&) = delete;

 private:
  TClass class_;
};

// The component palette: pages in the order they were first registered,
// classes of a page in registration order. Registering a component class also
// enters it into the class registry.
struct TPalettePage {
  std::string Name;
  std::vector<TClass> Classes;
};
void RegisterComponents(const std::string& Page, const std::vector<TClass>& ComponentClasses);
void UnRegisterComponents(TClass aClass);
const std::vector<TPalettePage>& Palette();

}  // namespace host
