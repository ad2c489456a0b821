#include "PackedLines.h"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace host {

const std::shared_ptr<PackedLines::Store>& PackedLines::EmptyStore() {
  static const auto empty = std::make_shared<Store>();
  return empty;
}

PackedLines::PackedLines() : store_(EmptyStore()) {}

PackedLines::PackedLines(PackedLines&& other) noexcept
    : store_(std::exchange(other.store_, EmptyStore())) {}

PackedLines& PackedLines::operator=(PackedLines&& other) noexcept {
  if (&other != this) store_ = std::exchange(other.store_, EmptyStore());
  return *this;
}

PackedLines::Store& PackedLines::Own() {
  if (store_.use_count() != 1) {
    auto own = std::make_shared<Store>();
    own->Spans = store_->Spans;
    own->Chars = store_->Chars;
    own->Dead = store_->Dead;
    if (own->Dead > 0) Compact(*own, 0);
    store_ = std::move(own);
  }
  return *store_;
}

PackedLines::Span PackedLines::Append(Store& store, std::string_view line) {
  if (line.size() > std::numeric_limits<std::uint32_t>::max() - store.Chars.size())
    throw std::length_error("a string list holds at most 4 GiB of text");
  const Span span{static_cast<std::uint32_t>(store.Chars.size()),
                  static_cast<std::uint32_t>(line.size())};
  store.Chars.append(line);  // safe where `line` views these very characters
  return span;
}

void PackedLines::Add(std::string_view line) {
  Store& store = Own();
  store.Spans.push_back(Append(store, line));
}

void PackedLines::Put(std::size_t index, std::string_view line) {
  Store& store = Own();
  Span& span = store.Spans[index];
  if (line.size() <= span.Size) {
    // A line no longer than the old one takes its place; memmove allows a
    // line put from these very characters.
    std::memmove(store.Chars.data() + span.Begin, line.data(), line.size());
    store.Dead += span.Size - line.size();
    span.Size = static_cast<std::uint32_t>(line.size());
  } else if (store.Chars.size() + line.size() > store.Chars.capacity()) {
    // Out of room: the live lines are packed with room for an eighth more,
    // where the string would take twice its room. `line` may view the
    // characters that move.
    const std::string kept(line);
    store.Dead += span.Size;
    span.Size = 0;
    Compact(store, kept.size() + (store.Chars.size() - store.Dead) / 8);
    store.Spans[index] = Append(store, kept);
    return;
  } else {
    const Span added = Append(store, line);
    store.Dead += span.Size;
    span = added;
  }
  if (store.Dead > store.Chars.size() / 2) Compact(store, 0);
}

void PackedLines::Clear() {
  if (store_.use_count() != 1) {
    auto room = std::make_shared<Store>();
    // An eighth more: lines refilled after a rename are often a little
    // longer, and a string out of room takes twice its room.
    const std::size_t chars = store_->Chars.size() - store_->Dead;
    room->Chars.reserve(chars + chars / 8);
    room->Spans.reserve(store_->Spans.size());
    store_ = std::move(room);
    return;
  }
  store_->Chars.clear();
  store_->Spans.clear();
  store_->Dead = 0;
}

void PackedLines::Permute(const std::vector<std::uint32_t>& to) {
  std::vector<Span>& spans = Own().Spans;
  // Into a new array: read in order and written in runs, where swapping in
  // place would jump about the whole array.
  std::vector<Span> moved(spans.size());
  for (std::size_t i = 0; i < spans.size(); ++i) moved[to[i]] = spans[i];
  spans = std::move(moved);
}

void PackedLines::Reserve(std::size_t count, std::size_t chars) {
  Store& store = Own();
  store.Spans.reserve(count);
  if (chars <= store.Chars.capacity()) return;
  // Exactly that room: a string's reserve would take twice its old room
  // whenever that is more.
  std::string room;
  room.reserve(chars);
  room.append(store.Chars);
  store.Chars.swap(room);
}

void PackedLines::Compact(Store& store, std::size_t room) {
  std::string live;
  live.reserve(store.Chars.size() - store.Dead + room);
  for (Span& span : store.Spans) {
    const auto begin = static_cast<std::uint32_t>(live.size());
    live.append(store.Chars, span.Begin, span.Size);
    span.Begin = begin;
  }
  store.Chars = std::move(live);
  store.Dead = 0;
}

}  // namespace host
