// Form files: reading one whole, and saving one so that a failed save loses
// nothing.
#include "FormText.h"

#include "FormChars.h"
#include "SafeFile.h"

namespace host {

FormDocument ReadFormFile(const std::string& path) {
  return ParseFormText(ReadWholeFile(path, formtext::kMaxTextSize), path);
}

std::shared_ptr<const std::string> ReadFormFileText(const std::string& path) {
  return std::make_shared<const std::string>(ReadWholeFile(path, formtext::kMaxTextSize));
}

void WriteFormFile(const std::string& path, const FormObject& root, const FormTextStyle& style) {
  SaveFileAtomically(path, FormatFormText(root, style));
}

}  // namespace host
