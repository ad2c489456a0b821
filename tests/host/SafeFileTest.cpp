#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "SafeFile.h"

namespace fs = std::filesystem;
using host::EFileError;

namespace {

class SafeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "safefile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    umount2(Path("tmpfs").c_str(), MNT_DETACH);  // when a test mounted one and failed
    fs::remove_all(dir_);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Put(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const EFileError& e) {
      return e.what();
    }
    return "no error";
  }

  // Waits a while for descriptors closed on another thread.
  bool NoDeletedFileStaysOpen() const {
    for (int tries = 0; tries < 500; ++tries) {
      bool open = false;
      for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::string target = fs::read_symlink(fd.path(), error).string();
        open = open || (target.starts_with(dir_.string()) && target.ends_with(" (deleted)"));
      }
      if (!open) return true;
      usleep(10'000);
    }
    return false;
  }

  fs::path dir_;
};

TEST_F(SafeFile, RefusesWhatIsNotARegularFileAndWritesNothing) {
  fs::create_directory(dir_ / "sub");
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  const struct {
    std::string path, reason;
  } cases[] = {
      {"/dev/null", "not a regular file but a character device"},
      {"/dev/full", "not a regular file but a character device"},
      {Path("sub"), "not a regular file but a directory"},
      {Path("fifo"), "not a regular file but a FIFO"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorOf([&] { host::SaveFileAtomically(c.path, "x"); }),
              "cannot write '" + c.path + "': " + c.reason);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"fifo", "sub"}));
}

TEST_F(SafeFile, FollowsSymbolicLinksAndKeepsHardLinks) {
  fs::create_directory(dir_ / "real");
  const std::string target = Put("real/a.form", "old");
  fs::create_symlink("real/a.form", dir_ / "link.form");
  host::SaveFileAtomically(Path("link.form"), "new");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.form"));
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"link.form", "real"}));

  fs::create_hard_link(target, dir_ / "hard.form");
  host::SaveFileAtomically(target, "newer and longer");
  EXPECT_EQ(Slurp(Path("hard.form")), "newer and longer");
  host::SaveFileAtomically(Path("hard.form"), "short");
  EXPECT_EQ(Slurp(target), "short");
  EXPECT_EQ(fs::hard_link_count(target), 2u);
  EXPECT_EQ(fs::directory_iterator(dir_ / "real")->path().filename(), "a.form");  // no temporary

  fs::create_symlink("nowhere.form", dir_ / "dangling.form");
  EXPECT_EQ(ErrorOf([&] { host::SaveFileAtomically(Path("dangling.form"), "x"); }),
            "cannot write '" + Path("dangling.form") + "': the symbolic link leads to no file");
}

TEST_F(SafeFile, AWriterThatFailsMidwayLeavesTheOldFile) {
  const std::string path = Put("a.form", "old");
  EXPECT_THROW(host::SaveFileAtomically(path,
                                        [](const host::TextSink& sink) {
                                          sink("half of ");
                                          throw std::runtime_error("out of memory");
                                        }),
               std::runtime_error);
  EXPECT_EQ(Slurp(path), "old");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"a.form"}));
}

// Texts of several stretches are synced while written: every byte arrives,
// and a writer failing late still leaves the old file and no other.
TEST_F(SafeFile, LargeTextsArriveWholeOrNotAtAll) {
  const std::string path = Put("a.form", "old");
  constexpr std::size_t kPiece = 100'003;
  std::string large;
  for (std::size_t i = 0; large.size() < 3 * kPiece * 12; ++i) large += std::to_string(i) + '\n';
  auto inPieces = [&](std::size_t upTo) {
    return [&, upTo](const host::TextSink& sink) {
      for (std::size_t at = 0; at < upTo; at += kPiece)
        sink(std::string_view(large).substr(at, std::min(kPiece, upTo - at)));
      if (upTo < large.size()) throw std::runtime_error("out of memory");
    };
  };
  EXPECT_THROW(host::SaveFileAtomically(path, inPieces(large.size() - 1)), std::runtime_error);
  EXPECT_EQ(Slurp(path), "old");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"a.form"}));
  host::SaveFileAtomically(path, inPieces(large.size()));
  EXPECT_EQ(Slurp(path), large);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"a.form"}));
  // A file replaced, by a save alone and under a lock, is closed off the
  // save's path, but closed: its space comes back.
  host::SaveFileAtomically(path, large);
  {
    host::FileLock lock(path);
    host::SaveFileAtomically(path, "small");
  }
  EXPECT_TRUE(NoDeletedFileStaysOpen());
}

