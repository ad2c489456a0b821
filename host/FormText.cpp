// Form files: reading one whole, and saving one so that a failed save loses
// nothing.
#include "FormText.h"

#include "FormChars.h"
#include "SafeFile.h"

namespace host {

FormDocument ReadFormFile(const std::string& path) {
  return ParseFormText(ReadWholeFile(path, formtext::kMaxTextSize), path);
}

void WriteFormFile(const std::string& path, const FormObject& root, const FormTextStyle& style) {
  SaveFileAtomically(path, FormatFormText(root, style));
}

}  // namespace host
