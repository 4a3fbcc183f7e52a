// screen_reader_names_win32.cpp: the lists' names as Windows' screen readers ask for them.
#include "window/screen_reader_names_win32.h"

#include <initguid.h>  // before oleacc.h: defines its GUIDs here, where they are used
#include <oleacc.h>

#include "common/handles_win32.h"

namespace kavren::win32 {

// Wine's screen-reader support names a list box by its window text, which
// the control table gives it. Windows looks for a static text before the
// list instead, and the headings here are buttons, so the name is annotated
// as well. Wine does not implement annotations, which is harmless.
void NameListsForScreenReaders(std::initializer_list<HWND> lists, bool name) {
  IAccPropServices* services = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services)))) {
    return;
  }
  const unique_com<IAccPropServices*> owner(services);
  for (const HWND box : lists) {
    if (name) {
      wchar_t caption[64] = L"";
      ::GetWindowTextW(box, caption, 64);
      services->SetHwndPropStr(box, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, caption);
    } else {
      MSAAPROPID names[] = {PROPID_ACC_NAME};
      services->ClearHwndProps(box, OBJID_CLIENT, CHILDID_SELF, names, 1);
    }
  }
}

}  // namespace kavren::win32
