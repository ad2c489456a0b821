#pragma once
// A rename script: what a user does in the "Component list" dialog, one
// action a line, as text and as the command line's shorthand.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Classes.h"

namespace designer {

struct ScriptRow {
  std::int64_t Row = 0;  // as written; checked against a listing by Resolve
  int Column = 0;
};

// What a script action does.
enum class ActionKind {
  Select,      // add Rows to the selection
  SelectType,  // select the header row of the type Text
  Unselect,    // take Rows out of the selection
  UnselectAll,
  Base,          // type Text as the base name
  Start,         // set the start value
  Change,        // press Change
  CancelChange,  // press Cancel Change
  Ok,            // close the dialog with OK
  Cancel,        // close it with Cancel
};

struct ScriptAction {
  ActionKind Kind;
  int Line = 0;  // 0: from the command line
  std::vector<ScriptRow> Rows{};
  std::string Text{};
  int TextColumn = 0;
  std::int32_t Start = 0;
};

struct Script {
  std::string Source;                 // the script file, "-" for standard input
  std::vector<ScriptAction> Actions;  // always ends with Ok or Cancel
};

// Parses a script; raises ESourceError naming the line of an unknown action,
// a malformed argument, a start value beyond the 32-bit range or an action
// after the dialog was closed.
Script ParseScript(std::string_view text, const std::string& source);

// Reads and parses the script file at `path`, standard input for "-".
Script ReadScript(const std::string& path);

// --type TYPE --base BASE --start N: select the header of TYPE, type BASE,
// set N, Change, OK.
Script ShorthandScript(const std::string& type, const std::string& base, std::int32_t start);

// The script's actions for a form whose listing is `listing`: every row
// checked to be a row of it, every SelectType turned into a Select of its
// header row. Raises ESourceError naming the script line (a plain error for
// the command line's shorthand), before any action is played.
std::vector<ScriptAction> Resolve(const Script& script, const host::TStringList& listing);

}  // namespace designer
