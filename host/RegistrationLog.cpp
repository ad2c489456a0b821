#include "RegistrationLog.h"

#include <utility>

namespace host {

namespace {
TRegistrationLog*& OpenLog() {
  static TRegistrationLog* log = nullptr;
  return log;
}
}  // namespace

void TRegistrationLog::Replay() {
  // An undo may register or unregister in turn; it sees a log already emptied.
  std::vector<std::function<void()>> undos = std::exchange(undos_, {});
  for (auto undo = undos.rbegin(); undo != undos.rend(); ++undo) (*undo)();
}

void RecordRegistration(std::function<void()> undo) {
  if (TRegistrationLog* log = OpenLog()) log->Record(std::move(undo));
}

TRegistrationScope::TRegistrationScope(TRegistrationLog& log)
    : previous_(std::exchange(OpenLog(), &log)) {}

TRegistrationScope::~TRegistrationScope() { OpenLog() = previous_; }

}  // namespace host
