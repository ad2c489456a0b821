#pragma once
// The reader of the text form format (not for callers outside the form text
// units): one method per rule of its grammar, objects and properties in
// FormReader.cpp, values in FormValueReader.cpp. Every node remembers where
// its bytes lie in the text, blanks and line ends before it included, so
// that a save can give those bytes back.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FormChars.h"
#include "FormText.h"

namespace host::formtext {

class Reader {
 public:
  Reader(std::string_view text, const std::string& file)
      : begin_(text.data()), p_(begin_), end_(begin_ + text.size()), file_(file) {
    lineStart_ = colAt_ = p_;
  }

  // Document = [BOM] blanks Object blanks. With `onRootChild` the root
  // keeps none of its children, and lists no items (see StreamFormText).
  FormObject ReadDocument(const RootChildHandler& onRootChild = {});

  // The value whose bytes begin at `offset`, on line `line`, read again.
  FormValue ReadValueAt(std::uint32_t offset, int line);
  // The items of the list there, read again one at a time (see EachListItemAt).
  bool EachListItemAt(std::uint32_t offset, int line,
                      const std::function<bool(const FormValue&)>& each);
  // How many items the list there holds, checked but not read (see
  // CountListItemsAt).
  std::size_t CountListItemsAt(std::uint32_t offset, int line);

 private:
  const char* begin_;
  const char* p_;
  const char* end_;
  const std::string& file_;
  int line_ = 1;
  const char* lineStart_;
  // Column cache: positions are asked for in increasing order, so counting
  // characters from the last one keeps long lines linear.
  const char* colAt_;
  int col_ = 1;
  int depth_ = 0;
  // Whether a list is being read: only the outermost counts its items first.
  bool inList_ = false;
  // Whether an object's list properties come with their spans only (see
  // StreamFormText).
  bool listsUnread_ = false;
  const RootChildHandler* onRootChild_ = nullptr;
  // Emptied buffers of bodies read, for the bodies still to come.
  std::vector<std::vector<FormProperty>> spareBuffers_;

  // Counts how deep objects, lists and collections are nested, so that the
  // recursion that reads them stays bounded.
  class DepthGuard {
   public:
    DepthGuard(Reader& r, const char* at) : r_(r) {
      if (++r_.depth_ > kMaxDepth)
        r_.Fail(at, Format("nesting deeper than %d", {std::int64_t{kMaxDepth}}));
    }
    ~DepthGuard() { --r_.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    Reader& r_;
  };

  // ---- helpers ----

  std::uint32_t Offset() const { return static_cast<std::uint32_t>(p_ - begin_); }
  SourceSpan SpanFrom(std::uint32_t begin) const { return {begin, Offset()}; }
  // A bracketed value of `kind` begun at its opening bracket, now stepped
  // past; closing steps past the closing bracket and ends the value there.
  FormValue OpenBracketed(FormValueKind kind);
  void CloseBracketed(FormValue& v);

  // Position of `at`, which lies on the current line; columns count
  // characters, not bytes.
  SourcePos PosAt(const char* at) {
    if (colAt_ < lineStart_ || colAt_ > at) {
      colAt_ = lineStart_;
      col_ = 1;
    }
    for (; colAt_ < at; ++colAt_)
      if ((static_cast<unsigned char>(*colAt_) & 0xC0) != 0x80) ++col_;
    return {line_, col_};
  }

  [[noreturn]] void Fail(const char* at, const std::string& reason) {
    throw ESourceError(file_, PosAt(at), reason);
  }
  [[noreturn]] void Fail(SourcePos pos, const std::string& reason) {
    throw ESourceError(file_, pos, reason);
  }

  void RequireMore() {
    if (p_ == end_) Fail(p_, "unexpected end of file");
  }

  // The next character, which must be there.
  char Peek() {
    RequireMore();
    return *p_;
  }

  // Whether the next character is `c`; takes it when it is.
  bool Accept(char c) {
    if (p_ == end_ || *p_ != c) return false;
    ++p_;
    return true;
  }

  void Expect(char c) {
    if (Peek() != c) Fail(p_, Format("expected '%s'", {std::string(1, c)}));
    ++p_;
  }

