#pragma once
// The lossless writer (not for callers outside the form text units): a tree
// read from a text and edited since is written as that text, with only the
// edited nodes' bytes changed. An untouched node gives back its bytes, blanks
// and line ends before it included; a renamed object or reference changes
// only the name; a changed value only its own bytes; a node the edit added is
// written canonically, in the text's line end and indentation, at the start
// of the line of what follows it.
//
// The objects come through `Nodes`, so that a form of live components is
// written one object at a time instead of first as a whole second tree:
//   Node                        a handle of one object, cheap to copy;
//   Members(node)               the object without its children: its Name,
//                               spans and Properties (each a FormProperty or
//                               a WrittenProperty);
//   ChildCount(node), Child(node, i), Source(node)
//                               its children in order, and a child's span;
//   Whole(node)                 the object with every child, for a node the
//                               edit added (FormObject or const FormObject&).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "FormChars.h"
#include "FormText.h"
#include "FormWriter.h"

namespace host::formtext {

// A property as the rewriter takes it: the whole property, or for one
// unchanged since it was read, only where its bytes lie in the source. With
// `Strings`, the value is that list of strings, written from the strings
// themselves, and `Whole` gives only the name and place.
struct WrittenProperty {
  const FormProperty* Whole = nullptr;
  SourceSpan Source{};
  SourceSpan ValueSource{};
  const PackedLines* Strings = nullptr;
};

template <class Nodes>
class Rewriter {
 public:
  using Node = typename Nodes::Node;

  Rewriter(Nodes& nodes, std::string_view source, const FormTextStyle& style)
      : nodes_(nodes),
        source_(source),
        style_(style),
        canonical_(out_, style.LineEnd, style.IndentStep) {}

  // The whole text.
  std::string Write(Node root) {
    // Room for the edit to grow the text by half: outgrowing it would copy
    // the whole text into twice its size. Room never written takes no memory.
    std::string whole;
    whole.reserve(source_.size() + source_.size() / 2 + 4096);
    Write(root, [&](std::string_view piece) { whole += piece; });
    return whole;
  }

  // The text given to `sink` piece by piece, so that it is never held whole.
  void Write(Node root, const TextSink& sink) {
    sink_ = &sink;
    out_.reserve(2 * kPiece);
    auto&& obj = nodes_.Members(root);
    Copy(0, obj.Source.Begin);
    WriteObject(root, obj);
    Copy(obj.EndSource.End, static_cast<std::uint32_t>(source_.size()));
    Out();
    sink(out_);
  }

 private:
  Nodes& nodes_;
  std::string_view source_;
  const FormTextStyle& style_;
  std::string out_;
  CanonicalWriter canonical_;
  // New members waiting for the line of the next node that has a span, and
  // the indentation of each. They are written only once their place is
  // known, straight into the text: a new listing is never held apart. A
  // property belongs to the object being written, which outlives the wait,
  // as the object's `end` has a span; a new child is kept whole, as the nodes
  // may make it only for the asking.
  struct Pending {
    std::variant<FormObject, const FormProperty*, const WrittenProperty*> Member;
    std::string Indent;
  };
  std::vector<Pending> pending_;
  // Where the written text goes once a piece of it is ready.
  const TextSink* sink_ = nullptr;
  static constexpr std::size_t kPiece = std::size_t{1} << 18;
  // Source bytes on their way out: copies of adjacent bytes join, so that
  // the unchanged text between two edits goes out as one piece, and a long
  // one straight from the source.
  std::uint32_t runBegin_ = 0;
  std::uint32_t runEnd_ = 0;

  void Copy(std::uint32_t begin, std::uint32_t end) {
    if (begin == end) return;
    if (begin != runEnd_) {
      Out();
      runBegin_ = begin;
    }
    runEnd_ = end;
  }

  // The written text, with the copied bytes that precede what comes next.
  std::string& Out() {
    if (runBegin_ != runEnd_) Put(source_.substr(runBegin_, runEnd_ - runBegin_));
    runBegin_ = runEnd_;
    return out_;
  }

  // A text as long as a piece (a listing's property, copied or new) goes to
  // the sink straight, after what was written before it: out_ never grows
  // to hold it.
  void Put(std::string_view text) {
    if (text.size() < kPiece) {
      out_ += text;
      return;
    }
    Flush();
    (*sink_)(text);
  }

