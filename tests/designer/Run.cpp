#include "Run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace designer_test {

Workspace::Workspace() {
  std::string pattern = (std::filesystem::temp_directory_path() / "designer-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  folder_ = pattern;
}

Workspace::~Workspace() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string Workspace::Path(const std::string& name) const { return (folder_ / name).string(); }

std::string Workspace::Write(const std::string& name, const std::string& text) const {
  std::ofstream(Path(name), std::ios::binary) << text;
  return Path(name);
}

std::string Workspace::Read(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

Outcome Workspace::Run(const std::vector<std::string>& args, const std::string& input) const {
  const std::string in = Write(".stdin", input), out = Path(".stdout"), err = Path(".stderr");
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addchdir_np(&files, folder_.c_str());

  std::vector<std::string> argv{DESIGNER};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  pid_t pid = 0;
  int spawned = posix_spawn(&pid, DESIGNER, &files, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0) throw std::runtime_error("cannot start " DESIGNER);
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(".stdout"), Read(".stderr")};
}

}  // namespace designer_test
