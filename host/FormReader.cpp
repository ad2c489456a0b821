// Objects, properties and the document of the text form format.
#include "FormReader.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace host {

namespace formtext {

FormObject Reader::ReadDocument(const RootChildHandler& onRootChild) {
  if (onRootChild) {
    onRootChild_ = &onRootChild;
    listsUnread_ = true;
  }
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

FormObject Reader::ParseObject(FormOpening opening, std::uint32_t lead) {
  DepthGuard guard(*this, p_);
  FormObject obj;
  obj.Opening = opening;
  obj.Pos = PosAt(p_);
  p_ += WordAt(p_).size();
  obj.NameSource = {Offset(), Offset()};

  std::string_view first = TakeWordOnLine("expected a class name");
  const char* firstAt = p_ - first.size();
  if (!IsValidIdent(first))
    Fail(firstAt, Format("%s is not a valid component name", {Quoted(first)}));
  SkipInlineBlanks();
  if (Accept(':')) {
    obj.Name = first;
    obj.NameSource = {static_cast<std::uint32_t>(firstAt - begin_),
                      static_cast<std::uint32_t>(firstAt - begin_ + first.size())};
    const std::string_view cls = TakeWordOnLine("expected a class name");
    if (!IsValidIdent(cls))
      Fail(p_ - cls.size(), Format("%s is not a valid class name", {Quoted(cls)}));
    obj.ClassName = cls;
  } else {
    // Without a colon the one word is the class.
    obj.ClassName = first;
  }
  obj.Source = SpanFrom(lead);

  // Blanks after the class name belong to the line, unless an index follows.
  const char* afterClass = p_;
  SkipInlineBlanks();
  if (!Accept('[')) {
    p_ = afterClass;
  } else {
    SkipInlineBlanks();
    RequireMore();
    const std::string_view word = TakeWord();
    obj.Index = ParseIndex(word, p_ - word.size());
    SkipInlineBlanks();
    Expect(']');
    obj.Source = SpanFrom(lead);
  }
  obj.EndSource =
      ParseBody(obj.Properties, &obj.Children, depth_ == 1 && onRootChild_ ? &obj : nullptr);
  return obj;
}

FormValue Reader::ReadValueAt(std::uint32_t offset, int line) {
  MoveTo(offset, line);
  return ParseValue();
}

void Reader::MoveTo(std::uint32_t offset, int line) {
  p_ = begin_ + offset;
  line_ = line;
  lineStart_ = p_;
  while (lineStart_ != begin_ && !IsLineEnd(lineStart_[-1])) --lineStart_;
  colAt_ = lineStart_;
  col_ = 1;
}

SourceSpan Reader::ParseBody(std::vector<FormProperty>& properties,
                             std::vector<FormObject>* children, FormObject* streamed) {
  // Most bodies hold a few properties: gathered in a reused buffer, they
  // then take one allocation of their exact size instead of several growing.
  std::vector<FormProperty> pending;
  if (!spareBuffers_.empty()) {
    pending = std::move(spareBuffers_.back());
    spareBuffers_.pop_back();
  }
  auto takePending = [&] {
    properties.insert(properties.end(), std::make_move_iterator(pending.begin()),
                      std::make_move_iterator(pending.end()));
    pending.clear();
  };
  for (;;) {
    const std::uint32_t lead = Offset();
    SkipBlanks();
    if (!IsIdentStart(Peek())) Fail(p_, "expected 'end'");
    const std::string_view word = WordAt(p_);
    if (!StartsProperty(word)) {
      if (SameText(word, "end")) {
        p_ += word.size();
        takePending();
        spareBuffers_.push_back(std::move(pending));
        return SpanFrom(lead);
      }
      if (const auto opening = OpeningKeyword(word)) {
        if (!children) Fail(p_, "a collection item holds no objects");
        if (streamed) {
          takePending();
          FormObject child = ParseObject(*opening, lead);
          (*onRootChild_)(*streamed, child);
        } else {
          children->push_back(ParseObject(*opening, lead));
        }
        continue;
      }
    }
    pending.push_back(ParseProperty(lead, children != nullptr));
  }
}

std::int64_t Reader::ParseIndex(std::string_view word, const char* at) {
  bool isFloat;
  const std::optional<std::int64_t> value =
      IsNumber(word, isFloat) && !isFloat ? ReadIntegerLiteral(word).Signed() : std::nullopt;
  if (!value) Fail(at, Format("%s is not a valid index", {Quoted(word)}));
  return *value;
}

FormProperty Reader::ParseProperty(std::uint32_t lead, bool ofObject) {
  FormProperty prop;
  prop.Pos = PosAt(p_);
  const std::string_view name = TakeWord();
  if (!IsDottedIdentifier(name))
    Fail(prop.Pos, Format("%s is not a valid property name", {Quoted(name)}));
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
  prop.Value =
      listsUnread_ && ofObject && *p_ == '(' ? ParseList(/*keepItems=*/false) : ParseValue();
  return prop;
}

bool Reader::NextLineIsBody() const {
  if (!IsIdentStart(*p_)) return false;
  const std::string_view word = WordAt(p_);
  return StartsProperty(word) || SameText(word, "end") || OpeningKeyword(word);
}

}  // namespace formtext

namespace {

using namespace formtext;

// The line end most of the text's lines close with. Most texts hold no
// carriage return at all, which one search settles without counting the
// line ends of the whole text.
std::string MajorityLineEnd(std::string_view text) {
  std::size_t cr = 0, crlf = 0;
  for (std::size_t i = text.find('\r'); i != text.npos; i = text.find('\r', i + 1)) {
    ++cr;
    if (i + 1 < text.size() && text[i + 1] == '\n') ++crlf;
  }
  if (cr == 0) return "\n";
  const auto lf = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  const std::size_t loneLf = lf - crlf, loneCr = cr - crlf;
  if (crlf > loneLf && crlf >= loneCr) return "\r\n";
  if (loneCr > loneLf && loneCr > crlf) return "\r";
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

// How far the first member of the root, whose span is `first`, is indented:
// the file's indentation step; two blanks when the root holds nothing.
std::string IndentStep(std::string_view text, const FormObject& root, SourceSpan first) {
  std::size_t at = first.Begin;
  while (at < text.size() && (IsInlineBlank(text[at]) || IsLineEnd(text[at]))) ++at;
  const std::string_view step = LineIndentAt(text, at);
  return step.empty() || first.Begin == root.EndSource.Begin ? "  " : std::string(step);
}

// The span of the first member of `root` in the text.
SourceSpan FirstMember(const FormObject& root) {
  SourceSpan first = root.EndSource;
  if (!root.Properties.empty()) first = root.Properties.front().Source;
  if (!root.Children.empty() && root.Children.front().Source.Begin < first.Begin)
    first = root.Children.front().Source;
  return first;
}

// The file named in errors when a value is read again; there are none.
const std::string kNoFile;

FormDocument Read(std::shared_ptr<const std::string> text, const std::string& fileName,
                  const RootChildHandler& onRootChild) {
  FormDocument doc;
  doc.Text = std::move(text);
  const std::string_view source = *doc.Text;
  std::optional<SourceSpan> first;
  const RootChildHandler handler = [&](FormObject& root, FormObject& child) {
    if (!first) first = root.Properties.empty() ? child.Source : root.Properties.front().Source;
    onRootChild(root, child);
  };
  doc.Root = Reader(source, fileName).ReadDocument(onRootChild ? handler : onRootChild);
  doc.Style.Bom = source.starts_with(kBom);
  doc.Style.LineEnd = MajorityLineEnd(source);
  doc.Style.IndentStep = IndentStep(source, doc.Root, first ? *first : FirstMember(doc.Root));
  return doc;
}

}  // namespace

FormDocument ParseFormText(std::string text, const std::string& fileName) {
  return Read(std::make_shared<const std::string>(std::move(text)), fileName, {});
}

FormDocument StreamFormText(std::shared_ptr<const std::string> text, const std::string& fileName,
                            const RootChildHandler& onRootChild) {
  return Read(std::move(text), fileName, onRootChild);
}

FormValue ReadFormValueAt(std::string_view text, std::uint32_t offset, int line) {
  return Reader(text, kNoFile).ReadValueAt(offset, line);
}

bool EachListItemAt(std::string_view text, std::uint32_t offset, int line,
                    const std::function<bool(const FormValue&)>& each) {
  return Reader(text, kNoFile).EachListItemAt(offset, line, each);
}

std::size_t CountListItemsAt(std::string_view text, std::uint32_t offset, int line) {
  return Reader(text, kNoFile).CountListItemsAt(offset, line);
}

}  // namespace host
