#pragma once
// Lines of text stored back to back in one buffer: a listing of 100,000 short
// rows takes a fraction of what a string per row would.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// A line is read as a view, valid until the lines next change. Indices are
// not checked here; the string list that holds these checks them. Copies
// share their characters until one of them changes: the rename dialog copies
// a listing of the whole form twice and edits at most one of the copies.
class PackedLines {
 public:
  class const_iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using reference = std::string_view;
    using pointer = void;

    const_iterator() = default;
    std::string_view operator*() const { return (*lines_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) { return {lines_, index_++}; }
    bool operator==(const const_iterator&) const = default;
    std::size_t Index() const { return index_; }

   private:
    friend class PackedLines;
    const_iterator(const PackedLines* lines, std::size_t index) : lines_(lines), index_(index) {}
    const PackedLines* lines_ = nullptr;
    std::size_t index_ = 0;
  };

  std::size_t size() const { return store_->Spans.size(); }
  std::string_view operator[](std::size_t index) const {
    const Span span = store_->Spans[index];
    return {store_->Chars.data() + span.Begin, span.Size};
  }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  void Add(std::string_view line);
  void Put(std::size_t index, std::string_view line);
  // Keeps room for as many lines as there were, for lines about to be
  // refilled: the room itself, unless a copy still shares it; then as much
  // room again, and an eighth more for the characters.
  void Clear();
  // Moves line i to index `to[i]`, for every i; `to` is a permutation of
  // the indices.
  void Permute(const std::vector<std::uint32_t>& to);
  // Room for `count` lines of `chars` characters in all.
  void Reserve(std::size_t count, std::size_t chars);

  PackedLines();
  PackedLines(const PackedLines& other) = default;
  PackedLines& operator=(const PackedLines& other) = default;
  // A moved-from object holds no lines.
  PackedLines(PackedLines&& other) noexcept;
  PackedLines& operator=(PackedLines&& other) noexcept;

 private:
  struct Span {
    std::uint32_t Begin;
    std::uint32_t Size;
  };
  struct Store {
    std::string Chars;
    std::vector<Span> Spans;
    // Characters of replaced lines still in Chars; compacted away once they
    // outweigh the live ones.
    std::size_t Dead = 0;
  };
  // The store, made this object's own before it changes; a store left to
  // copies is copied without the replaced lines' characters.
  Store& Own();
  // Appends the characters of a line and tells where they lie.
  static Span Append(Store& store, std::string_view line);
  // Drops the characters of replaced lines, leaving room for `room` more.
  static void Compact(Store& store, std::size_t room);

  // Shared by every object without lines, so that an empty list allocates
  // nothing until it gets a line.
  static const std::shared_ptr<Store>& EmptyStore();

  // Never null.
  std::shared_ptr<Store> store_;
};

}  // namespace host
