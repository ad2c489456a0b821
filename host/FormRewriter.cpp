// The lossless writer: a tree read from a text and edited since is written as
// that text, with only the edited nodes' bytes changed. An untouched node
// gives back its bytes, blanks and line ends before it included; a renamed
// object or reference changes only the name; a changed value only its own
// bytes; a node the edit added is written canonically, in the text's line
// end and indentation, at the start of the line of what follows it.
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "FormChars.h"
#include "FormText.h"
#include "FormWriter.h"

namespace host {

namespace {

using namespace formtext;

class Rewriter {
 public:
  Rewriter(std::string_view source, const FormTextStyle& style)
      : source_(source), style_(style), canonical_(out_, style.LineEnd, style.IndentStep) {}

  std::string Write(const FormObject& root) {
    out_.reserve(source_.size() + 1024);
    Copy(0, root.Source.Begin);
    WriteObject(root);
    Copy(root.EndSource.End, static_cast<std::uint32_t>(source_.size()));
    return std::move(out_);
  }

 private:
  std::string_view source_;
  const FormTextStyle& style_;
  std::string out_;
  CanonicalWriter canonical_;
  // New members waiting for the line of the next node that has a span.
  std::string pending_;

  void Copy(std::uint32_t begin, std::uint32_t end) {
    out_.append(source_.substr(begin, end - begin));
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
    if (lineStart == begin) {
      out_ += style_.LineEnd;
      pending_.resize(pending_.size() - style_.LineEnd.size());
    }
    Copy(begin, lineStart);
    out_ += pending_;
    pending_.clear();
    Copy(lineStart, end);
  }

  // A new member, after `indent`, ending with a line end.
  template <class Member>
  void AddPending(const Member& member, const std::string& indent) {
    std::swap(out_, pending_);
    if constexpr (std::is_same_v<Member, FormObject>)
      canonical_.WriteObject(member, indent);
    else
      canonical_.WriteProperty(member, indent);
    out_ += style_.LineEnd;
    std::swap(out_, pending_);
  }

  // How the object's new members are indented: as its first old member, or
  // one step deeper than the object.
  std::string MemberIndent(const FormObject& obj) const {
    for (const FormProperty& p : obj.Properties)
      if (p.Source.Known()) return IndentAt(SkipTrivia(p.Source.Begin));
    for (const FormObject& c : obj.Children)
      if (c.Source.Known()) return IndentAt(SkipTrivia(c.Source.Begin));
    return IndentAt(SkipTrivia(obj.Source.Begin)) + style_.IndentStep;
  }

  void WriteObject(const FormObject& obj) {
    CopyLead(obj.Source.Begin, obj.NameSource.Begin);
    if (obj.NameSource.Begin == obj.NameSource.End && !obj.Name.empty()) out_ += ' ';
    out_ += obj.Name;
    if (obj.NameSource.Begin == obj.NameSource.End && !obj.Name.empty()) out_ += ':';
    Copy(obj.NameSource.End, obj.Source.End);

    const std::string indent = MemberIndent(obj);
    const std::vector<FormProperty>& props = obj.Properties;
    const std::vector<FormObject>& children = obj.Children;
    // Old members in the order the text has them (a property may follow a
    // child object); new properties before new children.
    for (std::size_t p = 0, c = 0; p < props.size() || c < children.size();) {
      const bool propertyNext =
          p < props.size() &&
          (c == children.size() || !props[p].Source.Known() || !children[c].Source.Known() ||
           props[p].Source.Begin < children[c].Source.Begin);
      if (propertyNext) {
        WriteProperty(props[p++], indent);
      } else if (const FormObject& child = children[c++]; child.Source.Known()) {
        WriteObject(child);
      } else {
        AddPending(child, indent);
      }
    }
    CopyLead(obj.EndSource.Begin, obj.EndSource.End);
  }

  void WriteProperty(const FormProperty& prop, const std::string& indent) {
    if (!prop.Source.Known()) return AddPending(prop, indent);
    CopyLead(prop.Source.Begin, prop.Source.End);
    WriteValue(prop.Value, IndentAt(SkipTrivia(prop.Source.Begin)));
  }

  void WriteValue(const FormValue& v, const std::string& indent) {
    if (!v.Source.Known()) return canonical_.WriteValue(v, indent);
    const std::string_view bytes = source_.substr(v.Source.Begin, v.Source.End - v.Source.Begin);
    switch (v.kind) {
      case FormValue::Kind::Identifier:
        // A reference to a renamed component.
        out_ += bytes == v.text ? bytes : std::string_view(v.text);
        return;
      case FormValue::Kind::List: {
        std::uint32_t at = v.Source.Begin;
        for (const FormValue& item : v.items) {
          Copy(at, item.Source.Begin);
          WriteValue(item, indent);
          at = item.Source.End;
        }
        return Copy(at, v.Source.End);
      }
      case FormValue::Kind::Collection: {
        std::uint32_t at = v.Source.Begin;
        for (const FormCollectionItem& item : v.collection)
          for (const FormProperty& prop : item.Properties) {
            Copy(at, prop.Value.Source.Begin);
            WriteValue(prop.Value, indent);
            at = prop.Value.Source.End;
          }
        return Copy(at, v.Source.End);
      }
      default:
        out_ += bytes;
        return;
    }
  }
};

}  // namespace

std::string RewriteFormText(const FormObject& root, std::string_view source,
                            const FormTextStyle& style) {
  if (!root.Source.Known()) return FormatFormText(root, style);
  return Rewriter(source, style).Write(root);
}

}  // namespace host
