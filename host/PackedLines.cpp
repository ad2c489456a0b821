#include "PackedLines.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace host {

PackedLines::Span PackedLines::Append(std::string_view line) {
  if (line.size() > std::numeric_limits<std::uint32_t>::max() - chars_.size())
    throw std::length_error("a string list holds at most 4 GiB of text");
  const Span span{static_cast<std::uint32_t>(chars_.size()),
                  static_cast<std::uint32_t>(line.size())};
  chars_.append(line);  // safe where `line` views these very characters
  return span;
}

void PackedLines::Put(std::size_t index, std::string_view line) {
  Span& span = spans_[index];
  if (line.size() <= span.Size) {
    // A line no longer than the old one takes its place; memmove allows a
    // line put from these very characters.
    std::memmove(chars_.data() + span.Begin, line.data(), line.size());
    dead_ += span.Size - line.size();
    span.Size = static_cast<std::uint32_t>(line.size());
  } else if (chars_.size() + line.size() > chars_.capacity()) {
    // Out of room: the live lines are packed with room for an eighth more,
    // where the string would take twice its room. `line` may view the
    // characters that move.
    const std::string kept(line);
    dead_ += span.Size;
    span.Size = 0;
    Compact(kept.size() + (chars_.size() - dead_) / 8);
    spans_[index] = Append(kept);
    return;
  } else {
    const Span added = Append(line);
    dead_ += span.Size;
    span = added;
  }
  if (dead_ > chars_.size() / 2) Compact(0);
}

void PackedLines::Clear() {
  chars_.clear();
  spans_.clear();
  dead_ = 0;
}

void PackedLines::Reserve(std::size_t count, std::size_t chars) {
  spans_.reserve(count);
  if (chars <= chars_.capacity()) return;
  // Exactly that room: a string's reserve would take twice its old room
  // whenever that is more.
  std::string room;
  room.reserve(chars);
  room.append(chars_);
  chars_.swap(room);
}

void PackedLines::Compact(std::size_t room) {
  std::string live;
  live.reserve(chars_.size() - dead_ + room);
  for (Span& span : spans_) {
    const auto begin = static_cast<std::uint32_t>(live.size());
    live.append(chars_, span.Begin, span.Size);
    span.Begin = begin;
  }
  chars_ = std::move(live);
  dead_ = 0;
}

PackedLines::PackedLines(const PackedLines& other)
    : chars_(other.chars_), spans_(other.spans_), dead_(other.dead_) {
  if (dead_ > 0) Compact(0);
}

PackedLines& PackedLines::operator=(const PackedLines& other) {
  if (&other != this) *this = PackedLines(other);
  return *this;
}

}  // namespace host
