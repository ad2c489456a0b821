#include "CloseBehind.h"

#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <system_error>
#include <thread>

namespace host {

namespace {

// One close under way at a time: saves come one after another, so the
// previous close has long ended when the next one starts.
class Closer {
 public:
  ~Closer() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) thread_.join();
  }
  void Start(int fd) {
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) thread_.join();
    try {
      thread_ = std::thread([fd] { ::close(fd); });
    } catch (const std::system_error&) {
      ::close(fd);
    }
  }

 private:
  std::mutex mutex_;
  std::thread thread_;
};

}  // namespace

void CloseBehind(int fd) {
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_nlink > 0) {
    ::close(fd);
    return;
  }
  static Closer closer;
  closer.Start(fd);
}

}  // namespace host
