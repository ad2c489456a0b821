#include "FormText.h"

#include "SafeFile.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace host {

namespace {

// Bounds that keep a hostile or broken file from exhausting the stack or memory.
constexpr int kMaxDepth = 200;
constexpr std::size_t kMaxTextSize = std::size_t{256} << 20;
constexpr const char* kMaxTextSizeText = "256 MiB";

// Characters of one string piece, and hex digits of one binary line, when writing.
constexpr std::size_t kLineChunk = 64;

// --- UTF-8 ---------------------------------------------------------------------------------

// Length of the well-formed UTF-8 sequence at `p` (storing its code point in `cp`), or 0 when
// the bytes there are not one.
std::size_t DecodeUtf8(const unsigned char* p, const unsigned char* end, char32_t& cp) {
  const unsigned char b = p[0];
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  std::size_t n;
  char32_t min;
  if ((b & 0xE0) == 0xC0) {
    n = 2, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, cp = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (static_cast<std::size_t>(end - p) < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// --- Characters and words ------------------------------------------------------------------

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsInlineBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Ends a word: what stands between names, values and punctuation.
constexpr auto kDelimiters = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view(" \t\r\n\f\v:=[](){}<>,'#")) table[c] = true;
  return table;
}();
bool IsDelimiter(char c) { return kDelimiters[static_cast<unsigned char>(c)]; }

bool IsDottedIdentifier(std::string_view s) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = s.find('.', start);
    if (!IsValidIdent(s.substr(start, dot - start))) return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

std::optional<FormObject::Opening> OpeningKeyword(std::string_view word) {
  if (SameText(word, "object")) return FormObject::Opening::Object;
  if (SameText(word, "inherited")) return FormObject::Opening::Inherited;
  if (SameText(word, "inline")) return FormObject::Opening::Inline;
  return std::nullopt;
}

// Whether `s` is a number literal; sets `isFloat` for a decimal one with a fraction or exponent.
bool IsNumber(std::string_view s, bool& isFloat) {
  isFloat = false;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i < s.size() && s[i] == '$') {
    if (++i == s.size()) return false;
    for (; i < s.size(); ++i)
      if (!IsHexDigit(s[i])) return false;
    return true;
  }
  auto digits = [&] {
    const std::size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i > start;
  };
  if (!digits()) return false;
  if (i < s.size() && s[i] == '.') {
    ++i;
    if (!digits()) return false;
    isFloat = true;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (!digits()) return false;
    isFloat = true;
  }
  return i == s.size();
}

// A word as it may appear inside a one-line message: shortened, control bytes and broken
// UTF-8 shown as '?'.
std::string Printable(std::string_view word) {
  constexpr std::size_t kMaxShown = 40;
  std::string out;
  const auto* p = reinterpret_cast<const unsigned char*>(word.data());
  const auto* end = p + word.size();
  std::size_t shown = 0;
  while (p != end) {
    if (shown == kMaxShown) {
      out += "...";
      break;
    }
    char32_t cp;
    const std::size_t n = DecodeUtf8(p, end, cp);
    if (n == 0 || cp < 32 || cp == 127) {
      out += '?';
      ++p;
    } else {
      out.append(reinterpret_cast<const char*>(p), n);
      p += n;
    }
    ++shown;
  }
  return out;
}

std::string Quoted(std::string_view word) { return "'" + Printable(word) + "'"; }

// --- Reader --------------------------------------------------------------------------------

class Reader {
 public:
  Reader(std::string_view text, const std::string& file)
      : p_(text.data()), end_(text.data() + text.size()), file_(file) {
    lineStart_ = colAt_ = p_;
  }

