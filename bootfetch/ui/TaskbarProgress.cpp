#include "ui/TaskbarProgress.h"

namespace {

const int kFull = 100;

}  // namespace

CTaskbarProgress::~CTaskbarProgress() {
  if (m_taskbar) m_taskbar->Release();
}

UINT CTaskbarProgress::ButtonCreatedMessage() {
  static const UINT message = [] {
    const UINT registered = RegisterWindowMessageW(L"TaskbarButtonCreated");
    // Lets the shell's message through when the program runs elevated.
    ChangeWindowMessageFilter(registered, MSGFLT_ADD);
    return registered;
  }();
  return message;
}

void CTaskbarProgress::OnButtonCreated(HWND window) {
  if (m_taskbar) m_taskbar->Release();
  m_taskbar = nullptr;
  m_window = window;
  ITaskbarList3* taskbar = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              reinterpret_cast<void**>(&taskbar))))
    return;  // Vista's taskbar has no progress
  if (FAILED(taskbar->HrInit())) {
    taskbar->Release();
    return;
  }
  m_taskbar = taskbar;
  Send(true, m_state != TBPF_NOPROGRESS);
}

void CTaskbarProgress::ShowProgress(int percent) { Show(TBPF_NORMAL, percent); }

void CTaskbarProgress::ShowPaused(int percent) { Show(TBPF_PAUSED, percent); }

// A full red bar: it shows even when the download failed before its first
// byte.
void CTaskbarProgress::ShowError() { Show(TBPF_ERROR, kFull); }

void CTaskbarProgress::Clear() { Show(TBPF_NOPROGRESS, 0); }

void CTaskbarProgress::Show(TBPFLAG state, int percent) {
  const bool newState = state != m_state;
  const bool newValue = state != TBPF_NOPROGRESS && (newState || percent != m_percent);
  m_state = state;
  m_percent = percent;
  Send(newState, newValue);
}

void CTaskbarProgress::Send(bool state, bool value) {
  if (!m_taskbar) return;
  if (state) m_taskbar->SetProgressState(m_window, m_state);
  if (value) m_taskbar->SetProgressValue(m_window, m_percent, kFull);
}
