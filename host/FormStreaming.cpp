#include "FormStreaming.h"

#include <absl/container/flat_hash_map.h>
#include <absl/container/inlined_vector.h>
#include <absl/container/node_hash_map.h>
#include <absl/container/node_hash_set.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "FormRewriter.h"
#include "FormText.h"

namespace host {

namespace {

// Each class name a placeholder reports, held once for the process: a large
// form has thousands of components of a few classes the host does not know.
const std::string& SharedClassName(std::string_view name) {
  static absl::node_hash_set<std::string> names;  // nodes: references stay valid
  return *names.emplace(name).first;
}

// A component of a class the host does not know: it reports the stored class
// name and keeps every stored property for writing back.
class TPlaceholderComponent : public TComponent {
 public:
  TPlaceholderComponent(TComponent* owner, std::string_view className)
      : TComponent(owner), className_(&SharedClassName(className)) {}
  const std::string& ClassName() const override { return *className_; }

 private:
  const std::string* className_;
};

// The note of `p`, ready to change: a note is shared between copies of a
// property, so the property gets its own.
FormProperty::ReadNote& EditNote(FormProperty& p) {
  auto note = p.Note ? std::make_shared<FormProperty::ReadNote>(*p.Note)
                     : std::make_shared<FormProperty::ReadNote>();
  FormProperty::ReadNote& editable = *note;
  p.Note = std::move(note);
  return editable;
}

constexpr std::string_view kStringsSuffix = ".Strings";

// The published property a stored property name stands for: the name itself,
// or `X.Strings` for a string-list property X.
const TPropInfo* PublishedFor(const TComponent& c, std::string_view name) {
  if (const TPropInfo* p = c.ClassType()->FindProperty(name)) return p;
  if (!name.ends_with(kStringsSuffix)) return nullptr;
  const TPropInfo* p =
      c.ClassType()->FindProperty(name.substr(0, name.size() - kStringsSuffix.size()));
  return p && p->PropType == TypeInfo<TStringList>() ? p : nullptr;
}

// The string list a property publishes as its object, if it does.
const TStringList* StringsOf(TComponent& c, const TPropInfo& info) {
  return info.GetObject && info.PropType == TypeInfo<TStringList>()
             ? dynamic_cast<const TStringList*>(info.GetObject(c))
             : nullptr;
}

// Takes the items of a list one at a time and tells whether they are those
// strings, in order.
class StringsMatch {
 public:
  explicit StringsMatch(const TStringList& lines) : lines_(lines.Lines()) {}
  bool operator()(const FormValue& item) {
    return seen_ < lines_.size() && item.Kind == FormValueKind::String &&
           item.Text == lines_[seen_++];
  }
  bool AllSeen() const { return seen_ == lines_.size(); }

 private:
  const PackedLines& lines_;
  std::size_t seen_ = 0;
};

// Whether `value` is the list of those strings.
bool SameStrings(const FormValue& value, const TStringList& lines) {
  StringsMatch match(lines);
  return value.Kind == FormValueKind::List && std::ranges::all_of(value.Items, std::ref(match)) &&
         match.AllSeen();
}

// The same of a stored value, read one item at a time: a listing's rows are
// never all held as values.
bool SameStrings(const StoredProperty& p, std::string_view text, const TStringList& lines) {
  StringsMatch match(lines);
  return p.EachListItem(text, std::ref(match)) && match.AllSeen();
}

std::string StoredName(const TPropInfo& p) {
  return p.PropType == TypeInfo<TStringList>() ? p.Name + std::string(kStringsSuffix) : p.Name;
}

class Reader {
 public:
  // Properties read from `text` keep only their spans where they can; with
  // no text they are kept whole.
  Reader(TComponent& root, const std::string& source, bool bindToClass,
         const std::string* text = nullptr)
      : root_(root), source_(source), bind_(bindToClass), text_(text) {}

  void ReadRoot(FormObject& tree) {
    StartRoot(tree);
    TakeProperties(root_, tree);
    for (FormObject& child : tree.Children) ReadChild(root_, child, root_);
    FinishRoot(tree);
  }

  // A child of the root as the text reader hands it over, with the root as
  // read so far.
  void ReadRootChild(FormObject& root, FormObject& child) {
    if (!started_) StartRoot(root);
    TakeProperties(root_, root);
    ReadChild(root_, child, root_);
    if (!sized_ && read_.size() >= kSizingSample) MakeRoomForTheRest(child.Source.End);
  }