  void Flush() {
    (*sink_)(out_);
    out_.clear();
  }

  // Where the blanks and line ends starting at `at` stop.
  std::uint32_t SkipTrivia(std::uint32_t at) const {
    while (at < source_.size() && (IsInlineBlank(source_[at]) || IsLineEnd(source_[at]))) ++at;
    return at;
  }

  // The blanks that open the line holding `offset`.
  std::string IndentAt(std::uint32_t offset) const {
    std::size_t start = offset;
    while (start > 0 && !IsLineEnd(source_[start - 1])) --start;
    std::size_t stop = start;
    while (stop < offset && IsInlineBlank(source_[stop])) ++stop;
    return std::string(source_.substr(start, stop - start));
  }

  // The blanks before a node, with the new members waiting for it placed at
  // the start of its line (or before the blanks, when it shares a line).
  void CopyLead(std::uint32_t begin, std::uint32_t end) {
    if (pending_.empty()) return Copy(begin, end);
    const std::uint32_t node = SkipTrivia(begin);
    std::uint32_t lineStart = node;
    while (lineStart > begin && !IsLineEnd(source_[lineStart - 1])) --lineStart;
    // Each new member ends its line; on a line shared with what went before,
    // the members start a line of their own instead.
    const bool sharedLine = lineStart == begin;
    Copy(begin, lineStart);
    for (std::size_t i = 0; i < pending_.size(); ++i) {
      if (sharedLine) Out() += style_.LineEnd;
      std::visit([&](const auto& member) { WriteMember(member, pending_[i].Indent); },
                 pending_[i].Member);
      if (!sharedLine) out_ += style_.LineEnd;
    }
    pending_.clear();
    Copy(lineStart, end);
  }

  void AddPending(FormObject child, const std::string& indent) {
    pending_.push_back({std::move(child), indent});
  }
  template <class Property>
  void AddPending(const Property& property, const std::string& indent) {
    pending_.push_back({&property, indent});
  }

  // A new member after `indent`, with no line end.
  void WriteMember(const FormObject& child, const std::string& indent) {
    Out();
    canonical_.WriteObject(child, indent);
  }
  void WriteMember(const FormProperty* property, const std::string& indent) {
    Out();
    canonical_.WriteProperty(*property, indent);
  }
  void WriteMember(const WrittenProperty* strings, const std::string& indent) {
    Out() += indent;
    out_ += strings->Whole->Name;
    out_ += " = ";
    WriteStrings(*strings->Strings, indent);
  }

  // A list of strings, in pieces as long as it takes: a listing of 100,000
  // rows never makes out_ grow to hold it.
  void WriteStrings(const PackedLines& lines, const std::string& indent) {
    Out();
    canonical_.WriteStrings(lines, indent, [this] {
      if (out_.size() >= kPiece) Flush();
    });
  }

  static const FormProperty* WholeOf(const FormProperty& p) { return &p; }
  static const FormProperty* WholeOf(const WrittenProperty& p) { return p.Whole; }
  static SourceSpan SourceOf(const FormProperty& p) { return p.Source; }
  static SourceSpan SourceOf(const WrittenProperty& p) {
    return p.Whole ? p.Whole->Source : p.Source;
  }
  static SourceSpan ValueSourceOf(const FormProperty& p) { return p.Value.Source; }
  static SourceSpan ValueSourceOf(const WrittenProperty& p) { return p.ValueSource; }
  static const WrittenProperty* StringsOf(const FormProperty&) { return nullptr; }
  static const WrittenProperty* StringsOf(const WrittenProperty& p) {
    return p.Strings ? &p : nullptr;
  }

  // How the object's new members are indented: as its first old member, or
  // one step deeper than the object.
  template <class Object>
  std::string MemberIndent(Node node, const Object& obj) const {
    for (const auto& entry : obj.Properties)
      if (const SourceSpan p = SourceOf(entry); p.Known()) return IndentAt(SkipTrivia(p.Begin));
    for (std::size_t i = 0, n = nodes_.ChildCount(node); i < n; ++i)
      if (const SourceSpan child = nodes_.Source(nodes_.Child(node, i)); child.Known())
        return IndentAt(SkipTrivia(child.Begin));
    return IndentAt(SkipTrivia(obj.Source.Begin)) + style_.IndentStep;
  }

