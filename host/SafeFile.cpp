#include "SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace host {

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

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
  // Closes now, reporting the error a deferred write may only show here.
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

}  // namespace

std::string ReadWholeFile(const std::string& path, std::size_t maxSize) {
  auto fail = [&](const std::string& reason) -> EFileError {
    return EFileError(path, "read", reason);
  };
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) throw fail(SystemReason(errno));
  struct stat st {};
  if (::fstat(file.Get(), &st) != 0) throw fail(SystemReason(errno));
  if (S_ISDIR(st.st_mode)) throw fail(SystemReason(EISDIR));
  auto tooLarge = [&] {
    return fail("file is larger than " + std::to_string(maxSize >> 20) + " MiB");
  };
  if (static_cast<std::uint64_t>(st.st_size) > maxSize) throw tooLarge();

  std::string text;
  text.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  for (;;) {
    // The size may change while reading; grow until read reports the end.
    if (got == text.size()) {
      if (text.size() > maxSize) throw tooLarge();
      text.resize(text.size() + 4096);
    }
    const ssize_t n = ::read(file.Get(), text.data() + got, text.size() - got);
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
  auto fail = [&](const std::string& reason) -> EFileError {
    return EFileError(path, "write", reason);
  };

  std::string temp = path + ".tmp-XXXXXX";
  FileHandle file(::mkostemp(temp.data(), O_CLOEXEC));
  if (file.Get() < 0) throw fail(SystemReason(errno));
  // From here on every failure removes the temporary file before raising.
  auto failAndRemove = [&](int error) -> EFileError {
    ::unlink(temp.c_str());
    return fail(SystemReason(error));
  };

  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
  if (::fchmod(file.Get(), mode) != 0) throw failAndRemove(errno);

  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(file.Get(), text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw failAndRemove(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(file.Get()) != 0) throw failAndRemove(errno);
  if (file.Close() != 0) throw failAndRemove(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) throw failAndRemove(errno);

  // Make the rename itself durable; the new file is in place whether or not this succeeds.
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "."
                          : slash == 0               ? "/"
                                                     : path.substr(0, slash);
  FileHandle dirHandle(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirHandle.Get() >= 0) ::fsync(dirHandle.Get());
}

}  // namespace host