  FormDocument Read() {
    FormDocument doc;
    if (static_cast<std::size_t>(end_ - p_) > kMaxTextSize)
      Fail(p_, std::string("form text is larger than ") + kMaxTextSizeText);
    if (end_ - p_ >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0) {
      doc.Style.Bom = true;
      p_ += 3;
      lineStart_ = colAt_ = p_;
    }
    const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
    const std::size_t lf = rest.find('\n');
    doc.Style.Crlf = lf != std::string_view::npos && lf != 0 && rest[lf - 1] == '\r';

    SkipBlanks();
    RequireMore();
    const std::string_view word = WordAt(p_);
    const auto opening = OpeningKeyword(word);
    if (!opening) Fail(p_, "expected 'object'");
    doc.Root = ParseObject(*opening, word.size());
    SkipBlanks();
    if (p_ != end_) Fail(p_, "text after the end of the object");
    return doc;
  }

 private:
  const char* p_;
  const char* end_;
  const std::string& file_;
  int line_ = 1;
  const char* lineStart_;
  // Column cache: positions are asked for in increasing order, so counting characters from the
  // last one keeps long lines linear.
  const char* colAt_;
  int col_ = 1;
  int depth_ = 0;

  // Counts how deep objects, lists and collections are nested, so that the recursion that
  // reads them stays bounded.
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

  // Position of `at`, which lies on the current line; columns count characters, not bytes.
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

  void NewLine() {
    ++line_;
    lineStart_ = p_;
  }

  void SkipBlanks() {
    while (p_ != end_) {
      const char c = *p_;
      if (c == '\n') {
        ++p_;
        NewLine();
      } else if (IsInlineBlank(c)) {
        ++p_;
      } else {
        break;
      }
    }
  }

  void SkipInlineBlanks() {
    while (p_ != end_ && IsInlineBlank(*p_)) ++p_;
  }

  bool AtLineEnd() const { return p_ == end_ || *p_ == '\n' || *p_ == '\r'; }

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

  FormObject ParseObject(FormObject::Opening opening, std::size_t keywordLength) {
    DepthGuard guard(*this, p_);
    FormObject obj;
    obj.opening = opening;
    obj.Pos = PosAt(p_);
    p_ += keywordLength;

    SkipInlineBlanks();
    if (AtLineEnd()) {
      RequireMore();
      Fail(p_, "expected a class name");
    }
    std::string_view first = TakeWord();
    const char* firstAt = p_ - first.size();
    SkipInlineBlanks();
    if (p_ != end_ && *p_ == ':') {
      if (!IsValidIdent(first)) Fail(firstAt, Quoted(first) + " is not a valid component name");
      obj.Name = first;
      ++p_;
      SkipInlineBlanks();
      if (AtLineEnd()) {
        RequireMore();
        Fail(p_, "expected a class name");
      }
      first = TakeWord();
      firstAt = p_ - first.size();
      if (!IsValidIdent(first)) Fail(firstAt, Quoted(first) + " is not a valid class name");
      obj.ClassName = first;
      SkipInlineBlanks();
    } else {
      // Without a colon the one word is the class; a word that is no identifier stands where
      // the name would.
      if (!IsValidIdent(first)) Fail(firstAt, Quoted(first) + " is not a valid component name");
      obj.ClassName = first;
    }

    if (p_ != end_ && *p_ == '[') {
      ++p_;
      SkipInlineBlanks();
      RequireMore();
      const std::string_view word = TakeWord();
      const char* wordAt = p_ - word.size();
      obj.Index = ParseIndex(word, wordAt);
      SkipInlineBlanks();
      RequireMore();
      if (*p_ != ']') Fail(p_, "expected ']'");
      ++p_;
    }

    for (;;) {
      SkipBlanks();
      RequireMore();
      if (!IsIdentStart(*p_)) Fail(p_, "expected 'end'");
      const std::string_view word = WordAt(p_);
      if (!StartsProperty(word)) {
        if (SameText(word, "end")) {
          p_ += word.size();
          return obj;
        }
        if (const auto childOpening = OpeningKeyword(word)) {
          obj.Children.push_back(ParseObject(*childOpening, word.size()));
          continue;
        }
      }
      obj.Properties.push_back(ParseProperty());
    }
  }

