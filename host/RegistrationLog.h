#pragma once
// The registration log: how to undo each registration made while a package
// starts, so that unloading the package, or a start that fails part-way, takes
// out exactly what it put in. The registries record into the open log and the
// loader replays it; neither knows the other.

#include <functional>
#include <utility>
#include <vector>

namespace host {

class TRegistrationLog {
 public:
  TRegistrationLog() = default;
  TRegistrationLog(TRegistrationLog&&) = default;
  TRegistrationLog& operator=(TRegistrationLog&&) = default;
  TRegistrationLog(const TRegistrationLog&) = delete;
  TRegistrationLog& operator=(const TRegistrationLog&) = delete;

  void Record(std::function<void()> undo) { undos_.push_back(std::move(undo)); }
  // Runs the recorded undos, the latest first, and forgets them.
  void Replay();
  bool Empty() const { return undos_.empty(); }

 private:
  std::vector<std::function<void()>> undos_;
};

// Records into the open log how to undo a registration just made. With no
// log open (the host's own registrations) the registration stays for good.
void RecordRegistration(std::function<void()> undo);

// Opens `log` for the registrations made while the scope lives.
class TRegistrationScope {
 public:
  explicit TRegistrationScope(TRegistrationLog& log);
  ~TRegistrationScope();
  TRegistrationScope(const TRegistrationScope&) = delete;
  TRegistrationScope& operator=(const TRegistrationScope&) = delete;

 private:
  TRegistrationLog* previous_;
};

}  // namespace host