  // The root once its `end` is read.
  void FinishRoot(FormObject& root) {
    if (!started_) StartRoot(root);
    TakeProperties(root_, root);
    root_.Stored().EndSource = root.EndSource;
    for (TComponent* c : read_) {
      const std::string_view text = c->Stored().TextView();
      for (StoredProperty& p : c->Stored().Properties()) {
        const TPropInfo* info = PublishedFor(*c, p.Name(text));
        if (FormProperty* whole = p.Whole()) MarkReferences(*c, info, *whole);
        RememberLoadedValue(*c, info, p, text);
      }
    }
  }

 private:
  [[noreturn]] void Fail(SourcePos pos, const std::string& reason) const {
    throw ESourceError(source_, pos, reason);
  }

  // Entering a large form's components one by one, the root's name index
  // grew a dozen times, each time hashing every name again from components
  // spread over the heap: a tenth of reading 100,000 of them. Once a sample
  // is read, the share of the text it took tells how many are to come; a
  // wrong guess costs only room, or the growth there would have been.
  static constexpr std::size_t kSizingSample = 1024;
  void MakeRoomForTheRest(std::uint32_t readUpTo) {
    sized_ = true;
    if (!text_ || readUpTo == 0) return;
    const double share = static_cast<double>(text_->size()) / readUpTo;
    const auto expected = static_cast<std::size_t>(static_cast<double>(read_.size()) * share);
    if (expected <= read_.size()) return;
    root_.ReserveComponents(root_.Components().size() + (expected - read_.size()));
    read_.reserve(expected);
  }

  void StartRoot(const FormObject& root) {
    started_ = true;
    if (!root.Name.empty()) NameRoot(root);
    Start(root_, root);
  }

  // A form built from its class's resource may already have a namesake among
  // its owner's components (two dialogs open at once); it then stays unnamed.
  void NameRoot(const FormObject& tree) {
    if (bind_ && root_.GetOwner() && root_.GetOwner()->FindComponent(tree.Name)) return;
    try {
      root_.SetName(tree.Name);
    } catch (const Exception& e) {
      Fail(tree.Pos, e.Message());
    }
  }

  void Start(TComponent& c, const FormObject& obj) {
    read_.push_back(&c);
    StoredObject& stored = c.Stored();
    stored.Opening = obj.Opening;
    stored.SetIndex(obj.Index);
    stored.Source = obj.Source;
    stored.NameSource = obj.NameSource;
    stored.EndSource = obj.EndSource;
    stored.Text = text_;
  }

  // The component takes the object's properties and keeps them for writing
  // back, most as no more than where their bytes lie in the text.
  void TakeProperties(TComponent& c, FormObject& obj) {
    if (obj.Properties.empty()) return;
    taken_.clear();
    for (FormProperty& p : obj.Properties) {
      ReadProperty(c, p);
      taken_.push_back(Keep(p));
    }
    c.Stored().AddProperties(taken_);
    obj.Properties.clear();
  }

  // Only the spans of a property whose value is all in its bytes; whole, one
  // whose value may name a component, or that bears a note. Only a property
  // kept whole is moved from.
  StoredProperty Keep(FormProperty& p) const {
    const FormValueKind kind = p.Value.Kind;
    if (text_ && !p.Note && p.Source.Known() && p.Value.Source.Begin == p.Source.End &&
        kind != FormValueKind::Identifier && kind != FormValueKind::Collection)
      return StoredProperty::Spans(p);
    return StoredProperty(std::move(p));
  }

  void ReadBody(TComponent& c, FormObject& obj, TComponent& owner) {
    Start(c, obj);
    TakeProperties(c, obj);
    // The components inside an inline object belong to it, not to the form.
    TComponent& childOwner = obj.Opening == FormOpening::Inline ? c : owner;
    for (FormObject& child : obj.Children) ReadChild(c, child, childOwner);
  }

  void ReadChild(TComponent& parent, FormObject& obj, TComponent& owner) {
    TComponent* c = Create(obj, owner);
    c->SetParentComponent(&parent);
    if (!obj.Name.empty()) {
      if (!IsValidIdent(obj.Name))
        Fail(obj.Pos, Format("'%s' is not a valid component name", {Excerpt(obj.Name)}));
      // SetName looks the name up itself: a second look-up only tells why
      // it refused.
      try {
        c->SetName(obj.Name);
      } catch (const EComponentError&) {
        if (owner.FindComponent(obj.Name))
          Fail(obj.Pos, Format("duplicate component name '%s'", {Excerpt(obj.Name)}));
        throw;
      }
      if (bind_) BindField(obj, *c);
    }
    ReadBody(*c, obj, owner);
  }