  // Whether `word` at `p_` is followed by '=': then even a keyword names a property.
  bool StartsProperty(std::string_view word) const {
    const char* after = p_ + word.size();
    while (after != end_ && IsInlineBlank(*after)) ++after;
    return after != end_ && *after == '=';
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

  // `Name = value`, with `p_` on the name.
  FormProperty ParseProperty() {
    FormProperty prop;
    prop.Pos = PosAt(p_);
    const std::string_view name = TakeWord();
    if (!IsDottedIdentifier(name)) Fail(prop.Pos, Quoted(name) + " is not a valid property name");
    prop.Name = name;
    SkipInlineBlanks();
    RequireMore();
    if (*p_ != '=') Fail(p_, "expected '='");
    ++p_;
    // A value starts on the line of its name; a line break here means the value is missing,
    // not that the next line holds it.
    SkipInlineBlanks();
    if (AtLineEnd()) Fail(p_, "expected a value");
    prop.Value = ParseValue();
    return prop;
  }

  FormValue ParseValue() {
    RequireMore();
    const char c = *p_;
    switch (c) {
      case '\'':
      case '#':
        return ParseString();
      case '[':
        return ParseSet();
      case '(':
        return ParseList();
      case '{':
        return ParseBinary();
      case '<':
        return ParseCollection();
      default:
        break;
    }
    FormValue v;
    v.Pos = PosAt(p_);
    if (IsDigit(c) || c == '$' || c == '+' || c == '-') {
      const std::string_view word = TakeWord();
      bool isFloat;
      if (!IsNumber(word, isFloat)) Fail(v.Pos, Quoted(word) + " is not a valid number");
      v.kind = isFloat ? FormValue::Kind::Float : FormValue::Kind::Integer;
      v.text = word;
      return v;
    }
    if (IsIdentStart(c)) {
      const std::string_view word = WordAt(p_);
      if (SameText(word, "end") || OpeningKeyword(word)) Fail(v.Pos, "expected a value");
      if (!IsDottedIdentifier(word)) Fail(v.Pos, Quoted(word) + " is not a valid value");
      p_ += word.size();
      v.kind = FormValue::Kind::Identifier;
      v.text = word;
      return v;
    }
    Fail(v.Pos, "expected a value");
  }

  FormValue ParseString() {
    FormValue v;
    v.kind = FormValue::Kind::String;
    v.Pos = PosAt(p_);
    const char* first = p_;
    const char* last = p_;
    for (;;) {
      ScanStringPieces(v.text);
      last = p_;
      SkipBlanks();
      // `+` continues the string, unless it signs a number (the next item of a list).
      if (p_ == end_ || *p_ != '+') break;
      if (p_ + 1 != end_ && (IsDigit(p_[1]) || p_[1] == '$')) break;
      ++p_;
      SkipBlanks();
      RequireMore();
      if (*p_ != '\'' && *p_ != '#') Fail(p_, "expected a string after '+'");
    }
    v.Spelling.assign(first, last);
    return v;
  }

  // Quoted pieces and character codes written next to each other.
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
      if (p_ == end_ || *p_ == '\n') Fail(open, "unterminated string");
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
    const bool hex = p_ != end_ && *p_ == '$';
    if (hex) ++p_;
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

  FormValue ParseSet() {
    FormValue v;
    v.kind = FormValue::Kind::Set;
    v.Pos = PosAt(p_);
    ++p_;
    SkipBlanks();
    RequireMore();
    if (*p_ == ']') {
      ++p_;
      return v;
    }
    for (;;) {
      SkipBlanks();
      RequireMore();
      FormValue item;
      item.Pos = PosAt(p_);
      if (IsDelimiter(*p_)) Fail(p_, "expected a set element");
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
      v.items.push_back(std::move(item));
      SkipBlanks();
      RequireMore();
      if (*p_ == ']') {
        ++p_;
        return v;
      }
      if (*p_ != ',') Fail(p_, "expected ',' or ']'");
      ++p_;
    }
  }

  FormValue ParseList() {
    DepthGuard guard(*this, p_);
    FormValue v;
    v.kind = FormValue::Kind::List;
    v.Pos = PosAt(p_);
    ++p_;
    for (;;) {
      SkipBlanks();
      RequireMore();
      if (*p_ == ')') {
        ++p_;
        return v;
      }
      v.items.push_back(ParseValue());
    }
  }

  FormValue ParseBinary() {
    FormValue v;
    v.kind = FormValue::Kind::Binary;
    v.Pos = PosAt(p_);
    const char* first = p_;
    ++p_;
    for (;;) {
      SkipBlanks();
      RequireMore();
      const char c = *p_;
      if (c == '}') break;
      if (!IsHexDigit(c)) Fail(p_, "expected a hex digit or '}'");
      v.text += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
      ++p_;
    }
    if (v.text.size() % 2 != 0) Fail(v.Pos, "binary data has an odd number of hex digits");
    ++p_;
    v.Spelling.assign(first, p_);
    return v;
  }

  FormValue ParseCollection() {
    DepthGuard guard(*this, p_);
    FormValue v;
    v.kind = FormValue::Kind::Collection;
    v.Pos = PosAt(p_);
    ++p_;
    for (;;) {
      SkipBlanks();
      RequireMore();
      if (*p_ == '>') {
        ++p_;
        return v;
      }
      if (!SameText(WordAt(p_), "item")) Fail(p_, "expected 'item' or '>'");
      FormCollectionItem item;
      item.Pos = PosAt(p_);
      p_ += 4;
      for (;;) {
        SkipBlanks();
        RequireMore();
        if (!IsIdentStart(*p_)) Fail(p_, "expected 'end'");
        const std::string_view word = WordAt(p_);
        if (!StartsProperty(word)) {
          if (SameText(word, "end")) {
            p_ += word.size();
            break;
          }
          if (OpeningKeyword(word)) Fail(p_, "a collection item holds no objects");
        }
        item.Properties.push_back(ParseProperty());
      }
      v.collection.push_back(std::move(item));
    }
  }
};

// --- Writer --------------------------------------------------------------------------------

class Writer {
 public:
  explicit Writer(const FormTextStyle& style) : eol_(style.Crlf ? "\r\n" : "\n") {
    if (style.Bom) out_ = "\xEF\xBB\xBF";
  }

