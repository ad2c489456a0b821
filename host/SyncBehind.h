#pragma once
// Syncing a file while it is still being written (not for callers outside
// the host's file handling): the disk takes each stretch of a large save
// while the next is made, so the save's final sync waits only for the last
// stretch instead of for the whole file after its last byte.

#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace host {

class SyncBehind {
 public:
  explicit SyncBehind(int fd) : fd_(fd) {}
  ~SyncBehind() { Finish(); }
  SyncBehind(const SyncBehind&) = delete;
  SyncBehind& operator=(const SyncBehind&) = delete;

  // The file holds `size` bytes now. The syncing starts once a stretch was
  // written before the latest piece: a small file never starts a thread.
  void Written(off_t size);
  // Waits for a sync under way and stops; returns 0, or the errno of the
  // first sync that failed, which fails the save.
  int Finish();

 private:
  static constexpr off_t kStretch = off_t{1} << 20;

  void Run();

  const int fd_;
  std::mutex mutex_;
  std::condition_variable wake_;
  off_t written_ = 0;
  bool stopping_ = false;
  bool unavailable_ = false;  // no thread could start: the final sync does it all
  int error_ = 0;
  std::thread thread_;
};

}  // namespace host
