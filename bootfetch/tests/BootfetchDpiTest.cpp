// Runs every shipped program at each scale of Windows (Wine's LogPixels) and
// measures its dialog from inside the running program: every control's text
// fits the control in the control's own font, and the caption's icons have
// the sizes of the DPI, also after a move to a monitor of another scale.
// The suite has a Wine prefix of its own: the DPI is the prefix's.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppRunner.h"
#include "LayoutProbe.h"

namespace {

// Room a push button keeps between its text and its edges (the frame and the
// focus rectangle), at 96 DPI.
const int kButtonMarginAt96 = 4;
const int kDialogFontPoints = 8;
const int kStatusLine = 1001;

int AtDpi(int length, UINT dpi) { return MulDiv(length, dpi, USER_DEFAULT_SCREEN_DPI); }

// Sets the prefix's DPI for the programs started from now on; back to
// Wine's default (96, no value) at the end.
class CLogPixels {
 public:
  explicit CLogPixels(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof(dpi));
  }
  ~CLogPixels() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue); }

 private:
  static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
  static constexpr const wchar_t* kValue = L"LogPixels";
};

// Runs function(parameter) on a new thread of the process; the thread's exit
// code, 0 when it could not run.
DWORD CallInProcess(HANDLE process, DWORD_PTR function, void* parameter) {
  const HANDLE thread =
      CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                         parameter, 0, nullptr);
  if (!thread) return 0;
  DWORD code = 0;
  if (WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0) GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  return code;
}

// Loads layout_probe.dll into the process and runs its probe of the dialog
// there.
bool Probe(HANDLE process, HWND dialog, UINT moveToDpi, CLayoutProbe& probe) {
  probe = CLayoutProbe();
  probe.dialog = dialog;
  probe.moveToDpi = moveToDpi;
  const std::wstring library = ProgramFolder() + L"\\layout_probe.dll";
  const HMODULE local = LoadLibraryW(library.c_str());
  const auto run = reinterpret_cast<DWORD_PTR>(GetProcAddress(local, "RunLayoutProbe"));
  const SIZE_T pathBytes = (library.size() + 1) * sizeof(wchar_t);
  const auto remote = static_cast<BYTE*>(
      VirtualAllocEx(process, nullptr, sizeof(probe) + pathBytes, MEM_COMMIT, PAGE_READWRITE));
  bool ok =
      run && remote && WriteProcessMemory(process, remote, &probe, sizeof(probe), nullptr) &&
      WriteProcessMemory(process, remote + sizeof(probe), library.c_str(), pathBytes, nullptr);
  // kernel32 lies at the same address in every process.
  const auto loadLibrary = reinterpret_cast<DWORD_PTR>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"));
  const DWORD base = ok ? CallInProcess(process, loadLibrary, remote + sizeof(probe)) : 0;
  ok = base && CallInProcess(process, base + run - reinterpret_cast<DWORD_PTR>(local), remote) &&
       ReadProcessMemory(process, remote, &probe, sizeof(probe), nullptr);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return ok;
}

void ExpectLaidOutFor(const CLayoutProbe& probe, UINT dpi) {
  EXPECT_EQ(AtDpi(16, dpi), probe.smallIcon.cx);
  EXPECT_EQ(AtDpi(32, dpi), probe.bigIcon.cx);
  ASSERT_EQ(3, probe.controlCount);
  for (int i = 0; i < probe.controlCount; ++i) {
    const CProbedControl& control = probe.controls[i];
    SCOPED_TRACE(control.id);
    // Rounded from the font of the first DPI after a move, so maybe by one pixel.
    EXPECT_NEAR(-MulDiv(kDialogFontPoints, dpi, 72), control.fontHeight, 1);
    // The status line has no frame, and its text changes as the download
    // runs: a line of the font's height fits.
    const int margin = control.id == kStatusLine ? 0 : AtDpi(kButtonMarginAt96, dpi);
    EXPECT_LE(control.text.cx + 2 * margin, control.client.cx);
    EXPECT_LE(control.text.cy + 2 * margin, control.client.cy);
    EXPECT_LE(-control.fontHeight, control.client.cy);
  }
}

TEST(BootfetchDpi, TextsFitAndIconsMatchAtEveryScaleAndAfterAMove) {
  const struct {
    UINT dpi;
    UINT movedTo;
  } scales[] = {{96, 192}, {120, 144}, {144, 96}, {192, 120}};
  std::vector<std::wstring> programs = {L"bootfetch.exe"};
  for (const wchar_t* language : {BOOTFETCH_LANGUAGES})
    programs.push_back(std::wstring(L"bootfetch-") + language + L".exe");
  for (const auto& scale : scales) {
    const CLogPixels logPixels(scale.dpi);
    for (const std::wstring& program : programs) {
      SCOPED_TRACE(program + L" at " + std::to_wstring(scale.dpi) + L" DPI");
      CAppRunner app;
      // Without an address the download fails at once: the dialog stays
      // behind the error box, idle.
      ASSERT_TRUE(app.Start(ProgramFolder() + L"\\..\\" + program, L""));
      ASSERT_TRUE(app.WaitForDialog());
      const HWND box = app.WaitForMessageBox();
      ASSERT_TRUE(box);

      CLayoutProbe opened;
      ASSERT_TRUE(Probe(app.Process(), app.Dialog(), 0, opened));
      ExpectLaidOutFor(opened, scale.dpi);

      SCOPED_TRACE(L"moved to " + std::to_wstring(scale.movedTo) + L" DPI");
      CLayoutProbe moved;
      ASSERT_TRUE(Probe(app.Process(), app.Dialog(), scale.movedTo, moved));
      ExpectLaidOutFor(moved, scale.movedTo);
      EXPECT_NEAR(MulDiv(opened.client.cx, scale.movedTo, scale.dpi), moved.client.cx, 1);
      EXPECT_NEAR(MulDiv(opened.client.cy, scale.movedTo, scale.dpi), moved.client.cy, 1);

      PressButton(box, IDCANCEL);
      EXPECT_EQ(3u, app.WaitForExit());
    }
  }
}

}  // namespace
