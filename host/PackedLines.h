#pragma once
// Lines of text stored back to back in one buffer: a listing of 100,000 short
// rows takes a fraction of what a string per row would.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// A line is read as a view, valid until the lines next change. Indices are
// not checked here; the string list that holds these checks them.
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

  std::size_t size() const { return spans_.size(); }
  std::string_view operator[](std::size_t index) const {
    return {chars_.data() + spans_[index].Begin, spans_[index].Size};
  }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, spans_.size()}; }

  void Add(std::string_view line) { spans_.push_back(Append(line)); }
  void Put(std::size_t index, std::string_view line);
  // Keeps the room the lines took, for lines about to be refilled.
  void Clear();
  // Room for `count` lines of `chars` characters in all.
  void Reserve(std::size_t count, std::size_t chars);

  // Copies only the live characters: a copy holds no replaced lines.
  PackedLines() = default;
  PackedLines(const PackedLines& other);
  PackedLines& operator=(const PackedLines& other);
  PackedLines(PackedLines&&) noexcept = default;
  PackedLines& operator=(PackedLines&&) noexcept = default;

 private:
  struct Span {
    std::uint32_t Begin;
    std::uint32_t Size;
  };
  // Appends the characters of a line and tells where they lie.
  Span Append(std::string_view line);
  // Drops the characters of replaced lines, leaving room for `room` more.
  void Compact(std::size_t room);

  std::string chars_;
  std::vector<Span> spans_;
  // Characters of replaced lines still in chars_; compacted away once they
  // outweigh the live ones.
  std::size_t dead_ = 0;
};

}  // namespace host
