#include "CenteredPosition.h"

namespace atlite {

POINT CenteredPosition(const RECT& window, const RECT& reference, const RECT& workArea) {
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  POINT pos = {(reference.left + reference.right) / 2 - width / 2,
               (reference.top + reference.bottom) / 2 - height / 2};
  if (pos.x + width > workArea.right) pos.x = workArea.right - width;
  if (pos.x < workArea.left) pos.x = workArea.left;
  if (pos.y + height > workArea.bottom) pos.y = workArea.bottom - height;
  if (pos.y < workArea.top) pos.y = workArea.top;
  return pos;
}

}  // namespace atlite
