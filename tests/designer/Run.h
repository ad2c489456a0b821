#pragma once
// Runs the built designer program as a separate process, in a temporary
// folder of its own, and collects what it printed and its exit status.

#include <filesystem>
#include <string>
#include <vector>

namespace designer_test {

struct Outcome {
  int Status = -1;  // the exit status; -1 when the process did not exit
  std::string Out;
  std::string Err;
};

class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // The path of `name` in the folder.
  std::string Path(const std::string& name) const;
  std::string Write(const std::string& name, const std::string& text) const;
  std::string Read(const std::string& name) const;

  // Runs the designer in the folder with `args`, giving it `input` on
  // standard input.
  Outcome Run(const std::vector<std::string>& args, const std::string& input = {}) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace designer_test
