#pragma once
// Reading a file whole, and saving one so that a failed save loses nothing:
// not the old text, not the file's links, owner or mode, and not what another
// designer saved meanwhile.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "SysUtils.h"

namespace host {

// Raised when a file cannot be read or written. The message names the file;
// Detail() says what failed without it ("cannot read: Permission denied"),
// for callers that name the file themselves.
class EFileError : public Exception {
 public:
  EFileError(const std::string& path, const std::string& action, const std::string& reason)
      : Exception(Format("cannot %s '%s': %s", {action, Excerpt(path, kPathChars), reason})),
        path_(path),
        detail_(Format("cannot %s: %s", {action, reason})) {}
  const std::string& Path() const { return path_; }
  const std::string& Detail() const { return detail_; }
  // Names its file in full, whatever file the report is about.
  std::string AboutFile(const std::string&) const override {
    return Format("%s: %s", {path_, detail_});
  }

  // Paths are echoed longer than other values: their end tells files apart.
  static constexpr std::size_t kPathChars = 300;

 private:
  std::string path_;
  std::string detail_;
};

// The bytes of the file at `path`; raises EFileError when it cannot be read
// or holds more than `maxSize` bytes.
std::string ReadWholeFile(const std::string& path, std::size_t maxSize);
// The same, of the file open at `fd`, read on from where it stands (the
// start of one just opened: a pipe has no other); `path` names it in errors.
std::string ReadWholeFile(int fd, const std::string& path, std::size_t maxSize);

// Saves `text` as the file at `path`, so that a failed save leaves the old
// file as it was; raises EFileError on failure.
// - A path that exists and is not a regular file (a device, a FIFO, a
//   directory) is refused before anything is written.
// - A symbolic link is followed: the file it leads to gets the text.
// - The new text goes to a temporary file beside the target, named after it
//   (NAME.tmp-XXXXXX), synced, then renamed over the target; temporary files
//   a killed save left behind are removed.
// - A file with more than one hard link is written in place instead, after
//   the temporary copy is safe, so every link sees the new text.
// - The old file's mode is kept, and its owner and group where the process
//   may set them.
void SaveFileAtomically(const std::string& path, const std::string& text);

// Takes a text piece by piece, as it is made.
using TextSink = std::function<void(std::string_view)>;

// Saves, as above, the text that `write` gives its sink piece by piece, so
// that a large text is never held whole: the pieces go straight to the
// temporary file. What `write` raises ends the save, which then leaves the
// old file as it was.
void SaveFileAtomically(const std::string& path, const std::function<void(const TextSink&)>& write);

// An advisory lock on a file, held from its read to its save, so that two
// designers working on one file take turns instead of losing one's work; and
// what the file was when the lock was taken, so that a save over a file a
// program that ignores the lock changed meanwhile is refused.
class FileLock {
 public:
  FileLock() = default;
  // Opens `path` and waits for its lock; raises EFileError (as a failed
  // read) when it cannot be opened.
  explicit FileLock(const std::string& path);
  // The same, and reads the file whole into `text` as ReadWholeFile does:
  // the check before a save then compares the file with exactly the bytes
  // read, which are not read a second time to be hashed.
  FileLock(const std::string& path, std::string& text, std::size_t maxSize);
  ~FileLock();
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;

  // Raises EFileError "changed on disk since it was read" when `path` is
  // the locked file (or its path) and it is no longer the file that was
  // locked, or its size, time or content differ from then.
  void CheckUnchanged(const std::string& path) const;

 private:
  struct Snapshot {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    std::uint64_t ContentHash = 0;
  };
  // What the file open at `fd` is now, its content hashed as one text.
  Snapshot Take(int fd) const;

  std::string path_;
  int fd_ = -1;
  Snapshot read_{};
};

}  // namespace host
