#include "download/RequestContext.h"

namespace {

typedef std::shared_ptr<CRequestContext> CShare;

}  // namespace

CRequestContext::CRequestContext(int buffers) {
  for (int i = 0; i < buffers; ++i) this->buffers[i].resize(kBufferSize);
  m_done.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

DWORD_PTR CRequestContext::NewShare(const std::shared_ptr<CRequestContext>& context) {
  return reinterpret_cast<DWORD_PTR>(new CShare(context));
}

void CRequestContext::ReleaseShare(DWORD_PTR share) { delete reinterpret_cast<CShare*>(share); }

void CALLBACK CRequestContext::OnStatus(HINTERNET, DWORD_PTR share, DWORD status, LPVOID info,
                                        DWORD) {
  // WinInet sends nothing for handles made with a context of 0.
  CShare* const self = reinterpret_cast<CShare*>(share);
  if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
    (*self)->m_result = static_cast<const INTERNET_ASYNC_RESULT*>(info)->dwResult;
    SetEvent((*self)->m_done.Get());
  } else if (status == INTERNET_STATUS_HANDLE_CLOSING) {
    // WinInet's last word on the request.
    delete self;
  }
}
