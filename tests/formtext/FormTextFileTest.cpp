#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "FormText.h"

namespace fs = std::filesystem;
using host::EFileError;
using host::FormObject;

namespace {

// A fresh directory for one test, removed with everything in it afterwards.
class FormFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "formtext-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::size_t EntriesInDir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  static FormObject Form(const std::string& caption) {
    FormObject root;
    root.Name = "Form1";
    root.ClassName = "TForm1";
    root.Properties.push_back({"Caption", host::FormValue::String(caption), {}});
    return root;
  }

  fs::path dir_;
};

}  // namespace

TEST_F(FormFileTest, WriteThenReadGivesTheTreeAndStyle) {
  const std::string path = (dir_ / "a.form").string();
  host::WriteFormFile(path, Form("one"), {.LineEnd = "\r\n", .Bom = false});
  host::WriteFormFile(path, Form("two"), {.LineEnd = "\r\n", .Bom = false});
  const auto doc = host::ReadFormFile(path);
  EXPECT_EQ(doc.Root, Form("two"));
  EXPECT_EQ(doc.Style.LineEnd, "\r\n");
  EXPECT_EQ(EntriesInDir(), 1u);  // no temporary file left behind
}

TEST_F(FormFileTest, OverwriteKeepsPermissionBits) {
  const fs::path path = dir_ / "a.form";
  host::WriteFormFile(path.string(), Form("one"));
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  host::WriteFormFile(path.string(), Form("two"));
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FormFileTest, FailedSaveLeavesNothingAndKeepsTheOldFile) {
  // A directory that does not exist fails for every user, root included.
  const std::string missing = (dir_ / "nowhere" / "a.form").string();
  try {
    host::WriteFormFile(missing, Form("x"));
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot write '" + missing + "': No such file or directory");
  }
  EXPECT_EQ(EntriesInDir(), 0u);

  // Renaming over a directory fails after the temporary file was written: it must go.
  fs::create_directory(dir_ / "taken");
  EXPECT_THROW(host::WriteFormFile((dir_ / "taken").string(), Form("x")), EFileError);
  EXPECT_EQ(EntriesInDir(), 1u);

  // A read-only directory; root ignores permissions, so there is nothing to check then.
  if (geteuid() != 0) {
    const fs::path path = dir_ / "a.form";
    host::WriteFormFile(path.string(), Form("old"));
    const std::string before = Slurp(path);
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(host::WriteFormFile(path.string(), Form("new")), EFileError);
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(Slurp(path), before);
    EXPECT_EQ(EntriesInDir(), 2u);
  }
}

TEST_F(FormFileTest, ReadErrorsNameThePath) {
  const std::string missing = (dir_ / "missing.form").string();
  try {
    host::ReadFormFile(missing);
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot read '" + missing + "': No such file or directory");
  }
  EXPECT_THROW(host::ReadFormFile(dir_.string()), EFileError);
}
