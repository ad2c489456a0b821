#include "SyncBehind.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace host {

void SyncBehind::Written(off_t size) {
  off_t before = 0;
  {
    std::lock_guard lock(mutex_);
    before = std::exchange(written_, size);
  }
  if (thread_.joinable()) return wake_.notify_one();
  // Only a stretch written before the latest piece starts the syncing: a
  // text given in one piece has nothing left to be made meanwhile.
  if (before < kStretch || unavailable_) return;
  try {
    thread_ = std::thread(&SyncBehind::Run, this);
  } catch (const std::system_error&) {
    unavailable_ = true;
  }
}

int SyncBehind::Finish() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
  return error_;
}

void SyncBehind::Run() {
  std::unique_lock lock(mutex_);
  off_t synced = 0;
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || written_ - synced >= kStretch; });
    if (stopping_) return;
    const off_t target = written_;
    lock.unlock();
    const int error = ::fdatasync(fd_) == 0 ? 0 : errno;
    lock.lock();
    if (error && !error_) error_ = error;
    synced = target;
  }
}

}  // namespace host
