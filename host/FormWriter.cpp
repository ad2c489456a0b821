// The canonical writer: one property a line, members one indentation step
// deeper than their object, long strings and binary data broken over lines.
#include "FormWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>

#include "CommaText.h"
#include "FormChars.h"
#include "FormText.h"

namespace host {

namespace formtext {

namespace {

// Characters of one string piece, and hex digits of one binary line.
constexpr std::size_t kLineChunk = 64;

const char* OpeningWord(FormOpening opening) {
  switch (opening) {
    case FormOpening::Inherited:
      return "inherited ";
    case FormOpening::Inline:
      return "inline ";
    case FormOpening::Object:
      break;
  }
  return "object ";
}

}  // namespace

void CanonicalWriter::NewLine(const std::string& indent) {
  out_ += eol_;
  out_ += indent;
}

void CanonicalWriter::WriteObject(const FormObject& obj, const std::string& indent) {
  out_ += indent;
  out_ += OpeningWord(obj.Opening);
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
  const std::string inner = indent + std::string(step_);
  for (const FormProperty& prop : obj.Properties) {
    out_ += eol_;
    WriteProperty(prop, inner);
  }
  for (const FormObject& child : obj.Children) {
    out_ += eol_;
    WriteObject(child, inner);
  }
  NewLine(indent);
  out_ += "end";
}

void CanonicalWriter::WriteProperty(const FormProperty& prop, const std::string& indent) {
  out_ += indent;
  out_ += prop.Name;
  out_ += " = ";
  WriteValue(prop.Value, indent);
}

void CanonicalWriter::WriteValue(const FormValue& v, const std::string& indent) {
  const std::string inner = indent + std::string(step_);
  switch (v.Kind) {
    case FormValueKind::Integer:
    case FormValueKind::Float:
    case FormValueKind::Identifier:
      out_ += v.Text;
      break;
    case FormValueKind::String:
      WriteString(v.Text, indent);
      break;
    case FormValueKind::Set:
      out_ += '[';
      out_ += CommaText(v.Items, &FormValue::Text);
      out_ += ']';
      break;
    case FormValueKind::List:
      WriteList(v.Items, indent,
                [this](const FormValue& item, const std::string& in) { WriteValue(item, in); });
      break;
    case FormValueKind::Binary:
      out_ += '{';
      for (std::size_t i = 0; i < v.Text.size(); i += kLineChunk) {
        NewLine(inner);
        for (char c : std::string_view(v.Text).substr(i, kLineChunk)) out_ += UpperHexDigit(c);
      }
      out_ += '}';
      break;
    case FormValueKind::Collection:
      out_ += '<';
      for (const FormCollectionItem& item : v.Collection) {
        NewLine(inner);
        out_ += "item";
        for (const FormProperty& prop : item.Properties) {
          out_ += eol_;
          WriteProperty(prop, inner + std::string(step_));
        }
        NewLine(inner);
        out_ += "end";
      }
      out_ += '>';
      break;
  }
}

void CanonicalWriter::WriteStrings(const PackedLines& lines, const std::string& indent,
                                   const std::function<void()>& afterLine) {
  WriteList(lines, indent, [&](std::string_view line, const std::string& in) {
    WriteString(line, in);
    afterLine();
  });
}

// Printable ASCII goes in quotes, everything else as #code; every kLineChunk
// characters the string continues on a new line after ` +`. Each piece of
// kLineChunk characters is made in a buffer and goes to the text at once:
// most strings, a listing's every row among them, are one short piece.
void CanonicalWriter::WriteString(std::string_view text, const std::string& indent) {
  if (text.empty()) {
    out_ += "''";
    return;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  // Room for each character as a quote and #1114111, and the closing quote.
  char piece[kLineChunk * 9 + 1];
  for (;;) {
    char* out = piece;
    bool quoted = false;
    auto quote = [&](bool wanted) {
      if (quoted != wanted) *out++ = '\'';
      quoted = wanted;
    };
    for (std::size_t chars = 0; chars < kLineChunk && p != end; ++chars) {
      if (*p >= 32 && *p <= 126) {
        quote(true);
        if (*p == '\'') *out++ = '\'';
        *out++ = static_cast<char>(*p++);
        continue;
      }
      char32_t cp = *p;
      std::size_t n = 1;
      // Not UTF-8: the byte is a Latin-1 character, as the reader takes it.
      if (cp >= 0x80 && (n = DecodeUtf8(p, end, cp)) == 0) {
        cp = *p;
        n = 1;
      }
      p += n;
      quote(false);
      *out++ = '#';
      out = std::to_chars(out, std::end(piece), static_cast<std::uint32_t>(cp)).ptr;
    }
    quote(false);
    out_.append(piece, out);
    if (p == end) return;
    out_ += " +";
    NewLine(indent + std::string(step_));
  }
}

}  // namespace formtext

std::string FormatFormText(const FormObject& root, const FormTextStyle& style) {
  std::string out = style.Bom ? std::string(formtext::kBom) : std::string();
  formtext::CanonicalWriter(out, style.LineEnd, style.IndentStep).WriteObject(root, "");
  out += style.LineEnd;
  return out;
}

std::string FormatFormValue(const FormValue& value) {
  std::string out;
  formtext::CanonicalWriter(out, "\n", "  ").WriteValue(value, "");
  return out;
}

}  // namespace host
