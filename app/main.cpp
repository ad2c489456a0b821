// The designer program: loads the package, then runs one subcommand on form
// files. Exit status 0 on success, 1 after an error, 2 for a usage error.
#include <CLI/CLI.hpp>

#include <iostream>

#include "Commands.h"
#include "Errors.h"
#include "HugePages.h"
#include "LoadedPackages.h"
#include "WindowModule.h"

namespace {

constexpr int kUsageError = 2;

constexpr const char* kScriptHelp =
    R"(Script actions, one a line (blank lines and # comments are ignored):
  select ROW...        add rows of the listing (0-based) to the selection
  select-type TYPE     select the header row of TYPE
  unselect ROW...      take rows out of the selection
  unselect-all         clear the selection
  base TEXT            the base name: the rest of the line after one space
  start N              the start value
  change               press Change
  cancel-change        press Cancel Change
  ok                   close the dialog with OK (the end of every script without ok or cancel)
  cancel               close the dialog with Cancel
Prints "Old -> New" for each component whose name changed, form after form.)";

struct Arguments {
  std::vector<std::string> Packages;
  std::string Form;
  std::string ClassName;
  std::optional<std::string> Name;
  std::string Component;
  std::string Type;
  std::string Base;
  std::int32_t Start = 1;
  std::string ScriptFile;
  designer::RenameOptions Rename;
};

// The rename session the options describe: a script, or the shorthand.
designer::Script SessionOf(const CLI::App& rename, const Arguments& args) {
  if (rename.count("--script")) return designer::ReadScript(args.ScriptFile);
  if (!rename.count("--type"))
    throw CLI::ValidationError("rename needs --type and --base, or --script");
  return designer::ShorthandScript(args.Type, args.Base, args.Start);
}

// CLI11 says only that a subcommand is required when the word typed is none
// of them; name the word instead.
std::string UsageMessage(const CLI::App& app, const CLI::ParseError& error, int argc, char** argv) {
  if (app.get_subcommands().empty())
    for (int i = 1; i < argc; ++i) {
      const std::string_view word = argv[i];
      if (word == "--package") {
        ++i;
      } else if (!word.starts_with('-')) {
        return host::Format("unknown command '%s'", {host::Excerpt(word)});
      }
    }
  return error.what();
}

int Run(int argc, char** argv) {
  Arguments args;
  CLI::App app("Places a component namer on form files and renames their components in blocks.",
               "designer");
  app.require_subcommand(1);
  app.fallthrough();
  app.add_option("--package", args.Packages,
                 "load this package instead of libOmbrelux.so beside the designer (repeatable)")
      ->type_name("PATH")
      ->allow_extra_args(false);

  CLI::App* palette = app.add_subcommand("palette", "Print the palette: one line per page");
  CLI::App* list = app.add_subcommand("list", "Print the listing of the form's namer");
  list->add_option("FORM", args.Form, "form file")->required();
  CLI::App* add = app.add_subcommand("add", "Place a component of a palette class on the form");
  add->add_option("FORM", args.Form, "form file")->required();
  add->add_option("CLASS", args.ClassName, "class from the palette")->required();
  add->add_option("--name", args.Name, "name (default: class name without T, and a number)");
  CLI::App* inspect =
      app.add_subcommand("inspect", "Print the object inspector's view of one component");
  inspect->add_option("FORM", args.Form, "form file")->required();
  inspect->add_option("COMPONENT", args.Component, "component name")->required();

  CLI::App* rename = app.add_subcommand(
      "rename", "Rename components in the namer's dialog, played from a script, and save");
  rename->add_option("FORM", args.Rename.Forms, "form files, each given the same session")
      ->required();
  CLI::Option* type = rename->add_option("--type", args.Type, "select the header row of TYPE");
  CLI::Option* base = rename->add_option("--base", args.Base, "base name (with --type)");
  CLI::Option* start = rename->add_option("--start", args.Start, "start value (default 1)");
  type->needs(base);
  base->needs(type);
  start->needs(type);
  rename->add_option("--script", args.ScriptFile, "the session's actions, - for standard input")
      ->type_name("FILE|-")
      ->excludes(type)
      ->excludes(base)
      ->excludes(start);
  rename->add_option("--output", args.Rename.Output, "write the form here (single form only)");
  rename->add_flag("--dry-run", args.Rename.DryRun, "rename in memory only; write nothing");
  rename->footer(kScriptHelp);

  CLI::App* edit = app.add_subcommand(
      "edit", "Rename components in the namer's dialog, shown in a window, and save on OK");
  edit->add_option("FORM", args.Form, "form file")->required();
  CLI::App* gui = app.add_subcommand("gui", "Open the designer window");
  std::optional<std::string> guiForm;
  gui->add_option("FORM", guiForm, "form file to open");

  designer::Script script;
  try {
    app.parse(argc, argv);
    if (args.Rename.Output && args.Rename.Forms.size() > 1)
      throw CLI::ValidationError("--output goes with a single form only");
    // Started again, if at all, before anything is read: standard input
    // cannot be read twice.
    std::vector<std::string> forms = args.Rename.Forms;
    if (!args.Form.empty()) forms.push_back(args.Form);
    if (guiForm) forms.push_back(*guiForm);
    designer::RestartWithHugePagesFor(argv, forms);
    if (rename->parsed()) script = SessionOf(*rename, args);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    designer::Report(host::Format("usage: %s (see --help)", {UsageMessage(app, e, argc, argv)}));
    return kUsageError;
  } catch (const std::exception& e) {
    designer::Report(designer::Located(args.ScriptFile, e));
    return 1;
  }

  std::optional<designer::LoadedPackages> packages;
  try {
    if (args.Packages.empty()) args.Packages.push_back(designer::DefaultPackagePath());
    packages.emplace(args.Packages);
  } catch (const std::exception& e) {
    designer::Report(e.what());
    return 1;
  }
  int status = 0;
  if (palette->parsed()) status = designer::PaletteCommand();
  if (list->parsed()) status = designer::ListCommand(args.Form);
  if (add->parsed()) status = designer::AddCommand(args.Form, args.ClassName, args.Name);
  if (inspect->parsed()) status = designer::InspectCommand(args.Form, args.Component);
  if (rename->parsed()) status = designer::RenameCommand(script, args.Rename);
  if (edit->parsed()) status = designer::EditInWindow(args.Form);
  if (gui->parsed()) status = designer::OpenDesignerWindow(guiForm);
  return packages->Unload() ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return Run(argc, argv);
}
