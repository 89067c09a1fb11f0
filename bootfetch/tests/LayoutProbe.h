#pragma once

#include <windows.h>

// What layout_probe.dll measures inside the running program: the dialog as
// the program laid it out, each control's text measured in the control's own
// font, and the caption's icons. The test writes the request into the
// program's memory, runs RunLayoutProbe there and reads the answer back.
struct CProbedControl {
  int id;
  SIZE text;  // extent of the control's text in its font
  SIZE client;
  LONG fontHeight;  // character height of the font, in pixels
};

struct CLayoutProbe {
  // Request.
  HWND dialog;
  UINT moveToDpi;  // when set, first sends WM_DPICHANGED as a move to a monitor of that DPI
  // Answer.
  SIZE client;
  SIZE smallIcon;
  SIZE bigIcon;
  int controlCount;
  CProbedControl controls[4];
};
