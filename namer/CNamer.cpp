#include "CNamer.h"

#include <absl/container/flat_hash_map.h>

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "Forms.h"

namespace cnamer {

using host::TComponent;
using host::TStringList;

namespace {

// Both construction rules, checked before the namer enters its owner; the
// owner check comes first, so a non-form's components are never walked.
TComponent* CheckedOwner(TComponent* owner) {
  if (!owner || !owner->Is<host::TForm>())
    throw EComponentNamerError("Componentnamer Owner has to be a form!");
  // By the class table, not a dynamic_cast: a form read from its file
  // creates its namer last, after all its other components.
  for (TComponent* c : owner->Components())
    if (c->InheritsFrom(&TComponentNamer::StaticClass()))
      throw EComponentNamerError("Only one instance of ComponentNamer");
  return owner;
}

host::FormValue ListingValue(host::TObject& namer) {
  const TStringList& listing = namer.As<TComponentNamer>().GetFComponentList();
  std::vector<host::FormValue> lines;
  lines.reserve(static_cast<std::size_t>(listing.Count()));
  for (std::string_view line : listing) lines.push_back(host::FormValue::String(std::string(line)));
  return host::FormValue::List(std::move(lines));
}

void SetListingValue(host::TObject& namer, const host::FormValue& value) {
  TStringList lines;
  host::AddLinesOf(lines, value);
  namer.As<TComponentNamer>().SetComponenter(lines);
}

}  // namespace

const host::TClassInfo& TComponentNamer::StaticClass() {
  static const host::TClassInfo info{
      .Name = "TComponentNamer",
      .Parent = &TComponent::StaticClass(),
      .Create = host::NewComponent<TComponentNamer>,
      .Properties = {{"Componenter", host::TypeInfo<TStringList>(), ListingValue, SetListingValue,
                      /*AlwaysStored=*/true, /*Event=*/{},
                      [](host::TObject& namer) -> host::TObject* {
                        return &namer.As<TComponentNamer>().GetFComponentList();
                      },
                      [](host::TObject& namer, const host::TObject& lines) {
                        namer.As<TComponentNamer>().SetComponenter(lines.As<TStringList>());
                      }}},
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
// of all components of that type in the owner's order. One pass numbers the
// types through a hash table and counts their components; a counting sort
// groups the components by type; the list is then refilled in place, in
// order, so a listing read again reuses the room its lines took.
TStringList& TComponentNamer::GetFComponentList() {
  const std::vector<TComponent*>& components = GetOwner()->Components();
  // Keys view the class names, which outlive the listing.
  absl::flat_hash_map<std::string_view, std::uint32_t> typeIndex;
  std::vector<std::string_view> types;
  // Each type's count, then where its group begins.
  std::vector<std::uint32_t> begins;
  std::vector<std::uint32_t> typeOf;  // a form holds far fewer types than that
  typeOf.reserve(components.size());
  std::size_t chars = 0;  // of all rows, so that the list is filled in place
  for (const TComponent* c : components) {
    chars += 1 + c->GetName().size();
    auto [it, first] =
        typeIndex.try_emplace(c->ClassName(), static_cast<std::uint32_t>(types.size()));
    if (first) {
      types.push_back(it->first);
      chars += it->first.size();
      begins.push_back(0);
    }
    ++begins[it->second];
    typeOf.push_back(it->second);
  }
  std::uint32_t total = 0;
  for (std::uint32_t& begin : begins) total += std::exchange(begin, total);
  begins.push_back(total);                                // where the last group ends
  std::vector<std::uint32_t> grouped(components.size());  // indices of components, by type
  std::vector<std::uint32_t> next = begins;
  for (std::uint32_t i = 0; i < typeOf.size(); ++i) grouped[next[typeOf[i]]++] = i;

  FComponentList->Clear();
  FComponentList->SetCapacity(static_cast<int>(types.size() + components.size()), chars);
  for (std::size_t t = 0; t < types.size(); ++t) {
    FComponentList->Add(std::string(types[t]));
    for (std::uint32_t k = begins[t]; k < begins[t + 1]; ++k)
      FComponentList->Add(ComponentRow(components[grouped[k]]->GetName()));
  }
  return *FComponentList;
}

void TComponentNamer::SetComponenter(const TStringList& Value) { FComponentList->Assign(Value); }

void Register() { host::RegisterComponents("Quorth", {&TComponentNamer::StaticClass()}); }

void Initialization() {}

void Finalization() {}

}  // namespace cnamer