  // Skips blanks and line ends; CR LF, LF and a CR alone each end a line.
  void SkipBlanks() {
    while (p_ != end_) {
      const char c = *p_;
      if (IsInlineBlank(c)) {
        ++p_;
      } else if (IsLineEnd(c)) {
        p_ += c == '\r' && p_ + 1 != end_ && p_[1] == '\n' ? 2 : 1;
        ++line_;
        lineStart_ = p_;
      } else {
        break;
      }
    }
  }

  // Reading goes on from `offset`, which lies on line `line`.
  void MoveTo(std::uint32_t offset, int line);

  // A point of the text to come back to, with its line.
  struct Mark {
    const char* At;
    int Line;
    const char* LineStart;
  };
  Mark Here() const { return {p_, line_, lineStart_}; }
  void Return(const Mark& mark) {
    p_ = mark.At;
    line_ = mark.Line;
    lineStart_ = mark.LineStart;
  }

  void SkipInlineBlanks() {
    while (p_ != end_ && IsInlineBlank(*p_)) ++p_;
  }

  bool AtLineEnd() const { return p_ == end_ || IsLineEnd(*p_); }

  // The run of non-delimiter characters at `at`, or the one delimiter there.
  std::string_view WordAt(const char* at) const {
    const char* e = at;
    while (e != end_ && !IsDelimiter(*e)) ++e;
    if (e == at && e != end_) ++e;
    return {at, e};
  }

  std::string_view TakeWord() {
    const std::string_view w = WordAt(p_);
    p_ += w.size();
    return w;
  }

  // A word on the current line, for names in an object's opening line.
  std::string_view TakeWordOnLine(const char* expected) {
    SkipInlineBlanks();
    if (AtLineEnd()) {
      RequireMore();
      Fail(p_, expected);
    }
    return TakeWord();
  }

  // Whether `word` at `p_` is followed by '=': then even a keyword names a
  // property.
  bool StartsProperty(std::string_view word) const {
    const char* after = p_ + word.size();
    while (after != end_ && IsInlineBlank(*after)) ++after;
    return after != end_ && *after == '=';
  }

  // ---- objects ----

  // Object = Opening [Name ':'] ClassName ['[' Index ']'] Body; `lead` is
  // where the blanks before the opening word begin.
  FormObject ParseObject(FormOpening opening, std::uint32_t lead);

  // Body = { Property | Object } 'end', for objects and collection items
  // alike (`children` is null in an item, which holds no objects). Returns
  // the span of the `end` with the blanks before it. The children of a
  // `streamed` object go to onRootChild_ instead.
  SourceSpan ParseBody(std::vector<FormProperty>& properties, std::vector<FormObject>* children,
                       FormObject* streamed = nullptr);

  std::int64_t ParseIndex(std::string_view word, const char* at);

  // Property = DottedName '=' Value; the value may start on a later line.
  // A property of an object (not of a collection item) whose value is a list
  // keeps no items when `listsUnread_`.
  FormProperty ParseProperty(std::uint32_t lead, bool ofObject);

  bool NextLineIsBody() const;

  // ---- values ----

  FormValue ParseValue();
  // Moves past a value, checked as ParseValue checks it, without making it
  // where that costs: counting a list of 100,000 strings makes none of them.
  void SkipValue();
  // Moves past the items of a list, from after its '(' to its ')', and
  // tells how many there were.
  std::size_t SkipListItems();

  // Number or Identifier.
  FormValue ParseWord();

  // String = Pieces { '+' Pieces }, the pieces quoted runs and #codes.
  FormValue ParseString();
  // The characters of the string here appended to `out`; with no `out`,
  // only checked.
  void ScanString(std::string* out);

  void ScanStringPieces(std::string* out);

  void ScanQuoted(std::string* out);

  void ScanCharCode(std::string* out);

  // Set = '[' [Element { ',' Element }] ']'.
  FormValue ParseSet();

  FormValue ParseSetElement();

  // List = '(' { Value } ')'. Without `keepItems` the items are only
  // checked, and the value has none.
  FormValue ParseList(bool keepItems);

  // Binary = '{' { HexDigit } '}', blanks and line ends between digits.
  FormValue ParseBinary();

  // Collection = '<' { 'item' Body } '>'.
  FormValue ParseCollection();
};

}  // namespace host::formtext