  TComponent* Create(const FormObject& obj, TComponent& owner) {
    TClass cls = GetClass(obj.ClassName);
    if (!cls || !cls->Create) {
      if (bind_) Fail(obj.Pos, Format("class %s is not registered", {obj.ClassName}));
      return new TPlaceholderComponent(&owner, obj.ClassName);
    }
    try {
      return cls->Create(&owner);
    } catch (const Exception& e) {
      Fail(obj.Pos, e.Message());
    }
  }

  void BindField(const FormObject& obj, TComponent& c) {
    const TFieldInfo* field = root_.ClassType()->FindField(obj.Name);
    if (!field)
      Fail(obj.Pos, Format("%s publishes no field '%s'", {root_.ClassName(), Excerpt(obj.Name)}));
    try {
      field->Bind(root_, c);
    } catch (const Exception& e) {
      Fail(obj.Pos, Format("field '%s': %s", {Excerpt(obj.Name), e.Message()}));
    }
  }

  void ReadProperty(TComponent& c, FormProperty& p) {
    const TPropInfo* info = PublishedFor(c, p.Name);
    if (!info || !info->Set) return;
    // A list read from the text comes without its items (see StreamFormText):
    // a string list takes them one by one, other properties the whole value.
    const bool unread = text_ && p.Value.Kind == FormValueKind::List;
    const bool asLines = unread && info->SetObject && info->PropType == TypeInfo<TStringList>();
    auto readValue = [&] {
      p.Value = ReadFormValueAt(*text_, p.Value.Source.Begin, p.Value.Pos.Line);
    };
    if (unread && !asLines) readValue();
    try {
      if (info->Event) {
        BindEvent(info->Event(c), p);
      } else if (asLines) {
        TStringList lines;
        ReadLines(p.Value, lines);
        info->SetObject(c, lines);
      } else {
        info->Set(c, p.Value);
      }
    } catch (const ESourceError&) {
      throw;
    } catch (const EValueRefused& e) {
      // Another tool's control takes it, so a form file keeps it as written,
      // the control keeping its own value; a resource of ours must be right.
      if (bind_) Fail(p.Value.Pos, Format("%s: %s", {p.Name, e.Message()}));
      if (asLines) readValue();  // kept whole, with its note
      EditNote(p).Refused = e.Message();
    } catch (const Exception& e) {
      Fail(p.Value.Pos, Format("%s: %s", {p.Name, e.Message()}));
    }
  }

  // Adds the strings of the list `value` stands for, read from the text.
  void ReadLines(const FormValue& value, TStringList& lines) const {
    lines.SetCapacity(
        static_cast<int>(CountListItemsAt(*text_, value.Source.Begin, value.Pos.Line)));
    EachListItemAt(*text_, value.Source.Begin, value.Pos.Line, [&](const FormValue& item) {
      lines.Add(StringOf(item));
      return true;
    });
  }

  void BindEvent(TEventHandler& slot, const FormProperty& p) {
    slot = TEventHandler(IdentifierOf(p.Value));
    if (!bind_) return;
    const TMethodInfo* method = root_.ClassType()->FindMethod(slot.Name());
    if (!method)
      Fail(p.Value.Pos,
           Format("%s publishes no handler '%s'", {root_.ClassName(), Excerpt(slot.Name())}));
    slot.Bind([root = &root_, method](TObject* sender) { method->Invoke(*root, sender); });
  }

  // A published property refers to a component only when its type is a
  // component reference (an enumeration value or True may happen to be a
  // component's name too). Of a property the class does not publish, a value
  // that is a plain identifier naming a component refers to it
  // (PopupMenu = PopupMenu1), also inside collection items; handler names
  // and True and False do not.
  void MarkReferences(const TComponent& c, const TPropInfo* info, FormProperty& p) {
    if (info) {
      if (IsComponentReference(*info)) MarkReference(c, p.Value);
    } else {
      MarkUnknownReferences(c, p);
    }
  }

