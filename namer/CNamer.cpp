#include "CNamer.h"

#include <absl/container/flat_hash_map.h>

#include <array>
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
// of all components of that type in the owner's order. One walk over the
// components adds their rows in the owner's order and numbers their types
// through a hash table; the header rows follow; then every row moves to its
// place at once. Walking the components grouped by type instead would miss
// the cache at every one. The list is refilled in place, so a listing read
// again reuses the room its lines took.
TStringList& TComponentNamer::GetFComponentList() {
  const std::vector<TComponent*>& components = GetOwner()->Components();
  // Keys view the class names, which outlive the listing.
  absl::flat_hash_map<std::string_view, std::uint32_t> typeIndex;
  // The types of the class names met last, by where their characters lie:
  // instances of a class share its name, so most look-ups end here. Two
  // names at one place during the walk are the same name.
  struct RecentType {
    const char* Chars = nullptr;
    std::uint32_t Type = 0;
  };
  constexpr int kRecentBits = 6;
  std::array<RecentType, std::size_t{1} << kRecentBits> recentTypes{};
  // An entry by the top bits of the place times an odd constant: names kept
  // at a fixed stride (nodes of one size) would share a few entries by
  // their low bits and evict each other at every component.
  auto recentSlot = [](const char* chars) {
    const auto place = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(chars));
    return (place * 0x9E3779B97F4A7C15u) >> (64 - kRecentBits);
  };
  std::vector<std::string_view> types;
  std::vector<std::uint32_t> counts;
  // For each row, its type and then where it goes; with room for the
  // header rows of far more types than forms hold.
  std::vector<std::uint32_t> to;
  to.reserve(components.size() + components.size() / 64 + 16);
  FComponentList->Clear();
  FComponentList->SetCapacity(static_cast<int>(to.capacity()));
  for (std::size_t i = 0; i < components.size(); ++i) {
    host::PrefetchAhead(components, i);
    const TComponent* c = components[i];
    FComponentList->Add(ComponentRow(c->GetName()));
    const std::string& className = c->ClassName();
    RecentType& recent = recentTypes[recentSlot(className.data())];
    if (recent.Chars != className.data()) {
      auto [it, first] = typeIndex.try_emplace(className, static_cast<std::uint32_t>(types.size()));
      if (first) {
        types.push_back(it->first);
        counts.push_back(0);
      }
      recent = {className.data(), it->second};
    }
    ++counts[recent.Type];
    to.push_back(recent.Type);
  }
  // Each type's header goes after all earlier groups, its rows after it.
  std::vector<std::uint32_t> next(types.size());
  std::uint32_t header = 0;
  for (std::size_t t = 0; t < types.size(); ++t) {
    FComponentList->Add(types[t]);
    to.push_back(header);
    next[t] = header + 1;
    header += 1 + counts[t];
  }
  for (std::size_t i = 0; i < components.size(); ++i) to[i] = next[to[i]]++;
  FComponentList->Reorder(to);
  return *FComponentList;
}

void TComponentNamer::SetComponenter(const TStringList& Value) { FComponentList->Assign(Value); }

void Register() { host::RegisterComponents("Quorth", {&TComponentNamer::StaticClass()}); }

void Initialization() {}

void Finalization() {}

}  // namespace cnamer
