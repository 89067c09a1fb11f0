#pragma once

#include <windows.h>

#include <string>

#include "TempDir.h"  // ProgramFolder: the test programs sit below the programs
#include "WindowText.h"

// Starts bootfetch.exe and drives its windows the way a person would.
class CAppRunner {
 public:
  CAppRunner() = default;
  ~CAppRunner();
  CAppRunner(const CAppRunner&) = delete;
  CAppRunner& operator=(const CAppRunner&) = delete;

  // Starts the program with the given arguments (already quoted as needed).
  bool Start(const std::wstring& program, const std::wstring& arguments);

  // The main dialog once it is visible, or null after the timeout; looks
  // every pollMs milliseconds.
  HWND WaitForDialog(DWORD timeoutMs = 60000, DWORD pollMs = 50);
  // A visible message box owned by the main dialog, or null after the timeout.
  HWND WaitForMessageBox(DWORD timeoutMs = 60000);
  // Waits for the process to end; returns its exit code, or STILL_ACTIVE.
  DWORD WaitForExit(DWORD timeoutMs = 60000);

  HWND Dialog() const { return m_dialog; }
  DWORD ProcessId() const { return m_process.dwProcessId; }
  HANDLE Process() const { return m_process.hProcess; }

 private:
  HWND FindTopLevel(HWND owner) const;

  PROCESS_INFORMATION m_process = {};
  HWND m_dialog = nullptr;
};

// The folder of the running test program, and bootfetch.exe of the build one
// folder above it: its unsigned copy, which checks no package's publisher,
// and the signed program itself.
std::wstring BootfetchPath();
std::wstring SignedBootfetchPath();

std::wstring ControlText(HWND dialog, int id);
// The message box's text (Wine and Windows both use the static with id 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Clicks a dialog button by sending the command its click would send.
void PressButton(HWND dialog, int id);