  void MarkUnknownReferences(const TComponent& c, FormProperty& p) {
    if (IsHandlerName(p.Name)) return;
    FormValue& v = p.Value;
    if (v.Kind == FormValueKind::Identifier && !SameText(v.Text, "True") &&
        !SameText(v.Text, "False")) {
      MarkReference(c, v);
    } else if (v.Kind == FormValueKind::Collection) {
      for (FormCollectionItem& item : v.Collection)
        for (FormProperty& inner : item.Properties) MarkUnknownReferences(c, inner);
    }
  }

  // A name is looked up among the components of the one that owns `c` (an
  // inline frame for its own controls), then further out up to the form.
  void MarkReference(const TComponent& c, FormValue& v) const {
    if (v.Kind != FormValueKind::Identifier) return;
    for (const TComponent* scope = &c == &root_ ? &root_ : c.GetOwner(); scope;
         scope = scope == &root_ ? nullptr : scope->GetOwner())
      if (const TComponent* target = scope->FindComponent(v.Text)) {
        v.ComponentRef = target->Serial();
        return;
      }
  }

  static bool IsComponentReference(const TPropInfo& info) {
    if (info.PropType->Kind != TTypeKind::Class) return false;
    const TClass cls = GetClass(info.PropType->Name);
    return cls && cls->InheritsFrom(&TComponent::StaticClass());
  }

  // Taken once the whole form is read, since a value may depend on others;
  // kept only where it differs from the file's, which already tells.
  static void RememberLoadedValue(TComponent& c, const TPropInfo* info, StoredProperty& p,
                                  std::string_view text) {
    if (!info || !info->Get || info->AlwaysStored) return;
    // Most values are numbers the control took as written: no FormValue of
    // them is made.
    if (info->GetInteger && p.IsWrittenAs(info->GetInteger(c), text)) return;
    if (FormValue loaded = info->Get(c); !p.ValueIs(loaded, text))
      EditNote(p.Edit(text)).Loaded = std::move(loaded);
  }

  static bool IsHandlerName(std::string_view property) {
    std::string_view last = property.substr(property.rfind('.') + 1);
    return last.size() > 2 && last.starts_with("On") && last[2] >= 'A' && last[2] <= 'Z';
  }

  TComponent& root_;
  const std::string& source_;
  bool bind_;
  const std::string* text_;
  bool started_ = false;
  bool sized_ = false;
  std::vector<TComponent*> read_;
  // One object's properties on their way to it, in room used again.
  std::vector<StoredProperty> taken_;
};

// A form's live components as the lossless writer takes them, and as the
// tree WriteComponents gives: each component with its stored properties in
// their order, published ones with their current values.
class Writer {
 public:
  using Node = TComponent*;

  explicit Writer(TComponent& root) : root_(root) { Collect(root); }

  // What the rewriter writes of a component: its stored properties as they
  // are, where they are unchanged (most, in a large form), and new values
  // and properties beside them.
  struct WrittenMembers {
    // A constructor, not braces: value-initializing the whole record would
    // clear its inline room for the properties, 300 bytes per component.
    WrittenMembers(std::string_view name, const StoredObject& stored)
        : Name(name),
          Source(stored.Source),
          NameSource(stored.NameSource),
          EndSource(stored.EndSource) {}
    std::string_view Name;
    SourceSpan Source, NameSource, EndSource;
    // Most components store a few properties: a form's hundred thousand
    // components take no allocation each.
    absl::InlinedVector<formtext::WrittenProperty, 8> Properties;
    std::vector<std::unique_ptr<FormProperty>> Made;
  };

