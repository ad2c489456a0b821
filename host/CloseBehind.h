#pragma once
// Closing a replaced file off the caller's path (not for callers outside the
// host's file handling): the last descriptor of a file whose last link is
// gone drops the file's cached pages when it closes, milliseconds for a form
// of megabytes, which a save need not wait for.

namespace host {

// Closes `fd`: on a thread of its own when the file has no links left and
// is large, at once otherwise (or when no thread can start). A thread still
// closing when the program ends is waited for then.
void CloseBehind(int fd);

}  // namespace host
