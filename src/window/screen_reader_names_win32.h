// screen_reader_names_win32.h: what screen readers call the lists, whose headings are buttons.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace kavren::win32 {

// Names each list by its window text for screen readers (`name`), or takes
// the names back, as a window must before it goes.
void NameListsForScreenReaders(std::initializer_list<HWND> lists, bool name);

}  // namespace kavren::win32
