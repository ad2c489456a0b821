#pragma once
// Descriptor-level helpers shared by the safe-file code; not for callers
// outside the host's file handling.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

namespace host {

inline std::string SystemReason(int error) { return std::strerror(error); }

// Closes a descriptor once.
class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int Get() const { return fd_; }
  // Hands the descriptor over to the caller, who closes it.
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Writes all of `text` from `offset` on; returns 0 or errno.
inline int WriteAt(int fd, std::string_view text, off_t offset) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n =
        ::pwrite(fd, text.data() + done, text.size() - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// Calls `chunk` with each piece of the file's content, from its start to its
// end; returns 0 or errno.
template <class F>
int ForEachChunk(int fd, F&& chunk) {
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    chunk(std::string_view(buffer, static_cast<std::size_t>(n)));
    at += n;
  }
}

// The whole content of the file into `text`; returns 0 or errno.
inline int ReadAll(int fd, std::string& text) {
  text.clear();
  return ForEachChunk(fd, [&](std::string_view piece) { text.append(piece); });
}

}  // namespace host
