#include "FlashVersion.h"

#include <windows.h>
#include <comdef.h>
#include <ole2.h>

#include <memory>
#include <stdexcept>

#include "IShockwaveFlash.h"

namespace setupaux {

namespace {

struct ReleaseInterface {
  void operator()(IUnknown* object) const { object->Release(); }
};
using FlashPointer = std::unique_ptr<IShockwaveFlash, ReleaseInterface>;

// Carries the control's own error description when it offers one.
[[noreturn]] void RaiseComError(HRESULT status, IUnknown* object, REFIID iid) {
  IErrorInfo* errorInfo = nullptr;
  ISupportErrorInfo* support = nullptr;
  if (object && SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo,
                                                 reinterpret_cast<void**>(&support)))) {
    if (support->InterfaceSupportsErrorInfo(iid) == S_OK && GetErrorInfo(0, &errorInfo) != S_OK)
      errorInfo = nullptr;
    support->Release();
  }
  throw _com_error(status, errorInfo);
}

FlashPointer CreateFlash() {
  IUnknown* unknown = nullptr;
  IShockwaveFlash* flash = nullptr;
  HRESULT status = CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_ALL, IID_IUnknown,
                                    reinterpret_cast<void**>(&unknown));
  if (SUCCEEDED(status)) {
    status = OleRun(unknown);
    if (SUCCEEDED(status))
      status = unknown->QueryInterface(IID_IShockwaveFlash, reinterpret_cast<void**>(&flash));
    unknown->Release();
  }
  FlashPointer holder(SUCCEEDED(status) ? flash : nullptr);
  if (FAILED(status) && status != E_NOINTERFACE) throw _com_error(status);
  if (!holder) throw std::runtime_error("create flash");
  return holder;
}

}  // namespace

std::int32_t GetFlashMajorVersion() {
  const FlashPointer flash = CreateFlash();
  long version = 0;
  const HRESULT status = flash->FlashVersion(&version);
  if (FAILED(status)) RaiseComError(status, flash.get(), IID_IShockwaveFlash);
  // The sign is kept: a negative word is no valid version either.
  const std::int32_t major = static_cast<std::int32_t>(version) >> 16;
  if (major < 1) throw std::runtime_error("invalid flash version");
  return major;
}

}  // namespace setupaux
