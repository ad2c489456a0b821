// Form files: reading one whole, and saving one so that a failed save loses
// nothing.
#include "FormText.h"

#include "FormChars.h"
#include "SafeFile.h"

namespace host {

FormDocument ReadFormFile(const std::string& path) {
  return ParseFormText(ReadWholeFile(path, formtext::kMaxTextSize), path);
}

LockedFormText ReadLockedFormFile(const std::string& path) {
  std::string text;
  FileLock lock(path, text, formtext::kMaxTextSize);
  return {std::move(lock), std::make_shared<const std::string>(std::move(text))};
}

void WriteFormFile(const std::string& path, const FormObject& root, const FormTextStyle& style) {
  SaveFileAtomically(path, FormatFormText(root, style));
}

}  // namespace host
