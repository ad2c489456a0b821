#include "Script.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <iterator>
#include <limits>
#include <span>

#include "Listing.h"
#include "SafeFile.h"
#include "SourceError.h"

namespace designer {

namespace {

// Far beyond any session a person could click through.
constexpr std::size_t kMaxScriptSize = std::size_t{64} << 20;

// What follows an action's name on its line.
enum class Args { None, Rows, Word, Rest, Number };

struct ActionName {
  std::string_view Name;
  ActionKind Kind;
  Args Arguments;
};

constexpr ActionName kActions[] = {
    {"select", ActionKind::Select, Args::Rows},
    {"select-type", ActionKind::SelectType, Args::Word},
    {"unselect", ActionKind::Unselect, Args::Rows},
    {"unselect-all", ActionKind::UnselectAll, Args::None},
    {"base", ActionKind::Base, Args::Rest},
    {"start", ActionKind::Start, Args::Number},
    {"change", ActionKind::Change, Args::None},
    {"cancel-change", ActionKind::CancelChange, Args::None},
    {"ok", ActionKind::Ok, Args::None},
    {"cancel", ActionKind::Cancel, Args::None},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

struct Word {
  std::string_view Text;
  int Column;  // 1-based
};

std::vector<Word> Words(std::string_view line) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    words.push_back({line.substr(i, end - i), static_cast<int>(i) + 1});
    i = end;
  }
  return words;
}

class Parser {
 public:
  explicit Parser(const std::string& source) : source_(source) {}

  Script Parse(std::string_view text) {
    Script script{source_, {}};
    for (std::size_t begin = 0; begin <= text.size(); ++line_) {
      std::size_t end = std::min(text.find('\n', begin), text.size());
      std::string_view line = text.substr(begin, end - begin);
      begin = end + 1;
      if (line.ends_with('\r')) line.remove_suffix(1);
      std::vector<Word> words = Words(line);
      if (words.empty() || words[0].Text.starts_with('#')) continue;
      if (closedOn_)
        Fail(words[0].Column, host::Format("'%s' after the dialog was closed on line %d",
                                           {host::Excerpt(words[0].Text), closedOn_}));
      script.Actions.push_back(ParseAction(line, words));
      if (script.Actions.back().Kind == ActionKind::Ok ||
          script.Actions.back().Kind == ActionKind::Cancel)
        closedOn_ = line_;
    }
    if (!closedOn_) script.Actions.push_back({ActionKind::Ok});
    return script;
  }

 private:
  [[noreturn]] void Fail(int column, const std::string& reason) const {
    throw host::ESourceError(source_, line_, column, reason);
  }

  ScriptAction ParseAction(std::string_view line, const std::vector<Word>& words) {
    const Word& name = words[0];
    auto known = std::ranges::find(kActions, name.Text, &ActionName::Name);
    if (known == std::end(kActions))
      Fail(name.Column, host::Format("unknown action '%s'", {host::Excerpt(name.Text)}));
    ScriptAction action{known->Kind, line_};
    std::span<const Word> args(words.begin() + 1, words.end());
    switch (known->Arguments) {
      case Args::None:
        if (!args.empty())
          Fail(args[0].Column, host::Format("'%s' takes no argument", {host::Excerpt(name.Text)}));
        break;
      case Args::Rows:
        if (args.empty())
          Fail(name.Column,
               host::Format("'%s' needs at least one row number", {host::Excerpt(name.Text)}));
        for (const Word& arg : args) action.Rows.push_back({RowOf(arg), arg.Column});
        break;
      case Args::Word:
        if (args.size() != 1)
          Fail(name.Column,
               host::Format("'%s' needs exactly one type name", {host::Excerpt(name.Text)}));
        action.Text = args[0].Text;
        action.TextColumn = args[0].Column;
        break;
      case Args::Rest: {
        // The text after one separator, exactly as typed: blanks are the
        // user's, as in the dialog's edit box.
        std::size_t after = static_cast<std::size_t>(name.Column - 1) + name.Text.size();
        action.Text = after < line.size() ? line.substr(after + 1) : std::string_view();
        action.TextColumn = static_cast<int>(after) + 2;
        break;
      }
      case Args::Number:
        if (args.size() != 1)
          Fail(name.Column,
               host::Format("'%s' needs exactly one number", {host::Excerpt(name.Text)}));
        action.Start = StartOf(args[0]);
        break;
    }
    return action;
  }

