#include "SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "CloseBehind.h"
#include "FileHandle.h"
#include "SyncBehind.h"

namespace host {

namespace {

// The permission bits a newly created file gets: what the process's umask leaves of 0666.
// The umask is read from /proc, because setting it to learn it would race with other threads.
mode_t NewFileMode() {
  mode_t mask = 022;
  if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      unsigned int value;
      if (std::sscanf(line, "Umask: %o", &value) == 1) {
        mask = static_cast<mode_t>(value);
        break;
      }
    }
    std::fclose(f);
  }
  return 0666 & ~mask;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

// The file a save of `path` replaces: `path` itself, or the file its
// symbolic links lead to, whose directory then holds the temporary file.
std::string SaveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  struct Free {
    void operator()(char* p) const { std::free(p); }
  };
  std::unique_ptr<char, Free> resolved(::realpath(path.c_str(), nullptr));
  if (!resolved)
    throw EFileError(path, "write",
                     errno == ENOENT ? "the symbolic link leads to no file" : SystemReason(errno));
  return resolved.get();
}

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporaryRandom = 6;  // the XXXXXX of mkostemp

// Removes the temporary files that saves of `target` killed midway left. A
// save in progress holds a lock on its temporary file, so it is passed over.
void RemoveStaleTemporaries(const std::string& target) {
  struct CloseDir {
    void operator()(DIR* d) const { ::closedir(d); }
  };
  std::unique_ptr<DIR, CloseDir> dir(::opendir(DirectoryOf(target).c_str()));
  if (!dir) return;  // the save itself reports what is wrong with the directory
  const std::string prefix = BaseNameOf(target) + std::string(kTemporaryMark);
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + kTemporaryRandom || !name.starts_with(prefix)) continue;
    FileHandle file(::openat(::dirfd(dir.get()), entry->d_name,
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::flock(file.Get(), LOCK_EX | LOCK_NB) == 0)
      ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
  }
}

// A temporary file that is removed unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target)
      : path_(target + std::string(kTemporaryMark) + std::string(kTemporaryRandom, 'X')),
        file_(::mkostemp(path_.data(), O_CLOEXEC)) {
    if (file_.Get() < 0) throw EFileError(target, "write", SystemReason(errno));
    // The lock tells a concurrent save's clean-up that this file is alive.
    ::flock(file_.Get(), LOCK_EX);
  }
  ~TemporaryFile() {
    if (!kept_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Get() const { return file_.Get(); }
  const std::string& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  FileHandle file_;
  bool kept_ = false;
};

// The old file's owner and group on the new one, as far as the process may
// give them: only root gives a file away, a member of a group may give it
// that group. A file the process may not give away stays its own.
bool KeepOwner(int fd, const struct stat& old) {
  return ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
         ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// Gives the file `text` as its whole content, synced; returns 0 or errno.
int Rewrite(int fd, std::string_view text) {
  if (int error = WriteAt(fd, text, 0)) return error;
  if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) return errno;
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Puts `text` into the file `target` itself, which keeps its inode and so
// every hard link to it. The room is reserved first, so a full disk fails
// before the old text is touched; a later failure puts the old text back.
void WriteInPlace(const std::string& path, const std::string& target, std::string_view text) {
  auto fail = [&](int error) { return EFileError(path, "write", SystemReason(error)); };
  FileHandle file(::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
  if (file.Get() < 0) throw fail(errno);
  if (!text.empty() &&
      ::fallocate(file.Get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(text.size())) != 0 &&
      errno != EOPNOTSUPP && errno != ENOSYS)
    throw fail(errno);
  std::string old;
  if (int error = ReadAll(file.Get(), old)) throw fail(error);
  if (int error = Rewrite(file.Get(), text)) {
    Rewrite(file.Get(), old);
    throw fail(error);
  }
}

void SyncDirectoryOf(const std::string& path) {
  FileHandle dir(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
}

}  // namespace

std::string ReadWholeFile(const std::string& path, std::size_t maxSize) {
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) throw EFileError(path, "read", SystemReason(errno));
  return ReadWholeFile(file.Get(), path, maxSize);
}

std::string ReadWholeFile(int fd, const std::string& path, std::size_t maxSize) {
  auto fail = [&](const std::string& reason) -> EFileError {
    return EFileError(path, "read", reason);
  };
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw fail(SystemReason(errno));
  if (S_ISDIR(st.st_mode)) throw fail(SystemReason(EISDIR));
  auto tooLarge = [&] {
    return fail(Format("file is larger than %d MiB", {static_cast<std::int64_t>(maxSize >> 20)}));
  };
  if (static_cast<std::uint64_t>(st.st_size) > maxSize) throw tooLarge();

  // One byte more than the size, so that the read reporting the end needs no
  // larger buffer: growing would copy the whole text into twice its size.
  std::string text;
  text.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t got = 0;
  for (;;) {
    // The size may change while reading; grow until read reports the end.
    if (got == text.size()) {
      if (text.size() > maxSize) throw tooLarge();
      text.resize(text.size() + 4096);
    }
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fail(SystemReason(errno));
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  text.resize(got);
  return text;
}

void SaveFileAtomically(const std::string& path, const std::string& text) {
  SaveFileAtomically(path, [&](const TextSink& sink) { sink(text); });
}

void SaveFileAtomically(const std::string& path,
                        const std::function<void(const TextSink&)>& write) {
  auto fail = [&](const std::string& reason) { return EFileError(path, "write", reason); };
  const std::string target = SaveTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) throw fail(SystemReason(errno));
  if (exists && !S_ISREG(old.st_mode))
    throw fail(Format("not a regular file but %s", {KindOf(old.st_mode)}));

  RemoveStaleTemporaries(target);
  TemporaryFile temp(target);
  if (exists) KeepOwner(temp.Get(), old);
  if (::fchmod(temp.Get(), exists ? (old.st_mode & 07777) : NewFileMode()) != 0)
    throw fail(SystemReason(errno));
  off_t written = 0;
  // Ends, joining its thread, before the temporary file is closed.
  SyncBehind syncing(temp.Get());
  write([&](std::string_view piece) {
    if (int error = WriteAt(temp.Get(), piece, written)) throw fail(SystemReason(error));
    written += static_cast<off_t>(piece.size());
    syncing.Written(written);
  });
  if (int error = syncing.Finish()) throw fail(SystemReason(error));
  if (::fsync(temp.Get()) != 0) throw fail(SystemReason(errno));

  if (exists && old.st_nlink > 1) {
    // Rare: the text is read back whole from the copy that is now safe.
    std::string text;
    if (int error = ReadAll(temp.Get(), text)) throw fail(SystemReason(error));
    return WriteInPlace(path, target, text);
  }
  // Held across the rename, so that dropping the replaced file's pages
  // happens off the save's path.
  FileHandle replaced(
      exists ? ::open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC) : -1);
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) throw fail(SystemReason(errno));
  temp.Keep();
  CloseBehind(replaced.Release());
  // Make the rename itself durable; the new file is in place whether or not this succeeds.
  SyncDirectoryOf(target);
}

}  // namespace host
