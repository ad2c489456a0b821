#include "FormStreaming.h"

#include <absl/container/flat_hash_map.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "FormText.h"

namespace host {

namespace {

// A component of a class the host does not know: it reports the stored class
// name and keeps every stored property for writing back.
class TPlaceholderComponent : public TComponent {
 public:
  TPlaceholderComponent(TComponent* owner, std::string className)
      : TComponent(owner), className_(std::move(className)) {}
  std::string ClassName() const override { return className_; }

 private:
  std::string className_;
};

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

std::string StoredName(const TPropInfo& p) {
  return p.PropType == TypeInfo<TStringList>() ? p.Name + std::string(kStringsSuffix) : p.Name;
}

class Reader {
 public:
  Reader(TComponent& root, const std::string& source, bool bindToClass)
      : root_(root), source_(source), bind_(bindToClass) {}

  void ReadRoot(FormObject& tree) {
    if (!tree.Name.empty()) NameRoot(tree);
    ReadBody(root_, tree, root_);
    for (TComponent* c : read_)
      for (FormProperty& p : c->Stored().Properties) {
        const TPropInfo* info = PublishedFor(*c, p.Name);
        MarkReferences(*c, info, p);
        RememberLoadedValue(*c, info, p);
      }
  }

 private:
  [[noreturn]] void Fail(SourcePos pos, const std::string& reason) const {
    throw ESourceError(source_, pos, reason);
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

  // The tree's properties move into the component, which keeps them for
  // writing back: a large form is not held twice.
  void ReadBody(TComponent& c, FormObject& obj, TComponent& owner) {
    read_.push_back(&c);
    FormObject& stored = c.Stored();
    stored.opening = obj.opening;
    stored.Index = obj.Index;
    stored.Source = obj.Source;
    stored.NameSource = obj.NameSource;
    stored.EndSource = obj.EndSource;
    std::vector<FormProperty>& properties = stored.Properties;
    const std::size_t first = properties.size();
    if (first == 0) {
      properties = std::move(obj.Properties);
    } else {
      properties.insert(properties.end(), std::make_move_iterator(obj.Properties.begin()),
                        std::make_move_iterator(obj.Properties.end()));
    }
    for (std::size_t i = first; i < properties.size(); ++i) ReadProperty(c, properties[i]);
    // The components inside an inline object belong to it, not to the form.
    TComponent& childOwner = obj.opening == FormObject::Opening::Inline && &c != &root_ ? c : owner;
    for (FormObject& child : obj.Children) ReadChild(c, child, childOwner);
  }

  void ReadChild(TComponent& parent, FormObject& obj, TComponent& owner) {
    TComponent* c = Create(obj, owner);
    c->SetParentComponent(&parent);
    if (!obj.Name.empty()) {
      if (!IsValidIdent(obj.Name))
        Fail(obj.Pos, "'" + obj.Name + "' is not a valid component name");
      // SetName looks the name up itself: a second look-up only tells why
      // it refused.
      try {
        c->SetName(obj.Name);
      } catch (const EComponentError&) {
        if (owner.FindComponent(obj.Name))
          Fail(obj.Pos, "duplicate component name '" + obj.Name + "'");
        throw;
      }
      if (bind_) BindField(obj, *c);
    }
    ReadBody(*c, obj, owner);
  }

  TComponent* Create(const FormObject& obj, TComponent& owner) {
    TClass cls = GetClass(obj.ClassName);
    if (!cls || !cls->Create) {
      if (bind_) Fail(obj.Pos, "class " + obj.ClassName + " is not registered");
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
    if (!field) Fail(obj.Pos, root_.ClassName() + " publishes no field '" + obj.Name + "'");
    try {
      field->Bind(root_, c);
    } catch (const Exception& e) {
      Fail(obj.Pos, "field '" + obj.Name + "': " + e.Message());
    }
  }

  void ReadProperty(TComponent& c, FormProperty& p) {
    const TPropInfo* info = PublishedFor(c, p.Name);
    if (!info || !info->Set) return;
    try {
      if (info->Event) {
        BindEvent(info->Event(c), p);
      } else {
        info->Set(c, p.Value);
      }
    } catch (const ESourceError&) {
      throw;
    } catch (const EValueRefused& e) {
      // Another tool's control takes it, so a form file keeps it as written,
      // the control keeping its own value; a resource of ours must be right.
      if (bind_) Fail(p.Value.Pos, p.Name + ": " + e.Message());
      p.Refused = e.Message();
    } catch (const Exception& e) {
      Fail(p.Value.Pos, p.Name + ": " + e.Message());
    }
  }

  void BindEvent(TEventHandler& slot, const FormProperty& p) {
    slot = {IdentifierOf(p.Value), {}};
    if (!bind_) return;
    const TMethodInfo* method = root_.ClassType()->FindMethod(slot.Name);
    if (!method) Fail(p.Value.Pos, root_.ClassName() + " publishes no handler '" + slot.Name + "'");
    slot.Call = [root = &root_, method](TObject* sender) { method->Invoke(*root, sender); };
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
    if (v.kind == FormValue::Kind::Identifier && !SameText(v.text, "True") &&
        !SameText(v.text, "False")) {
      MarkReference(c, v);
    } else if (v.kind == FormValue::Kind::Collection) {
      for (FormCollectionItem& item : v.collection)
        for (FormProperty& inner : item.Properties) MarkUnknownReferences(c, inner);
    }
  }

  // A name is looked up among the components of the one that owns `c` (an
  // inline frame for its own controls), then further out up to the form.
  void MarkReference(const TComponent& c, FormValue& v) const {
    if (v.kind != FormValue::Kind::Identifier) return;
    for (const TComponent* scope = &c == &root_ ? &root_ : c.GetOwner(); scope;
         scope = scope == &root_ ? nullptr : scope->GetOwner())
      if (const TComponent* target = scope->FindComponent(v.text)) {
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
  static void RememberLoadedValue(TComponent& c, const TPropInfo* info, FormProperty& p) {
    if (!info || !info->Get || info->AlwaysStored) return;
    if (FormValue loaded = info->Get(c); loaded != p.Value)
      p.Loaded = std::make_shared<const FormValue>(std::move(loaded));
  }

  static bool IsHandlerName(std::string_view property) {
    std::string_view last = property.substr(property.rfind('.') + 1);
    return last.size() > 2 && last.starts_with("On") && last[2] >= 'A' && last[2] <= 'Z';
  }

  TComponent& root_;
  const std::string& source_;
  bool bind_;
  std::vector<TComponent*> read_;
};

class Writer {
 public:
  explicit Writer(TComponent& root) {
    bySerial_.reserve(root.Components().size() + 1);
    bySerial_[root.Serial()] = &root;
    Collect(root);
    out_ = Write(root);
  }
  FormObject Take() { return std::move(out_); }

 private:
  // Groups every component of the tree under the component it stands in.
  void Collect(TComponent& owner) {
    for (TComponent* c : owner.Components()) {
      bySerial_[c->Serial()] = c;
      inside_[c->GetParentComponent()].push_back(c);
      if (c->Stored().opening == FormObject::Opening::Inline) Collect(*c);
    }
  }

  FormObject Write(TComponent& c) {
    FormObject obj;
    obj.opening = c.Stored().opening;
    obj.Index = c.Stored().Index;
    obj.Name = c.GetName();
    obj.ClassName = c.ClassName();
    obj.Source = c.Stored().Source;
    obj.NameSource = c.Stored().NameSource;
    obj.EndSource = c.Stored().EndSource;
    obj.Properties = WriteProperties(c);
    if (auto it = inside_.find(&c); it != inside_.end()) {
      obj.Children.reserve(it->second.size());
      for (TComponent* child : it->second) obj.Children.push_back(Write(*child));
    }
    return obj;
  }

  std::vector<FormProperty> WriteProperties(TComponent& c) const {
    std::vector<FormProperty> out;
    out.reserve(c.Stored().Properties.size());
    // A class publishes few properties: a list is cheaper than a set here.
    std::vector<const TPropInfo*> written;
    for (const FormProperty& p : c.Stored().Properties) {
      const TPropInfo* info = PublishedFor(c, p.Name);
      if (info && info->Get) {
        written.push_back(info);
        FormValue current = info->Get(c);
        // An unchanged value keeps its spelling in the file ($10, TRUE, a
        // value the control did not take); a property that is always stored
        // keeps it only while its value is the one the file gives.
        const bool unchanged =
            current == p.Value || (!info->AlwaysStored && p.Loaded && current == *p.Loaded);
        out.push_back(p);
        if (!unchanged) {
          out.back().Value = std::move(current);
          out.back().Refused.clear();
        }
      } else {
        out.push_back(p);
        Resolve(out.back().Value);
      }
    }
    for (const TPropInfo* info : c.ClassType()->AllProperties())
      if (info->AlwaysStored && info->Get && std::ranges::find(written, info) == written.end())
        out.push_back({StoredName(*info), info->Get(c), {}});
    return out;
  }

  // A reference is written with the current name of the component it
  // named; one to a component that is gone keeps the name it was read with.
  void Resolve(FormValue& v) const {
    if (v.ComponentRef) {
      if (auto it = bySerial_.find(v.ComponentRef); it != bySerial_.end())
        v.text = it->second->GetName();
    }
    for (FormCollectionItem& item : v.collection)
      for (FormProperty& p : item.Properties) Resolve(p.Value);
  }

  absl::flat_hash_map<const TComponent*, std::vector<TComponent*>> inside_;
  absl::flat_hash_map<std::uint64_t, const TComponent*> bySerial_;
  FormObject out_;
};

}  // namespace

void ReadComponents(TComponent& root, FormObject tree, const std::string& source,
                    bool bindToClass) {
  Reader(root, source, bindToClass).ReadRoot(tree);
}

FormObject WriteComponents(TComponent& root) { return Writer(root).Take(); }

const FormProperty* RefusedValue(const TComponent& c, const TPropInfo& info) {
  for (const FormProperty& p : c.Stored().Properties)
    if (!p.Refused.empty() && PublishedFor(c, p.Name) == &info) return &p;
  return nullptr;
}

}  // namespace host
