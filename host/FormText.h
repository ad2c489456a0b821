#pragma once
// Reader and writers of the text form format.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "FormTree.h"
#include "SafeFile.h"
#include "SourceError.h"
#include "SysUtils.h"

namespace host {

// How a form file's text is laid out, so that what a save adds to it looks
// like what is there.
struct FormTextStyle {
  std::string LineEnd = "\n";  // the line end most of its lines have
  bool Bom = false;            // the text starts with a UTF-8 byte-order mark
  std::string IndentStep = "  ";
};

struct FormDocument {
  FormObject Root;
  FormTextStyle Style;
  // The text the tree was read from, which its nodes' spans point into.
  std::shared_ptr<const std::string> Text;
};

// Reads the one object of a form text, which the document keeps. `fileName`
// only names the source in errors. Raises ESourceError at the first error.
FormDocument ParseFormText(std::string text, const std::string& fileName);

// Receives each object directly inside a form's root as soon as it is read,
// with the root as read so far: its opening line and the properties before
// the child (which the handler may take).
using RootChildHandler = std::function<void(FormObject& root, FormObject& child)>;

// Reads `text` as ParseFormText does, but hands every object directly inside
// the root to `onRootChild` instead of keeping it: a large form is never held
// whole as a tree. The document's root ends with no children and the
// properties after the last one. A list that is an object's property value
// comes checked but with no items, which EachListItemAt or ReadFormValueAt
// read again from the text when asked: a list of 100,000 strings is never
// held as values.
FormDocument StreamFormText(std::shared_ptr<const std::string> text, const std::string& fileName,
                            const RootChildHandler& onRootChild);

// The value whose bytes begin at `offset` of `text`, on line `line`, read
// again as the form text it stands in was read: a text StreamFormText or
// ParseFormText read without error holds one there.
FormValue ReadFormValueAt(std::string_view text, std::uint32_t offset, int line);

// Reads the list value there as ReadFormValueAt does, but hands each item to
// `each` in turn instead of keeping it, so that a long list is never held
// whole. Stops at the first item `each` returns false for; false then, and
// when the value there is no list.
bool EachListItemAt(std::string_view text, std::uint32_t offset, int line,
                    const std::function<bool(const FormValue&)>& each);
// How many items the list value there holds: its items are checked as
// EachListItemAt reads them, but no value is made of them. 0 when the value
// there is no list.
std::size_t CountListItemsAt(std::string_view text, std::uint32_t offset, int line);

// The canonical text of a form tree, for forms made in code: one property a
// line, long strings, lists and binary data broken over lines.
std::string FormatFormText(const FormObject& root, const FormTextStyle& style = {});

// One value as the canonical text writes it, on one line where it fits.
std::string FormatFormValue(const FormValue& value);

// The text of a tree read from `source` and edited since: every node that
// still has its span is written as its bytes there (a renamed object or
// reference changing only the name), every new node in the source's style.
// A tree with no spans is written canonically.
std::string RewriteFormText(const FormObject& root, std::string_view source,
                            const FormTextStyle& style);

FormDocument ReadFormFile(const std::string& path);

// A form file's text, read whole under the file's lock, which the save
// checks; raises EFileError when it cannot be read or is larger than a form
// text may be.
struct LockedFormText {
  FileLock Lock;
  std::shared_ptr<const std::string> Text;
};
LockedFormText ReadLockedFormFile(const std::string& path);

// Writes the canonical text of `root` through a temporary file beside `path`
// renamed over it, so a failed save leaves the old file as it was; raises
// EFileError on failure.
void WriteFormFile(const std::string& path, const FormObject& root,
                   const FormTextStyle& style = {});

}  // namespace host
