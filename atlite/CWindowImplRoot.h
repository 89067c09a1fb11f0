#pragma once

#include "CMessageMap.h"
#include "CWindow.h"

namespace ATL {

// A window with a message map: the handle of TBase plus the dispatch slot.
template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CMessageMap {
 public:
  virtual ~CWindowImplRoot() = default;
};

}  // namespace ATL
