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

// Room for a piece of a string: each character as a quote and #1114111,
// and the closing quote.
constexpr std::size_t kPieceRoom = kLineChunk * 9 + 1;

// Writes at `out` the next piece of a string, at most kLineChunk characters
// from `p` on, and moves `p` past them; returns where the piece ends.
// Printable ASCII goes in quotes, everything else as #code; the empty
// string is ''.
char* WritePiece(const unsigned char*& p, const unsigned char* end, char* out) {
  if (p == end) {
    *out++ = '\'';
    *out++ = '\'';
    return out;
  }
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
    out = std::to_chars(out, out + 7, static_cast<std::uint32_t>(cp)).ptr;
  }
  quote(false);
  return out;
}

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
                                   const std::function<void()>& written) {
  const std::string inner = indent + std::string(step_);
  const std::string lead = std::string(eol_) + inner;
  // Short lines, a listing's every row among them, are made in a buffer that
  // goes to the text once full: one append for hundreds of lines.
  char buffer[16384];
  char* at = buffer;
  const bool buffered = lead.size() + kPieceRoom <= sizeof buffer;
  auto flush = [&] {
    out_.append(buffer, at);
    at = buffer;
    written();
  };
  out_ += '(';
  for (std::string_view line : lines) {
    if (!buffered || line.size() > kLineChunk) {
      flush();
      NewLine(inner);
      WriteString(line, inner);
      written();
      continue;
    }
    if (static_cast<std::size_t>(std::end(buffer) - at) < lead.size() + kPieceRoom) flush();
    at = std::copy(lead.begin(), lead.end(), at);
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    at = WritePiece(p, p + line.size(), at);
  }
  flush();
  out_ += ')';
}

// Every kLineChunk characters the string continues on a new line after ` +`.
void CanonicalWriter::WriteString(std::string_view text, const std::string& indent) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  char piece[kPieceRoom];
  for (;;) {
    out_.append(piece, WritePiece(p, end, piece));
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