  std::string Write(const FormObject& root) {
    WriteObject(root, 0);
    return std::move(out_);
  }

 private:
  std::string out_;
  std::string_view eol_;

  void Indent(int level) { out_.append(static_cast<std::size_t>(level) * 2, ' '); }
  void NewLine(int level) {
    out_ += eol_;
    Indent(level);
  }

  void WriteObject(const FormObject& obj, int level) {
    Indent(level);
    switch (obj.opening) {
      case FormObject::Opening::Object:
        out_ += "object ";
        break;
      case FormObject::Opening::Inherited:
        out_ += "inherited ";
        break;
      case FormObject::Opening::Inline:
        out_ += "inline ";
        break;
    }
    if (!obj.Name.empty()) {
      out_ += obj.Name;
      out_ += ": ";
    }
    out_ += obj.ClassName;
    if (obj.Index) {
      out_ += " [";
      out_ += std::to_string(*obj.Index);
      out_ += ']';
    }
    out_ += eol_;
    WriteProperties(obj.Properties, level + 1);
    for (const FormObject& child : obj.Children) WriteObject(child, level + 1);
    Indent(level);
    out_ += "end";
    out_ += eol_;
  }

  void WriteProperties(const std::vector<FormProperty>& props, int level) {
    for (const FormProperty& prop : props) {
      Indent(level);
      out_ += prop.Name;
      out_ += " = ";
      WriteValue(prop.Value, level);
      out_ += eol_;
    }
  }

