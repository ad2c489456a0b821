// The reader of the text form format: one method per rule of its grammar.
// Every node remembers where its bytes lie in the text, blanks and line ends
// before it included, so that a save can give those bytes back.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FormChars.h"
#include "FormText.h"

namespace host {

namespace {

using namespace formtext;

class Reader {
 public:
  Reader(std::string_view text, const std::string& file)
      : begin_(text.data()), p_(begin_), end_(begin_ + text.size()), file_(file) {
    lineStart_ = colAt_ = p_;
  }

  // Document = [BOM] blanks Object blanks.
  FormObject ReadDocument() {
    if (static_cast<std::size_t>(end_ - p_) > kMaxTextSize)
      Fail(p_, std::string("form text is larger than ") + kMaxTextSizeText);
    if (std::string_view(p_, static_cast<std::size_t>(end_ - p_)).starts_with(kBom)) {
      p_ += kBom.size();
      lineStart_ = colAt_ = p_;
    }
    const std::uint32_t lead = Offset();
    SkipBlanks();
    RequireMore();
    const std::string_view word = WordAt(p_);
    const auto opening = OpeningKeyword(word);
    if (!opening) Fail(p_, "expected 'object'");
    FormObject root = ParseObject(*opening, lead);
    SkipBlanks();
    if (p_ != end_) Fail(p_, "text after the end of the object");
    return root;
  }

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

  // Counts how deep objects, lists and collections are nested, so that the
  // recursion that reads them stays bounded.
  class DepthGuard {
   public:
    DepthGuard(Reader& r, const char* at) : r_(r) {
      if (++r_.depth_ > kMaxDepth) r_.Fail(at, "nesting deeper than " + std::to_string(kMaxDepth));
    }
    ~DepthGuard() { --r_.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    Reader& r_;
  };

  // --- Helpers -------------------------------------------------------------------------------