  // With `whole`, every property comes whole, none as only its spans.
  WrittenMembers Members(TComponent* c, bool whole = false) const {
    const StoredObject& stored = c->Stored();
    const std::string_view text = stored.TextView();
    WrittenMembers m(c->GetName(), stored);
    m.Properties.reserve(stored.Properties().size());
    auto made = [&m](FormProperty p) {
      m.Made.push_back(std::make_unique<FormProperty>(std::move(p)));
      m.Properties.push_back({m.Made.back().get()});
    };
    auto kept = [&](const StoredProperty& p) {
      if (whole && !p.Whole()) return made(p.Read(text));
      m.Properties.push_back({p.Whole(), p.Source(), p.ValueSource()});
    };
    // A string list is compared and written from its lines, not through a
    // FormValue copy of each (a form's listing may hold 100,000).
    auto strings = [&](const TStringList& lines, FormProperty named) {
      m.Made.push_back(std::make_unique<FormProperty>(std::move(named)));
      m.Properties.push_back({m.Made.back().get(), {}, {}, &lines.Lines()});
    };
    auto stringsOf = [&](const TPropInfo& info) { return whole ? nullptr : StringsOf(*c, info); };
    // A class publishes few properties: a list is cheaper than a set here.
    absl::InlinedVector<const TPropInfo*, 8> written;
    for (const StoredProperty& p : stored.Properties()) {
      const TPropInfo* info = PublishedFor(*c, p.Name(text));
      if (info && info->Get) {
        written.push_back(info);
        // An unchanged value keeps its spelling in the file ($10, TRUE, a
        // value the control did not take); a property that is always stored
        // keeps it only while its value is the one the file gives.
        const FormValue* loaded = p.Loaded();
        const bool loadedCounts = !info->AlwaysStored && loaded;
        if (const TStringList* lines = stringsOf(*info)) {
          if (SameStrings(p, text, *lines) || (loadedCounts && SameStrings(*loaded, *lines)))
            kept(p);
          else
            strings(*lines, p.Unvalued(text));
          continue;
        }
        // Most values are numbers, as written: no FormValue of them is made.
        if (info->GetInteger && p.IsWrittenAs(info->GetInteger(*c), text)) {
          kept(p);
          continue;
        }
        FormValue current = info->Get(*c);
        if (p.ValueIs(current, text) || (loadedCounts && current == *loaded)) {
          kept(p);
        } else {
          FormProperty changed = p.Unvalued(text);
          changed.Value = std::move(current);
          made(std::move(changed));
        }
      } else if (const FormProperty* read = p.Whole(); read && Renamed(read->Value)) {
        FormProperty resolved = *read;
        Resolve(resolved.Value);
        made(std::move(resolved));
      } else {
        kept(p);
      }
    }
    for (const TPropInfo* info : AlwaysStored(c->ClassType())) {
      if (std::ranges::find(written, info) != written.end()) continue;
      FormProperty added{StoredName(*info), {}, {}};
      if (const TStringList* lines = stringsOf(*info)) {
        strings(*lines, std::move(added));
        continue;
      }
      added.Value = info->Get(*c);
      made(std::move(added));
    }
    return m;
  }

  FormObject Whole(TComponent* c) const {
    const StoredObject& stored = c->Stored();
    FormObject obj;
    obj.Opening = stored.Opening;
    obj.Index = stored.Index();
    obj.Name = c->GetName();
    obj.ClassName = c->ClassName();
    obj.Source = stored.Source;
    obj.NameSource = stored.NameSource;
    obj.EndSource = stored.EndSource;
    const WrittenMembers members = Members(c, /*whole=*/true);
    for (const formtext::WrittenProperty& p : members.Properties)
      obj.Properties.push_back(*p.Whole);
    const std::size_t n = ChildCount(c);
    obj.Children.reserve(n);
    for (std::size_t i = 0; i < n; ++i) obj.Children.push_back(Whole(Child(c, i)));
    return obj;
  }

  std::size_t ChildCount(TComponent* c) const {
    const std::vector<TComponent*>* children = ChildrenOf(c);
    return children ? children->size() : 0;
  }
  // The rewriter asks for the children in turn.
  TComponent* Child(TComponent* c, std::size_t i) const {
    const std::vector<TComponent*>& children = *ChildrenOf(c);
    PrefetchAhead(children, i);
    return children[i];
  }
  SourceSpan Source(TComponent* c) const { return c->Stored().Source; }

 private:
  // Groups every component of the tree under the component it stands in.
  // Components mostly follow others of the same parent: its group is looked
  // up only when the parent changes.
  void Collect(TComponent& owner) {
    const TComponent* parent = nullptr;
    std::vector<TComponent*>* group = nullptr;
    const std::vector<TComponent*>& components = owner.Components();
    for (std::size_t i = 0; i < components.size(); ++i) {
      TComponent* c = components[i];
      PrefetchAhead(components, i);
      if (!group || c->GetParentComponent() != parent) {
        parent = c->GetParentComponent();
        group = &inside_[parent];
        // Most components stand in the owner itself: its group takes room
        // for them all at once, as growing by doubling would hold the old
        // and the new array together at its last step.
        if (parent == &owner && group->empty()) group->reserve(owner.Components().size());
      }
      group->push_back(c);
      if (c->Stored().Opening == FormOpening::Inline) {
        Collect(*c);
        group = nullptr;  // the nested groups may have moved it
      }
    }
  }