  std::int64_t RowOf(const Word& word) const {
    std::int64_t row = 0;
    auto [end, error] = std::from_chars(word.Text.data(), word.Text.data() + word.Text.size(), row);
    if (word.Text[0] < '0' || word.Text[0] > '9' || error != std::errc() ||
        end != word.Text.data() + word.Text.size())
      Fail(word.Column, host::Format("'%s' is not a row number (rows count from 0)",
                                     {host::Excerpt(word.Text)}));
    return row;
  }

  std::int32_t StartOf(const Word& word) const {
    using Limits = std::numeric_limits<std::int32_t>;
    std::int64_t value = 0;
    auto [end, error] =
        std::from_chars(word.Text.data(), word.Text.data() + word.Text.size(), value);
    if (end != word.Text.data() + word.Text.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range))
      Fail(word.Column, host::Format("'%s' is not a whole number", {host::Excerpt(word.Text)}));
    if (error != std::errc() || value < Limits::min() || value > Limits::max())
      Fail(word.Column, host::Format("start value %s is beyond what the spin box holds (%d to %d)",
                                     {host::Excerpt(word.Text), Limits::min(), Limits::max()}));
    return static_cast<std::int32_t>(value);
  }

  const std::string& source_;
  int line_ = 1;
  int closedOn_ = 0;
};

}  // namespace

Script ParseScript(std::string_view text, const std::string& source) {
  return Parser(source).Parse(text);
}

Script ReadScript(const std::string& path) {
  if (path == "-") {
    std::string text(std::istreambuf_iterator<char>(std::cin), {});
    return ParseScript(text, "<stdin>");
  }
  return ParseScript(host::ReadWholeFile(path, kMaxScriptSize), path);
}

Script ShorthandScript(const std::string& type, const std::string& base, std::int32_t start) {
  std::vector<ScriptAction> actions;
  actions.push_back({.Kind = ActionKind::SelectType, .Text = type});
  actions.push_back({.Kind = ActionKind::Base, .Text = base});
  actions.push_back({.Kind = ActionKind::Start, .Start = start});
  actions.push_back({ActionKind::Change});
  actions.push_back({ActionKind::Ok});
  return {"command line", std::move(actions)};
}

std::vector<ScriptAction> Resolve(const Script& script, const host::TStringList& listing) {
  auto fail = [&](const ScriptAction& action, int column, const std::string& reason) {
    if (action.Line == 0) throw host::Exception(reason);
    throw host::ESourceError(script.Source, action.Line, column, reason);
  };
  const std::int64_t count = listing.Count();
  std::vector<ScriptAction> resolved;
  for (const ScriptAction& action : script.Actions) {
    resolved.push_back(action);
    for (const ScriptRow& row : action.Rows)
      if (row.Row >= count)
        fail(action, row.Column,
             host::Format("row %d is not in the listing, whose rows are 0 to %d",
                          {row.Row, count - 1}));
    if (action.Kind != ActionKind::SelectType) continue;
    auto header = std::find_if(listing.begin(), listing.end(), [&](std::string_view line) {
      return line == action.Text && !cnamer::IsComponentRow(line);
    });
    if (header == listing.end())
      fail(action, action.TextColumn,
           host::Format("the listing has no type '%s'", {host::Excerpt(action.Text)}));
    resolved.back() = {.Kind = ActionKind::Select,
                       .Line = action.Line,
                       .Rows = {{static_cast<std::int64_t>(header.Index()), action.TextColumn}}};
  }
  return resolved;
}

}  // namespace designer