  // Writes `v` from the current point of a line at `level`; lines it adds go one level deeper.
  void WriteValue(const FormValue& v, int level) {
    switch (v.kind) {
      case FormValue::Kind::Integer:
      case FormValue::Kind::Float:
      case FormValue::Kind::Identifier:
        out_ += v.text;
        break;
      case FormValue::Kind::String:
        if (v.Spelling.empty())
          WriteString(v.text, level);
        else
          out_ += v.Spelling;
        break;
      case FormValue::Kind::Set:
        out_ += '[';
        for (std::size_t i = 0; i < v.items.size(); ++i) {
          if (i != 0) out_ += ", ";
          out_ += v.items[i].text;
        }
        out_ += ']';
        break;
      case FormValue::Kind::List:
        out_ += '(';
        for (const FormValue& item : v.items) {
          NewLine(level + 1);
          WriteValue(item, level + 1);
        }
        out_ += ')';
        break;
      case FormValue::Kind::Binary:
        if (!v.Spelling.empty()) {
          out_ += v.Spelling;
          break;
        }
        out_ += '{';
        for (std::size_t i = 0; i < v.text.size(); i += kLineChunk) {
          NewLine(level + 1);
          for (char c : std::string_view(v.text).substr(i, kLineChunk))
            out_ += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        out_ += '}';
        break;
      case FormValue::Kind::Collection:
        out_ += '<';
        for (const FormCollectionItem& item : v.collection) {
          NewLine(level + 1);
          out_ += "item";
          out_ += eol_;
          WriteProperties(item.Properties, level + 2);
          Indent(level + 1);
          out_ += "end";
        }
        out_ += '>';
        break;
    }
  }

  // Printable ASCII goes in quotes, everything else as #code; every kLineChunk characters the
  // string continues on a new line after ` +`.
  void WriteString(const std::string& text, int level) {
    if (text.empty()) {
      out_ += "''";
      return;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    bool quoted = false;
    std::size_t chars = 0;
    while (p != end) {
      if (chars != 0 && chars % kLineChunk == 0) {
        if (quoted) out_ += '\'';
        quoted = false;
        out_ += " +";
        NewLine(level + 1);
      }
      char32_t cp;
      std::size_t n = DecodeUtf8(p, end, cp);
      if (n == 0) {  // not UTF-8: the byte is a Latin-1 character, as the reader takes it
        cp = *p;
        n = 1;
      }
      p += n;
      ++chars;
      if (cp >= 32 && cp <= 126) {
        if (!quoted) out_ += '\'';
        quoted = true;
        out_ += static_cast<char>(cp);
        if (cp == '\'') out_ += '\'';
      } else {
        if (quoted) out_ += '\'';
        quoted = false;
        out_ += '#';
        out_ += std::to_string(static_cast<std::uint32_t>(cp));
      }
    }
    if (quoted) out_ += '\'';
  }
};

}  // namespace

EFormError::EFormError(std::string file, SourcePos pos, std::string reason)
    : Exception(file + ":" + std::to_string(pos.Line) + ":" + std::to_string(pos.Column) + ": " +
                reason),
      file_(std::move(file)),
      pos_(pos),
      reason_(std::move(reason)) {}

FormDocument ParseFormText(std::string_view text, const std::string& fileName) {
  return Reader(text, fileName).Read();
}

std::string FormatFormText(const FormObject& root, const FormTextStyle& style) {
  return Writer(style).Write(root);
}

FormDocument ReadFormFile(const std::string& path) {
  return ParseFormText(ReadWholeFile(path, kMaxTextSize), path);
}

void WriteFormFile(const std::string& path, const FormObject& root, const FormTextStyle& style) {
  SaveFileAtomically(path, FormatFormText(root, style));
}

}  // namespace host
