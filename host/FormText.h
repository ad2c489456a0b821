#pragma once
// Reader and writer of the text form format.

#include <string>
#include <string_view>

#include "FormTree.h"
#include "SafeFile.h"
#include "SysUtils.h"

namespace host {

// How a form file's text was laid out, so that writing it back keeps it.
struct FormTextStyle {
  bool Crlf = false;  // lines end with CR LF
  bool Bom = false;   // the text starts with a UTF-8 byte-order mark
};

struct FormDocument {
  FormObject Root;
  FormTextStyle Style;
};

// An error in a form file, or in a form resource: where it is and what is
// wrong. The message reads "file:line:column: reason".
class EFormError : public Exception {
 public:
  EFormError(std::string file, SourcePos pos, std::string reason);
  const std::string& File() const { return file_; }
  SourcePos Pos() const { return pos_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  SourcePos pos_;
  std::string reason_;
};

// Reads the one object of a form text. `fileName` only names the source in
// errors. Raises EFormError at the first error.
FormDocument ParseFormText(std::string_view text, const std::string& fileName);

// The text of a form tree: two spaces of indentation per level, one property
// a line, long strings, lists and binary data broken over lines.
std::string FormatFormText(const FormObject& root, const FormTextStyle& style = {});

FormDocument ReadFormFile(const std::string& path);

// Writes through a temporary file beside `path` renamed over it, so a failed
// save leaves the old file as it was; raises EFileError on failure.
void WriteFormFile(const std::string& path, const FormObject& root,
                   const FormTextStyle& style = {});

}  // namespace host
