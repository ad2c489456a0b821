#pragma once
// Closing a replaced file off the caller's path (not for callers outside the
// host's file handling): the last descriptor of a file whose last link is
// gone drops the file's cached pages and blocks when it closes, from 60 µs
// for a small form to milliseconds for one of megabytes, where starting a
// thread takes about 20 µs.

namespace host {

// Closes `fd`: on a thread of its own when the file has no links left, at
// once otherwise (or when no thread can start). A thread still closing when
// the program ends is waited for then.
void CloseBehind(int fd);

}  // namespace host
