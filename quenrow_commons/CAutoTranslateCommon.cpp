#include "CAutoTranslateCommon.h"

#include <exception>

#include "CWindow.h"

namespace quenrow_commons {

namespace {

void TranslateText(HWND window, const IDlgTranslator& translator) {
  std::wstring text;
  ATL::CWindow(window).GetWindowText(text);
  if (translator.CanTranslate(text)) ::SetWindowTextW(window, translator.Translate(text).c_str());
}

struct CWalk {
  const IDlgTranslator& translator;
  std::exception_ptr failure;
};

// Exceptions must not unwind through the system's enumeration frames: the
// first one stops the walk and is rethrown after it.
BOOL CALLBACK TranslateDescendant(HWND window, LPARAM context) {
  CWalk& walk = *reinterpret_cast<CWalk*>(context);
  try {
    TranslateText(window, walk.translator);
    return TRUE;
  } catch (...) {
    walk.failure = std::current_exception();
    return FALSE;
  }
}

}  // namespace

void TranslateWindowTree(HWND window, const IDlgTranslator& translator) {
  TranslateText(window, translator);
  // The enumeration reaches every descendant, so no window enumerates again:
  // a second visit would translate an already translated text.
  CWalk walk{translator, nullptr};
  ::EnumChildWindows(window, TranslateDescendant, reinterpret_cast<LPARAM>(&walk));
  if (walk.failure) std::rethrow_exception(walk.failure);
}

}  // namespace quenrow_commons
