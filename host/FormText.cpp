// Form files: reading one whole, and saving one so that a failed save loses
// nothing.
#include "FormText.h"

#include "FormChars.h"
#include "SafeFile.h"

namespace host {

EFormError::EFormError(std::string file, SourcePos pos, std::string reason)
    : Exception(file + ":" + std::to_string(pos.Line) + ":" + std::to_string(pos.Column) + ": " +
                reason),
      file_(std::move(file)),
      pos_(pos),
      reason_(std::move(reason)) {}

FormDocument ReadFormFile(const std::string& path) {
  return ParseFormText(ReadWholeFile(path, formtext::kMaxTextSize), path);
}

void WriteFormFile(const std::string& path, const FormObject& root, const FormTextStyle& style) {
  SaveFileAtomically(path, FormatFormText(root, style));
}

}  // namespace host
