#pragma once

#include <windows.h>

namespace setupaux {

// The single boundary of every exported action: whatever escapes the body,
// whatever its class, becomes one status for the installer and nothing else.
template <typename Body>
UINT RunCustomAction(Body&& body, UINT failureStatus = ERROR_FUNCTION_FAILED) noexcept {
  try {
    return body();
  } catch (...) {
    return failureStatus;
  }
}

}  // namespace setupaux
