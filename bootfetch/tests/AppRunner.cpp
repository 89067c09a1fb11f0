#include "AppRunner.h"

#include <vector>

namespace {

struct FindContext {
  DWORD processId;
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM param) {
  auto* context = reinterpret_cast<FindContext*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != context->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (std::wstring(className) != L"#32770") return TRUE;
  if (GetWindow(window, GW_OWNER) != context->owner) return TRUE;
  context->found = window;
  return FALSE;
}

}  // namespace

CAppRunner::~CAppRunner() {
  if (m_process.hProcess) {
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_process.hProcess, 99);
      WaitForSingleObject(m_process.hProcess, 10000);
    }
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
  }
}

bool CAppRunner::Start(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  return CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &m_process) != FALSE;
}

HWND CAppRunner::FindTopLevel(HWND owner) const {
  FindContext context = {m_process.dwProcessId, owner, nullptr};
  EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

HWND CAppRunner::WaitForDialog(DWORD timeoutMs, DWORD pollMs) {
  const DWORD start = GetTickCount();
  while (!m_dialog && GetTickCount() - start < timeoutMs) {
    m_dialog = FindTopLevel(nullptr);
    if (!m_dialog && WaitForSingleObject(m_process.hProcess, pollMs) == WAIT_OBJECT_0) break;
  }
  return m_dialog;
}

HWND CAppRunner::WaitForMessageBox(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (m_dialog && GetTickCount() - start < timeoutMs) {
    if (HWND box = FindTopLevel(m_dialog)) return box;
    if (WaitForSingleObject(m_process.hProcess, 50) == WAIT_OBJECT_0) break;
  }
  return nullptr;
}

DWORD CAppRunner::WaitForExit(DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(m_process.hProcess, &code);
  return code;
}

std::wstring BootfetchPath() { return ProgramFolder() + L"\\..\\unsigned\\bootfetch.exe"; }

std::wstring SignedBootfetchPath() { return ProgramFolder() + L"\\..\\bootfetch.exe"; }

std::wstring ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::wstring MessageBoxText(HWND box) { return ControlText(box, 0xFFFF); }

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