  // The components standing in `c`, or null. The last group found is kept:
  // the rewriter asks for one component's children in turn, between them
  // only for components that hold none.
  const std::vector<TComponent*>* ChildrenOf(const TComponent* c) const {
    if (c == lastParent_ && lastChildren_) return lastChildren_;
    const auto it = inside_.find(c);
    if (it == inside_.end()) return nullptr;
    lastParent_ = c;
    lastChildren_ = &it->second;
    return lastChildren_;
  }

  // The published properties of a class that are written whatever their
  // value, ancestors' first; most classes have none. Found once per class.
  const std::vector<const TPropInfo*>& AlwaysStored(TClass cls) const {
    const auto found = alwaysStored_.try_emplace(cls);
    std::vector<const TPropInfo*>& stored = found.first->second;
    if (found.second)
      cls->ForEachProperty([&](const TPropInfo& info) {
        if (info.AlwaysStored && info.Get) stored.push_back(&info);
      });
    return stored;
  }

  // The component of that serial number in the tree, if it is still
  // there. The table is made at the first reference asked for: most
  // components refer to none.
  const TComponent* BySerial(std::uint64_t serial) const {
    if (bySerial_.empty()) {
      bySerial_[root_.Serial()] = &root_;
      for (const auto& [parent, children] : inside_)
        for (const TComponent* c : children) bySerial_[c->Serial()] = c;
    }
    const auto it = bySerial_.find(serial);
    return it == bySerial_.end() ? nullptr : it->second;
  }

  // Whether a reference in `v` names a component that has been renamed.
  bool Renamed(const FormValue& v) const {
    if (v.ComponentRef) {
      if (const TComponent* target = BySerial(v.ComponentRef);
          target && target->GetName() != v.Text)
        return true;
    }
    for (const FormCollectionItem& item : v.Collection)
      for (const FormProperty& p : item.Properties)
        if (Renamed(p.Value)) return true;
    return false;
  }

  // A reference is written with the current name of the component it
  // named; one to a component that is gone keeps the name it was read with.
  void Resolve(FormValue& v) const {
    if (v.ComponentRef) {
      if (const TComponent* target = BySerial(v.ComponentRef)) v.Text = target->GetName();
    }
    for (FormCollectionItem& item : v.Collection)
      for (FormProperty& p : item.Properties) Resolve(p.Value);
  }

  TComponent& root_;
  absl::flat_hash_map<const TComponent*, std::vector<TComponent*>> inside_;
  mutable const TComponent* lastParent_ = nullptr;
  mutable const std::vector<TComponent*>* lastChildren_ = nullptr;
  // Nodes: a class's entry stays where it is while later classes are added.
  mutable absl::node_hash_map<TClass, std::vector<const TPropInfo*>> alwaysStored_;
  mutable absl::flat_hash_map<std::uint64_t, const TComponent*> bySerial_;
};

}  // namespace

void ReadComponents(TComponent& root, FormObject tree, const std::string& source,
                    bool bindToClass) {
  Reader(root, source, bindToClass).ReadRoot(tree);
}

FormDocument ReadComponentsFromText(TComponent& root, std::shared_ptr<const std::string> text,
                                    const std::string& source) {
  Reader reader(root, source, /*bindToClass=*/false, text.get());
  FormDocument document = StreamFormText(
      std::move(text), source,
      [&](FormObject& tree, FormObject& child) { reader.ReadRootChild(tree, child); });
  reader.FinishRoot(document.Root);
  return document;
}

FormObject WriteComponents(TComponent& root) { return Writer(root).Whole(&root); }

std::string RewriteComponents(TComponent& root, std::string_view source,
                              const FormTextStyle& style) {
  std::string text;
  RewriteComponents(root, source, style, [&](std::string_view piece) { text += piece; });
  return text;
}

void RewriteComponents(TComponent& root, std::string_view source, const FormTextStyle& style,
                       const TextSink& sink) {
  Writer writer(root);
  if (!root.Stored().Source.Known()) return sink(FormatFormText(writer.Whole(&root), style));
  formtext::Rewriter(writer, source, style).Write(&root, sink);
}

const FormProperty* RefusedValue(const TComponent& c, const TPropInfo& info) {
  const std::string_view text = c.Stored().TextView();
  for (const StoredProperty& p : c.Stored().Properties())
    if (!p.Refused().empty() && PublishedFor(c, p.Name(text)) == &info) return p.Whole();
  return nullptr;
}

}  // namespace host
