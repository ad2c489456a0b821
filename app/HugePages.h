#pragma once
// Huge pages for the designer's heap.

namespace designer {

// A large form is a few hundred thousand small allocations: with the heap in
// 2 MB pages instead of 4 KB ones, reading it takes a few thousand page
// faults instead of tens of thousands, which were most of its time. The C
// library takes that setting only from the environment at start, so this
// starts the program again, once, with it set; it returns when the setting
// is already there, or when starting again fails (the program then runs as
// it is).
void RestartWithHugePages(char** argv);

}  // namespace designer
