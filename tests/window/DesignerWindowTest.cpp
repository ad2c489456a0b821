#include "WindowTest.h"
void WindowTest::inspectorShowsComponenterReadOnly() {}
void WindowTest::paletteRefusesSecondNamer() {}
void WindowTest::undoRedoDialogSession() {}
void WindowTest::unreadableFormShowsError() {}
