#pragma once
// Huge pages for the designer's heap.

#include <string>
#include <vector>

namespace designer {

// A large form is a few hundred thousand small allocations: with the heap in
// 2 MB pages instead of 4 KB ones, reading it takes a few thousand page
// faults instead of tens of thousands, which were most of its time; large
// blocks (the form's text, the name index) come from that heap too. The C
// library takes that setting only from the environment at start, so this
// starts the program again, once, with it set. Starting again costs more
// than a millisecond, which only forms of about a megabyte and more win
// back, so it happens only when `forms` (files the command reads, before it
// has read anything else, standard input included) are that large together.
// It returns when the setting is already there, when the forms are small, or
// when starting again fails (the program then runs as it is).
void RestartWithHugePagesFor(char** argv, const std::vector<std::string>& forms);

}  // namespace designer
