#pragma once

#include <windows.h>

#include "IDlgTranslator.h"

namespace quenrow_commons {

// Replaces the text of the window and of every window below it, each exactly
// once, by its translation when the translator knows the text.
void TranslateWindowTree(HWND window, const IDlgTranslator& translator);

// Gives a translator the walk over a window tree.
template <class TTranslator>
class CAutoTranslateCommon : public TTranslator {
 public:
  void TranslateWindow(HWND window) { TranslateWindowTree(window, *this); }
};

}  // namespace quenrow_commons