  std::uint32_t Offset() const { return static_cast<std::uint32_t>(p_ - begin_); }
  SourceSpan SpanFrom(std::uint32_t begin) const { return {begin, Offset()}; }

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
    throw EFormError(file_, PosAt(at), reason);
  }
  [[noreturn]] void Fail(SourcePos pos, const std::string& reason) {
    throw EFormError(file_, pos, reason);
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
    if (Peek() != c) Fail(p_, std::string("expected '") + c + "'");
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

  // --- Objects -------------------------------------------------------------------------------

  // Object = Opening [Name ':'] ClassName ['[' Index ']'] Body; `lead` is
  // where the blanks before the opening word begin.
  FormObject ParseObject(FormObject::Opening opening, std::uint32_t lead) {
    DepthGuard guard(*this, p_);
    FormObject obj;
    obj.opening = opening;
    obj.Pos = PosAt(p_);
    p_ += WordAt(p_).size();
    obj.NameSource = {Offset(), Offset()};

    std::string_view first = TakeWordOnLine("expected a class name");
    const char* firstAt = p_ - first.size();
    if (!IsValidIdent(first)) Fail(firstAt, Quoted(first) + " is not a valid component name");
    SkipInlineBlanks();
    if (Accept(':')) {
      obj.Name = first;
      obj.NameSource = {static_cast<std::uint32_t>(firstAt - begin_),
                        static_cast<std::uint32_t>(firstAt - begin_ + first.size())};
      const std::string_view cls = TakeWordOnLine("expected a class name");
      if (!IsValidIdent(cls)) Fail(p_ - cls.size(), Quoted(cls) + " is not a valid class name");
      obj.ClassName = cls;
    } else {
      // Without a colon the one word is the class.
      obj.ClassName = first;
    }
    obj.Source = SpanFrom(lead);

    SkipInlineBlanks();
    if (Accept('[')) {
      SkipInlineBlanks();
      RequireMore();
      const std::string_view word = TakeWord();
      obj.Index = ParseIndex(word, p_ - word.size());
      SkipInlineBlanks();
      Expect(']');
      obj.Source = SpanFrom(lead);
    }
    obj.EndSource = ParseBody(obj.Properties, &obj.Children);
    return obj;
  }

  // Body = { Property | Object } 'end', for objects and collection items
  // alike (`children` is null in an item, which holds no objects). Returns
  // the span of the `end` with the blanks before it.
  SourceSpan ParseBody(std::vector<FormProperty>& properties, std::vector<FormObject>* children) {
    for (;;) {
      const std::uint32_t lead = Offset();
      SkipBlanks();
      if (!IsIdentStart(Peek())) Fail(p_, "expected 'end'");
      const std::string_view word = WordAt(p_);
      if (!StartsProperty(word)) {
        if (SameText(word, "end")) {
          p_ += word.size();
          return SpanFrom(lead);
        }
        if (const auto opening = OpeningKeyword(word)) {
          if (!children) Fail(p_, "a collection item holds no objects");
          children->push_back(ParseObject(*opening, lead));
          continue;
        }
      }
      properties.push_back(ParseProperty(lead));
    }
  }

  std::int64_t ParseIndex(std::string_view word, const char* at) {
    bool isFloat;
    if (!IsNumber(word, isFloat) || isFloat) Fail(at, Quoted(word) + " is not a valid index");
    std::size_t i = 0;
    const bool negative = word[0] == '-';
    if (word[0] == '+' || word[0] == '-') ++i;
    const bool hex = word[i] == '$';
    if (hex) ++i;
    // Accumulate as a negative number so that the most negative value fits.
    std::int64_t value = 0;
    const std::int64_t base = hex ? 16 : 10;
    for (; i < word.size(); ++i) {
      const char c = word[i];
      const int digit = IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
      if (value < (INT64_MIN + digit) / base) Fail(at, Quoted(word) + " is not a valid index");
      value = value * base - digit;
    }
    if (!negative) {
      if (value == INT64_MIN) Fail(at, Quoted(word) + " is not a valid index");
      value = -value;
    }
    return value;
  }

  // Property = DottedName '=' Value; the value may start on a later line.
  FormProperty ParseProperty(std::uint32_t lead) {
    FormProperty prop;
    prop.Pos = PosAt(p_);
    const std::string_view name = TakeWord();
    if (!IsDottedIdentifier(name)) Fail(prop.Pos, Quoted(name) + " is not a valid property name");
    prop.Name = name;
    SkipInlineBlanks();
    Expect('=');
    SkipInlineBlanks();
    const char* afterEquals = p_;
    const SourcePos afterEqualsPos = PosAt(p_);
    SkipBlanks();
    // What follows a line break is the value unless it is plainly the next
    // line of the body; the value is then missing where the `=` line ends.
    if (p_ == end_ || (p_ != afterEquals && NextLineIsBody()))
      Fail(afterEqualsPos, "expected a value");
    prop.Source = SpanFrom(lead);
    prop.Value = ParseValue();
    return prop;
  }

  bool NextLineIsBody() const {
    if (!IsIdentStart(*p_)) return false;
    const std::string_view word = WordAt(p_);
    return StartsProperty(word) || SameText(word, "end") || OpeningKeyword(word);
  }

  // --- Values --------------------------------------------------------------------------------

  FormValue ParseValue() {
    const std::uint32_t begin = Offset();
    FormValue v;
    switch (Peek()) {
      case '\'':
      case '#':
        v = ParseString();
        break;
      case '[':
        v = ParseSet();
        break;
      case '(':
        v = ParseList();
        break;
      case '{':
        v = ParseBinary();
        break;
      case '<':
        v = ParseCollection();
        break;
      default:
        v = ParseWord();
        break;
    }
    v.Source.Begin = begin;
    return v;
  }

  // Number or Identifier.
  FormValue ParseWord() {
    FormValue v;
    v.Pos = PosAt(p_);
    const char c = *p_;
    const std::string_view word = WordAt(p_);
    if (IsDigit(c) || c == '$' || c == '+' || c == '-') {
      bool isFloat;
      if (!IsNumber(word, isFloat)) Fail(v.Pos, Quoted(word) + " is not a valid number");
      v.kind = isFloat ? FormValue::Kind::Float : FormValue::Kind::Integer;
    } else if (IsIdentStart(c)) {
      if (SameText(word, "end") || OpeningKeyword(word)) Fail(v.Pos, "expected a value");
      if (!IsDottedIdentifier(word)) Fail(v.Pos, Quoted(word) + " is not a valid value");
      v.kind = FormValue::Kind::Identifier;
    } else {
      Fail(v.Pos, "expected a value");
    }
    p_ += word.size();
    v.text = word;
    v.Source.End = Offset();
    return v;
  }

  // String = Pieces { '+' Pieces }, the pieces quoted runs and #codes.
  FormValue ParseString() {
    FormValue v;
    v.kind = FormValue::Kind::String;
    v.Pos = PosAt(p_);
    for (;;) {
      ScanStringPieces(v.text);
      v.Source.End = Offset();
      // The blanks after the string belong to what follows, unless a `+`
      // continues it (a `+` that signs a number starts the next list item).
      const Mark end = Here();
      SkipBlanks();
      if (p_ == end_ || *p_ != '+' || (p_ + 1 != end_ && (IsDigit(p_[1]) || p_[1] == '$'))) {
        Return(end);
        break;
      }
      ++p_;
      SkipBlanks();
      if (Peek() != '\'' && *p_ != '#') Fail(p_, "expected a string after '+'");
    }
    return v;
  }

  void ScanStringPieces(std::string& out) {
    while (p_ != end_ && (*p_ == '\'' || *p_ == '#')) {
      if (*p_ == '\'')
        ScanQuoted(out);
      else
        ScanCharCode(out);
    }
  }

  void ScanQuoted(std::string& out) {
    const char* open = p_++;
    const char* run = p_;  // bytes copied unchanged, appended in one go
    for (;;) {
      if (AtLineEnd()) Fail(open, "unterminated string");
      const auto c = static_cast<unsigned char>(*p_);
      if (c == '\'') {
        out.append(run, p_);
        if (p_ + 1 != end_ && p_[1] == '\'') {
          out += '\'';
          p_ += 2;
          run = p_;
          continue;
        }
        ++p_;
        return;
      }
      if (c < 0x80) {
        ++p_;
        continue;
      }
      char32_t cp;
      const std::size_t n = DecodeUtf8(reinterpret_cast<const unsigned char*>(p_),
                                       reinterpret_cast<const unsigned char*>(end_), cp);
      if (n != 0) {
        p_ += n;
        continue;
      }
      // Not UTF-8: the byte is a Latin-1 character.
      out.append(run, p_);
      AppendUtf8(out, c);
      run = ++p_;
    }
  }

  void ScanCharCode(std::string& out) {
    const char* hash = p_++;
    const bool hex = Accept('$');
    const char* digits = p_;
    char32_t code = 0;
    constexpr char32_t kTooBig = 0x110000;
    while (p_ != end_ && (hex ? IsHexDigit(*p_) : IsDigit(*p_))) {
      const char c = *p_++;
      const char32_t digit = IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
      code = code >= kTooBig ? kTooBig : code * (hex ? 16 : 10) + digit;
    }
    if (p_ == digits) Fail(hash, "expected a character code after '#'");
    const std::string_view written(hash, p_);
    if (code >= kTooBig) Fail(hash, "character code " + Quoted(written) + " is out of range");
    if (code >= 0xD800 && code <= 0xDFFF)
      Fail(hash, "character code " + Quoted(written) + " is a surrogate");
    AppendUtf8(out, code);
  }

  // Set = '[' [Element { ',' Element }] ']'.
  FormValue ParseSet() {
    FormValue v;
    v.kind = FormValue::Kind::Set;
    v.Pos = PosAt(p_);
    ++p_;
    SkipBlanks();
    if (Peek() != ']') {
      for (;;) {
        SkipBlanks();
        v.items.push_back(ParseSetElement());
        SkipBlanks();
        if (Peek() == ']') break;
        if (*p_ != ',') Fail(p_, "expected ',' or ']'");
        ++p_;
      }
    }
    ++p_;
    v.Source.End = Offset();
    return v;
  }

  FormValue ParseSetElement() {
    FormValue item;
    item.Pos = PosAt(p_);
    const std::uint32_t begin = Offset();
    if (IsDelimiter(Peek())) Fail(p_, "expected a set element");
    const std::string_view word = TakeWord();
    bool isFloat;
    if (IsDottedIdentifier(word)) {
      item.kind = FormValue::Kind::Identifier;
    } else if (IsNumber(word, isFloat) && !isFloat) {
      item.kind = FormValue::Kind::Integer;
    } else {
      Fail(item.Pos, Quoted(word) + " is not a valid set element");
    }
    item.text = word;
    item.Source = SpanFrom(begin);
    return item;
  }

  // List = '(' { Value } ')'.
  FormValue ParseList() {
    DepthGuard guard(*this, p_);
    FormValue v;
    v.kind = FormValue::Kind::List;
    v.Pos = PosAt(p_);
    ++p_;
    for (SkipBlanks(); Peek() != ')'; SkipBlanks()) v.items.push_back(ParseValue());
    ++p_;
    v.Source.End = Offset();
    return v;
  }

  // Binary = '{' { HexDigit } '}', blanks and line ends between digits.
  FormValue ParseBinary() {
    FormValue v;
    v.kind = FormValue::Kind::Binary;
    v.Pos = PosAt(p_);
    ++p_;
    for (SkipBlanks(); Peek() != '}'; SkipBlanks()) {
      const char c = *p_;
      if (!IsHexDigit(c)) Fail(p_, "expected a hex digit or '}'");
      v.text += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
      ++p_;
    }
    if (v.text.size() % 2 != 0) Fail(v.Pos, "binary data has an odd number of hex digits");
    ++p_;
    v.Source.End = Offset();
    return v;
  }

  // Collection = '<' { 'item' Body } '>'.
  FormValue ParseCollection() {
    DepthGuard guard(*this, p_);
    FormValue v;
    v.kind = FormValue::Kind::Collection;
    v.Pos = PosAt(p_);
    ++p_;
    for (SkipBlanks(); Peek() != '>'; SkipBlanks()) {
      if (!SameText(WordAt(p_), "item")) Fail(p_, "expected 'item' or '>'");
      FormCollectionItem item;
      item.Pos = PosAt(p_);
      p_ += 4;
      ParseBody(item.Properties, nullptr);
      v.collection.push_back(std::move(item));
    }
    ++p_;
    v.Source.End = Offset();
    return v;
  }
};

// The line end most lines of `text` have; LF when it has none.
std::string MajorityLineEnd(std::string_view text) {
  std::size_t lf = 0, cr = 0, crlf = 0;
  for (std::size_t i = text.find_first_of("\r\n"); i != std::string_view::npos;
       i = text.find_first_of("\r\n", i + 1)) {
    if (text[i] == '\n') {
      ++lf;
    } else if (i + 1 < text.size() && text[i + 1] == '\n') {
      ++crlf;
      ++i;
    } else {
      ++cr;
    }
  }
  if (crlf > lf && crlf >= cr) return "\r\n";
  if (cr > lf && cr > crlf) return "\r";
  return "\n";
}

// The blanks that open the line holding `offset`.
std::string_view LineIndentAt(std::string_view text, std::size_t offset) {
  const std::size_t lineEnd = text.find_last_of("\r\n", offset == 0 ? 0 : offset - 1);
  const std::size_t start = lineEnd == std::string_view::npos || offset == 0 ? 0 : lineEnd + 1;
  std::size_t stop = start;
  while (stop < text.size() && IsInlineBlank(text[stop])) ++stop;
  return text.substr(start, stop - start);
}

// How far the first member of the root is indented: the file's indentation
// step; two blanks when the root holds nothing.
std::string IndentStep(std::string_view text, const FormObject& root) {
  SourceSpan first = root.EndSource;
  if (!root.Properties.empty())
    first = root.Properties.front().Source;
  else if (!root.Children.empty())
    first = root.Children.front().Source;
  std::size_t at = first.Begin;
  while (at < text.size() && (IsInlineBlank(text[at]) || IsLineEnd(text[at]))) ++at;
  const std::string_view step = LineIndentAt(text, at);
  return step.empty() || first.Begin == root.EndSource.Begin ? "  " : std::string(step);
}

}  // namespace

FormDocument ParseFormText(std::string text, const std::string& fileName) {
  FormDocument doc;
  doc.Text = std::make_shared<const std::string>(std::move(text));
  const std::string_view source = *doc.Text;
  doc.Root = Reader(source, fileName).ReadDocument();
  doc.Style.Bom = source.starts_with(kBom);
  doc.Style.LineEnd = MajorityLineEnd(source);
  doc.Style.IndentStep = IndentStep(source, doc.Root);
  return doc;
}

}  // namespace host