  template <class Object>
  void WriteObject(Node node, const Object& obj) {
    if (out_.size() >= kPiece) Flush();
    CopyLead(obj.Source.Begin, obj.NameSource.Begin);
    const SourceSpan name = obj.NameSource;
    if (source_.substr(name.Begin, name.End - name.Begin) == obj.Name) {
      Copy(name.Begin, name.End);
    } else {
      const bool added = name.Begin == name.End;
      if (added) Out() += ' ';
      Out() += obj.Name;
      if (added) out_ += ':';
    }
    Copy(obj.NameSource.End, obj.Source.End);

    // Most objects gain no member: their indentation is found only when one does.
    std::optional<std::string> indent;
    auto memberIndent = [&]() -> const std::string& {
      if (!indent) indent = MemberIndent(node, obj);
      return *indent;
    };
    const auto& props = obj.Properties;
    const std::size_t children = nodes_.ChildCount(node);
    // Old members in the order the text has them (a property may follow a
    // child object); new properties before new children.
    for (std::size_t p = 0, c = 0; p < props.size() || c < children;) {
      const SourceSpan child = c < children ? nodes_.Source(nodes_.Child(node, c)) : SourceSpan{};
      const SourceSpan next = p < props.size() ? SourceOf(props[p]) : SourceSpan{};
      const bool propertyNext = p < props.size() && (c == children || !next.Known() ||
                                                     !child.Known() || next.Begin < child.Begin);
      if (propertyNext) {
        const auto& entry = props[p++];
        if (const WrittenProperty* strings = StringsOf(entry)) {
          if (!next.Known()) {
            AddPending(*strings, memberIndent());
          } else {
            CopyLead(next.Begin, next.End);
            WriteStrings(*strings->Strings, IndentAt(SkipTrivia(next.Begin)));
          }
        } else if (const FormProperty* prop = WholeOf(entry); !prop) {
          // Unchanged since read: its bytes as they are.
          CopyLead(next.Begin, next.End);
          Copy(ValueSourceOf(entry).Begin, ValueSourceOf(entry).End);
        } else if (prop->Source.Known()) {
          WriteProperty(*prop);
        } else {
          AddPending(*prop, memberIndent());
        }
      } else if (const Node childNode = nodes_.Child(node, c++); child.Known()) {
        auto&& members = nodes_.Members(childNode);
        WriteObject(childNode, members);
      } else {
        AddPending(nodes_.Whole(childNode), memberIndent());
      }
    }
    CopyLead(obj.EndSource.Begin, obj.EndSource.End);
  }

  void WriteProperty(const FormProperty& prop) {
    CopyLead(prop.Source.Begin, prop.Source.End);
    WriteValue(prop.Value, prop.Source.Begin);
  }

  // A value of the property whose span begins at `line`: a value the edit
  // changed is written canonically, lines it adds indented from that line.
  void WriteValue(const FormValue& v, std::uint32_t line) {
    if (!v.Source.Known()) {
      Out();
      return canonical_.WriteValue(v, IndentAt(SkipTrivia(line)));
    }
    const std::string_view bytes = source_.substr(v.Source.Begin, v.Source.End - v.Source.Begin);
    switch (v.Kind) {
      case FormValueKind::Identifier:
        // A reference to a renamed component.
        if (bytes == v.Text) return Copy(v.Source.Begin, v.Source.End);
        Out() += v.Text;
        return;
      case FormValueKind::List: {
        std::uint32_t at = v.Source.Begin;
        for (const FormValue& item : v.Items) {
          Copy(at, item.Source.Begin);
          WriteValue(item, line);
          at = item.Source.End;
        }
        return Copy(at, v.Source.End);
      }
      case FormValueKind::Collection: {
        std::uint32_t at = v.Source.Begin;
        for (const FormCollectionItem& item : v.Collection)
          for (const FormProperty& prop : item.Properties) {
            Copy(at, prop.Value.Source.Begin);
            WriteValue(prop.Value, line);
            at = prop.Value.Source.End;
          }
        return Copy(at, v.Source.End);
      }
      default:
        return Copy(v.Source.Begin, v.Source.End);
    }
  }
};

}  // namespace host::formtext
