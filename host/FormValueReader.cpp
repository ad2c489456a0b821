// The values of the text form format: numbers, identifiers, strings, sets,
// lists, binary data and collections.
#include "FormReader.h"

namespace host::formtext {

FormValue Reader::ParseValue() {
  switch (Peek()) {
    case '\'':
    case '#':
      return ParseString();
    case '[':
      return ParseSet();
    case '(':
      return ParseList(/*keepItems=*/true);
    case '{':
      return ParseBinary();
    case '<':
      return ParseCollection();
    default:
      return ParseWord();
  }
}
void Reader::SkipValue() {
  switch (Peek()) {
    case '\'':
    case '#':
      return ScanString(nullptr);
    case '(':
      ParseList(/*keepItems=*/false);
      return;
    default:
      ParseValue();
  }
}

FormValue Reader::ParseWord() {
  FormValue v;
  v.Source.Begin = Offset();
  v.Pos = PosAt(p_);
  const char c = *p_;
  const std::string_view word = WordAt(p_);
  if (IsDigit(c) || c == '$' || c == '+' || c == '-') {
    bool isFloat;
    if (!IsNumber(word, isFloat)) Fail(v.Pos, Format("%s is not a valid number", {Quoted(word)}));
    v.Kind = isFloat ? FormValueKind::Float : FormValueKind::Integer;
  } else if (IsIdentStart(c)) {
    if (SameText(word, "end") || OpeningKeyword(word)) Fail(v.Pos, "expected a value");
    if (!IsDottedIdentifier(word)) Fail(v.Pos, Format("%s is not a valid value", {Quoted(word)}));
    v.Kind = FormValueKind::Identifier;
  } else {
    Fail(v.Pos, "expected a value");
  }
  p_ += word.size();
  v.Text = word;
  v.Source.End = Offset();
  return v;
}

FormValue Reader::ParseString() {
  FormValue v;
  v.Source.Begin = Offset();
  v.Kind = FormValueKind::String;
  v.Pos = PosAt(p_);
  ScanString(&v.Text);
  v.Source.End = Offset();
  return v;
}

void Reader::ScanString(std::string* out) {
  for (;;) {
    ScanStringPieces(out);
    // The blanks after the string belong to what follows, unless a `+`
    // continues it (a `+` that signs a number starts the next list item).
    const Mark end = Here();
    SkipBlanks();
    if (p_ == end_ || *p_ != '+' || (p_ + 1 != end_ && (IsDigit(p_[1]) || p_[1] == '$'))) {
      Return(end);
      return;
    }
    ++p_;
    SkipBlanks();
    if (Peek() != '\'' && *p_ != '#') Fail(p_, "expected a string after '+'");
  }
}

void Reader::ScanStringPieces(std::string* out) {
  while (p_ != end_ && (*p_ == '\'' || *p_ == '#')) {
    if (*p_ == '\'')
      ScanQuoted(out);
    else
      ScanCharCode(out);
  }
}

void Reader::ScanQuoted(std::string* out) {
  const char* open = p_++;
  const char* run = p_;  // bytes copied unchanged, appended in one go
  for (;;) {
    if (AtLineEnd()) Fail(open, "unterminated string");
    const auto c = static_cast<unsigned char>(*p_);
    if (c == '\'') {
      if (out) out->append(run, p_);
      if (p_ + 1 != end_ && p_[1] == '\'') {
        if (out) *out += '\'';
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
    if (out) {
      out->append(run, p_);
      AppendUtf8(*out, c);
    }
    run = ++p_;
  }
}

void Reader::ScanCharCode(std::string* out) {
  const char* hash = p_++;
  const bool hex = Accept('$');
  const char* digits = p_;
  char32_t code = 0;
  constexpr char32_t kTooBig = 0x110000;
  while (p_ != end_ && (hex ? IsHexDigit(*p_) : IsDigit(*p_))) {
    const char c = *p_++;
    const char32_t digit = HexDigitValue(c);
    code = code >= kTooBig ? kTooBig : code * (hex ? 16 : 10) + digit;
  }
  if (p_ == digits) Fail(hash, "expected a character code after '#'");
  const std::string_view written(hash, p_);
  if (code >= kTooBig) Fail(hash, Format("character code %s is out of range", {Quoted(written)}));
  if (code >= 0xD800 && code <= 0xDFFF)
    Fail(hash, Format("character code %s is a surrogate", {Quoted(written)}));
  if (out) AppendUtf8(*out, code);
}

FormValue Reader::OpenBracketed(FormValueKind kind) {
  FormValue v;
  v.Source.Begin = Offset();
  v.Kind = kind;
  v.Pos = PosAt(p_);
  ++p_;
  return v;
}

void Reader::CloseBracketed(FormValue& v) {
  ++p_;
  v.Source.End = Offset();
}

FormValue Reader::ParseSet() {
  FormValue v = OpenBracketed(FormValueKind::Set);
  SkipBlanks();
  if (Peek() != ']') {
    for (;;) {
      SkipBlanks();
      v.Items.push_back(ParseSetElement());
      SkipBlanks();
      if (Peek() == ']') break;
      if (*p_ != ',') Fail(p_, "expected ',' or ']'");
      ++p_;
    }
  }
  CloseBracketed(v);
  return v;
}

FormValue Reader::ParseSetElement() {
  FormValue item;
  item.Pos = PosAt(p_);
  const std::uint32_t begin = Offset();
  if (IsDelimiter(Peek())) Fail(p_, "expected a set element");
  const std::string_view word = TakeWord();
  bool isFloat;
  if (IsDottedIdentifier(word)) {
    item.Kind = FormValueKind::Identifier;
  } else if (IsNumber(word, isFloat) && !isFloat) {
    item.Kind = FormValueKind::Integer;
  } else {
    Fail(item.Pos, Format("%s is not a valid set element", {Quoted(word)}));
  }
  item.Text = word;
  item.Source = SpanFrom(begin);
  return item;
}

FormValue Reader::ParseList(bool keepItems) {
  DepthGuard guard(*this, p_);
  FormValue v = OpenBracketed(FormValueKind::List);
  // An outermost list counts its items first, so that they take exactly
  // their room: a namer's listing holds a string a component, which an
  // array grown by doubling would hold in up to three times that room.
  // Lists inside grow as they go, so no text is read more than twice.
  const bool outermost = !inList_;
  inList_ = true;
  if (outermost || !keepItems) {
    const Mark items = Here();
    const std::size_t count = SkipListItems();
    if (keepItems) {
      Return(items);
      v.Items.reserve(count);
    }
  }
  if (keepItems)
    for (SkipBlanks(); Peek() != ')'; SkipBlanks()) v.Items.push_back(ParseValue());
  inList_ = !outermost;
  CloseBracketed(v);
  return v;
}

bool Reader::EachListItemAt(std::uint32_t offset, int line,
                            const std::function<bool(const FormValue&)>& each) {
  MoveTo(offset, line);
  if (Peek() != '(') return false;
  ++p_;
  for (SkipBlanks(); Peek() != ')'; SkipBlanks())
    if (!each(ParseValue())) return false;
  return true;
}

std::size_t Reader::CountListItemsAt(std::uint32_t offset, int line) {
  MoveTo(offset, line);
  if (Peek() != '(') return 0;
  ++p_;
  return SkipListItems();
}

std::size_t Reader::SkipListItems() {
  std::size_t count = 0;
  for (SkipBlanks(); Peek() != ')'; SkipBlanks(), ++count) SkipValue();
  return count;
}

FormValue Reader::ParseBinary() {
  FormValue v = OpenBracketed(FormValueKind::Binary);
  for (SkipBlanks(); Peek() != '}'; SkipBlanks()) {
    const char c = *p_;
    if (!IsHexDigit(c)) Fail(p_, "expected a hex digit or '}'");
    v.Text += UpperHexDigit(c);
    ++p_;
  }
  if (v.Text.size() % 2 != 0) Fail(v.Pos, "binary data has an odd number of hex digits");
  CloseBracketed(v);
  return v;
}

FormValue Reader::ParseCollection() {
  DepthGuard guard(*this, p_);
  FormValue v = OpenBracketed(FormValueKind::Collection);
  for (SkipBlanks(); Peek() != '>'; SkipBlanks()) {
    if (!SameText(WordAt(p_), "item")) Fail(p_, "expected 'item' or '>'");
    FormCollectionItem item;
    item.Pos = PosAt(p_);
    p_ += 4;
    ParseBody(item.Properties, nullptr);
    v.Collection.push_back(std::move(item));
  }
  CloseBracketed(v);
  return v;
}

}  // namespace host::formtext
