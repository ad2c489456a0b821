#include "CNamer.h"

#include <unordered_map>
#include <vector>

#include "Forms.h"

namespace CNamer {

using host::TComponent;
using host::TStringList;

namespace {

// Both construction rules, checked before the namer enters its owner; the
// owner check comes first, so a non-form's components are never walked.
TComponent* CheckedOwner(TComponent* owner) {
  if (!owner || !owner->Is<host::TForm>())
    throw EComponentNamerError("Componentnamer Owner has to be a form!");
  for (TComponent* c : owner->Components())
    if (c->Is<TComponentNamer>()) throw EComponentNamerError("Only one instance of ComponentNamer");
  return owner;
}

host::FormValue ListingValue(host::TObject& namer) {
  std::vector<host::FormValue> lines;
  for (const std::string& line : namer.As<TComponentNamer>().GetFComponentList().Lines())
    lines.push_back(host::FormValue::String(line));
  return host::FormValue::List(std::move(lines));
}

void SetListingValue(host::TObject& namer, const host::FormValue& value) {
  if (value.kind != host::FormValue::Kind::List) host::StringOf(value);  // raises the kind error
  TStringList lines;
  for (const host::FormValue& line : value.items) lines.Add(host::StringOf(line));
  namer.As<TComponentNamer>().SetComponenter(lines);
}

}  // namespace

const host::TClassInfo& TComponentNamer::StaticClass() {
  static const host::TClassInfo info{
      .Name = "TComponentNamer",
      .Parent = &TComponent::StaticClass(),
      .Create = host::NewComponent<TComponentNamer>,
      .Properties = {{"Componenter", host::TypeInfo<TStringList>(), ListingValue, SetListingValue,
                      /*AlwaysStored=*/true}},
  };
  return info;
}

TComponentNamer::TComponentNamer(TComponent* AOwner)
    : TComponent(CheckedOwner(AOwner)), FComponentList(std::make_unique<TStringList>()) {}

TComponentNamer::~TComponentNamer() = default;

bool TComponentNamer::TypeExist(const TStringList& List, const std::string& TypeName) {
  return List.IndexOf(TypeName) >= 0;
}

// Header rows in the order their type first occurs, each followed by the rows
// of all components of that type in the owner's order. Grouping through a hash
// map gives the same listing as a scan per type, in linear time.
TStringList& TComponentNamer::GetFComponentList() {
  std::vector<std::string> types;
  std::unordered_map<std::string, std::vector<const TComponent*>> byType;
  for (const TComponent* c : GetOwner()->Components()) {
    auto [it, first] = byType.try_emplace(c->ClassName());
    if (first) types.push_back(it->first);
    it->second.push_back(c);
  }
  std::vector<std::string> lines;
  lines.reserve(types.size() + GetOwner()->Components().size());
  for (const std::string& type : types) {
    lines.push_back(type);
    for (const TComponent* c : byType[type]) lines.push_back(ComponentRow(c->GetName()));
  }
  FComponentList->SetLines(std::move(lines));
  return *FComponentList;
}

void TComponentNamer::SetComponenter(const TStringList& Value) { FComponentList->Assign(Value); }

void Register() { host::RegisterComponents("Quorth", {&TComponentNamer::StaticClass()}); }

void Initialization() {}

void Finalization() {}

}  // namespace CNamer