TEST_F(SafeFile, KeepsModeAndOwnerWhereItMay) {
  const std::string path = Put("a.form", "old");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 1234, 5678), 0);
  }
  host::SaveFileAtomically(path, "new");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
  }
}

TEST_F(SafeFile, RemovesTemporariesThatAKilledSaveLeft) {
  const std::string path = Put("a.form", "old");
  Put("a.form.tmp-AbC123", "half");  // a save killed midway
  Put("b.form.tmp-AbC123", "other form's");
  Put("a.form.tmp-longer-name", "not ours");
  const std::string busy = Put("a.form.tmp-Busy00", "a save in progress");
  const int held = open(busy.c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  host::SaveFileAtomically(path, "new");
  close(held);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"a.form", "a.form.tmp-Busy00",
                                                 "a.form.tmp-longer-name", "b.form.tmp-AbC123"}));
}

TEST_F(SafeFile, LockRefusesASaveOverAFileChangedSinceItWasRead) {
  const std::string path = Put("a.form", "as read");
  {
    // Locked as it is read: the check compares the file with the bytes read.
    std::string text;
    host::FileLock lock(path, text, 1 << 20);
    EXPECT_EQ(text, "as read");
    // Another designer waits; a program that ignores the lock does not.
    const int other = open(path.c_str(), O_RDONLY);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0);
    close(other);
    EXPECT_NO_THROW(lock.CheckUnchanged(path));
    EXPECT_NO_THROW(lock.CheckUnchanged(Path("elsewhere.form")));
    Put("a.form", "as reaD");  // same size, perhaps the same time
    EXPECT_EQ(ErrorOf([&] { lock.CheckUnchanged(path); }),
              "cannot write '" + path + "': changed on disk since it was read");
  }
  {
    host::FileLock lock(path);
    const timespec longAgo[2] = {{1, 0}, {1, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), longAgo, 0), 0);  // same text, other time
    EXPECT_THROW(lock.CheckUnchanged(path), EFileError);
  }
  host::FileLock lock(path);
  host::SaveFileAtomically(path, "renamed over");  // a new file at the path
  EXPECT_THROW(lock.CheckUnchanged(path), EFileError);
}

// A small file system of its own, filled to the brim; needs the right to
// mount, which containers often lack.
TEST_F(SafeFile, FullDiskLeavesTheOldFile) {
  fs::create_directory(dir_ / "tmpfs");
  const std::string mountPoint = Path("tmpfs");
  if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here";
  const std::string single = mountPoint + "/a.form", linked = mountPoint + "/b.form";
  std::ofstream(single) << "old a";
  std::ofstream(linked) << "old b";
  fs::create_hard_link(linked, mountPoint + "/b2.form");
  // The temporary copy does not fit; for the linked file it fits, but the
  // room to write it in place as well does not.
  EXPECT_THROW(host::SaveFileAtomically(single, std::string(128 << 10, 'x')), EFileError);
  EXPECT_THROW(host::SaveFileAtomically(linked, std::string(40 << 10, 'x')), EFileError);
  EXPECT_EQ(Slurp(single), "old a");
  EXPECT_EQ(Slurp(linked), "old b");
  EXPECT_EQ(std::distance(fs::directory_iterator(mountPoint), {}), 3);
}

}  // namespace
