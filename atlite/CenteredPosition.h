#pragma once

#include <windows.h>

namespace atlite {

// Top-left corner that centres a window of the given rectangle's size on the
// reference rectangle, pulled back inside the work area (right, then left;
// bottom, then top), so a window larger than the work area keeps its
// top-left corner visible.
POINT CenteredPosition(const RECT& window, const RECT& reference, const RECT& workArea);

}  // namespace atlite
