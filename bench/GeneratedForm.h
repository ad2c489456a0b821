#pragma once
// The forms every benchmark works on: N components named C0, C1, … spread
// round-robin over T classes, each with two properties, and one namer. The
// first classes are the host's own controls, whose properties are published;
// the rest are classes the host does not know, kept as placeholders.

#include <memory>
#include <string>

#include "Forms.h"

namespace bench {

// The class of every component whose index leaves `classIndex` modulo T.
std::string ClassNameOf(int classIndex);

// The form's text, in the layout the designer writes.
std::string GeneratedFormText(int components, int classes);

// The same form built in memory, without the reader: the namer is the last
// component.
std::unique_ptr<host::TForm> GeneratedForm(int components, int classes);

}  // namespace bench
