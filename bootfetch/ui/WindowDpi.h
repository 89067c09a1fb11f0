#pragma once

#include <windows.h>

// The DPI the system lays windows out for when it knows no monitor's own:
// the primary monitor's when the user signed in.
UINT SystemDpi();

// The DPI of the monitor the window is on (Windows 10 1607 and later), else
// the system DPI, which is the only one older Windows gives a window at its
// creation.
UINT WindowDpi(HWND window);
