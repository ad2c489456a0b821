// The lock a designer holds on a form from its read to its save.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <xxhash.h>

#include <memory>
#include <new>
#include <utility>

#include "CloseBehind.h"
#include "FileHandle.h"
#include "SafeFile.h"

namespace host {

namespace {

// A 64-bit hash of the content, fed piece by piece, equal to the hash of the
// whole text at once: any change of the content changes it, barring a freak
// collision that the size and time checks beside it make harmless in
// practice.
class ContentHash {
 public:
  ContentHash() : state_(XXH3_createState()) {
    if (!state_ || XXH3_64bits_reset(state_.get()) != XXH_OK) throw std::bad_alloc();
  }
  void Add(std::string_view bytes) { XXH3_64bits_update(state_.get(), bytes.data(), bytes.size()); }
  std::uint64_t Value() const { return XXH3_64bits_digest(state_.get()); }

 private:
  struct Free {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
  };
  std::unique_ptr<XXH3_state_t, Free> state_;
};

bool SameFile(const struct stat& st, dev_t device, ino_t inode) {
  return st.st_dev == device && st.st_ino == inode;
}

// Opens `path` and waits for its lock: the descriptor, or -1 for a file that
// is not a regular one, which has nothing to lock (the read and save refuse
// what they cannot use).
int OpenLocked(const std::string& path) {
  for (;;) {
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) throw EFileError(path, "read", SystemReason(errno));
    struct stat locked {};
    if (::fstat(file.Get(), &locked) != 0) throw EFileError(path, "read", SystemReason(errno));
    if (!S_ISREG(locked.st_mode)) return -1;
    // A file system without locks still gets the check before the save.
    while (::flock(file.Get(), LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat now {};
    // A save that held the lock may have renamed a new file over the path
    // while this one waited: that new file is the one to lock.
    if (::stat(path.c_str(), &now) == 0 && SameFile(now, locked.st_dev, locked.st_ino))
      return file.Release();
  }
}

}  // namespace

// The descriptor becomes the lock's only once nothing can fail: a lock that
// is not made closes it.
FileLock::FileLock(const std::string& path) : path_(path) {
  FileHandle file(OpenLocked(path));
  if (file.Get() < 0) return;
  read_ = Take(file.Get());
  fd_ = file.Release();
}

FileLock::FileLock(const std::string& path, std::string& text, std::size_t maxSize) : path_(path) {
  FileHandle file(OpenLocked(path));
  if (file.Get() < 0) {
    text = ReadWholeFile(path, maxSize);
    return;
  }
  struct stat st {};
  if (::fstat(file.Get(), &st) != 0) throw EFileError(path, "read", SystemReason(errno));
  text = ReadWholeFile(file.Get(), path, maxSize);
  read_ = {st.st_dev, st.st_ino, st.st_size, st.st_mtim, XXH3_64bits(text.data(), text.size())};
  fd_ = file.Release();
}

// A lock on a file a save replaced is the file's last descriptor.
FileLock::~FileLock() { CloseBehind(fd_); }

FileLock::FileLock(FileLock&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), read_(other.read_) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  std::swap(path_, other.path_);
  std::swap(fd_, other.fd_);
  std::swap(read_, other.read_);
  return *this;
}

FileLock::Snapshot FileLock::Take(int fd) const {
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw EFileError(path_, "read", SystemReason(errno));
  ContentHash hash;
  if (int error = ForEachChunk(fd, [&](std::string_view piece) { hash.Add(piece); }))
    throw EFileError(path_, "read", SystemReason(error));
  return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, hash.Value()};
}

void FileLock::CheckUnchanged(const std::string& path) const {
  if (fd_ < 0) return;
  struct stat now {};
  const bool found = ::stat(path.c_str(), &now) == 0;
  const bool lockedFile = found && SameFile(now, read_.Device, read_.Inode);
  if (!lockedFile && path != path_) return;  // another file: nothing of it was read
  const auto changed = [&] {
    return EFileError(path, "write", "changed on disk since it was read");
  };
  if (!lockedFile) throw changed();
  const Snapshot current = Take(fd_);
  if (current.Size != read_.Size || current.Modified.tv_sec != read_.Modified.tv_sec ||
      current.Modified.tv_nsec != read_.Modified.tv_nsec ||
      current.ContentHash != read_.ContentHash)
    throw changed();
}

}  // namespace host
