// Runs the real bootfetch.exe against the local test server and drives its
// windows as a person would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AppRunner.h"
#include "LaunchRecords.h"
#include "PathUtils.h"
#include "RegistryOverride.h"
#include "TempDir.h"
#include "TestServer.h"
#include "TestTexts.h"
#include "WaitUntil.h"
#include "resources/resource.h"

namespace {

const DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED

int g_announcements = 0;
void CALLBACK CountAnnouncement(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  ++g_announcements;
}

// Whether the status line says, within the time, that a lost connection
// waits to be tried again.
bool SaysConnectionLost(HWND dialog, DWORD milliseconds) {
  const auto says = [dialog] {
    return ControlText(dialog, IDC_STATUS).find(L"Connection lost") == 0;
  };
  return WaitUntil(says, milliseconds);
}

// Points the .msi "open" verb of this prefix at the recorder for the test's
// lifetime, so a launched package is observed instead of installed.
class BootfetchEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring progId = RegistryText(HKEY_CLASSES_ROOT, L".msi", nullptr);
    if (progId.empty()) {
      ASSERT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, L".msi", nullptr, L"Msi.Package"));
    }
    m_verb.emplace(
        HKEY_CLASSES_ROOT,
        (progId.empty() ? std::wstring(L"Msi.Package") : progId) + L"\\shell\\open\\command",
        LaunchRecorderCommand(m_records.Path()));
    ASSERT_TRUE(m_verb->IsSet());
    m_languageCopies = TempFilesMatching(L"language*.xml");
    m_packages = TempFilesMatching(L"Vantrel*.msi");
    TakeRequestLog();
  }

  void TearDown() override {
    for (const std::wstring& name : TempFilesMatching(L"language*.xml"))
      EXPECT_EQ(1u, m_languageCopies.count(name)) << "catalogue copy left behind: " << name;
  }

  // What the recorder noted, once it has noted a whole line: the program
  // ends as soon as the shell has started the recorder, not once it is done.
  std::vector<std::wstring> WaitForRecord() const {
    std::vector<std::wstring> records;
    WaitUntil([&] { return !(records = RecordedLaunches(m_records.Path())).empty(); }, 30000);
    return records;
  }

  // Packages that appeared in the temporary folder since the test began.
  std::set<std::wstring> NewPackages() const {
    std::set<std::wstring> now = TempFilesMatching(L"Vantrel*.msi");
    for (const std::wstring& name : m_packages) now.erase(name);
    return now;
  }

  // Runs the program and answers its error box with the given button.
  void ExpectErrorBoxAndAnswer(CAppRunner& app, int button, const wchar_t* errorText) {
    ASSERT_TRUE(app.WaitForDialog());
    const HWND box = app.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(errorText, MessageBoxText(box));
    EXPECT_EQ(L"Error", WindowText(box));  // the system's default caption
    EXPECT_TRUE(GetDlgItem(box, IDRETRY));
    EXPECT_TRUE(GetDlgItem(box, IDCANCEL));
    EXPECT_FALSE(GetDlgItem(box, IDOK));
    PressButton(box, button);
    WaitUntil([box] { return !IsWindow(box); }, 20000);
  }

  CTempDir m_records;
  std::optional<CRegistryOverride> m_verb;
  std::set<std::wstring> m_languageCopies;
  std::set<std::wstring> m_packages;
};

TEST_F(BootfetchEndToEnd, DownloadsAndOpensThePackage) {
  const std::size_t size = 200 * 1024;
  CAppRunner app;
  ASSERT_TRUE(app.Start(BootfetchPath(), std::wstring(kServer) + L"/slow/204800/15/ok.msi"));
  g_announcements = 0;
  const HWINEVENTHOOK hook =
      SetWinEventHook(kLiveRegionChanged, kLiveRegionChanged, nullptr, CountAnnouncement,
                      app.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  const HWND dialog = app.WaitForDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(L"Download Vantrel Dulon", WindowText(dialog));
  EXPECT_EQ(L"Cancel", ControlText(dialog, IDCANCEL));
  EXPECT_EQ(L"", ControlText(dialog, IDC_PROGRESS));
  EXPECT_EQ(0x50010000, GetWindowLongW(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & 0xFFFF0000);
  EXPECT_EQ(0, GetWindowLongW(dialog, GWL_STYLE) & WS_POPUP);

  int highest = 0;
  bool sizesShown = false;
  const HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
  while (IsWindow(bar)) {
    highest = std::max(highest, static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)));
    sizesShown |= ControlText(dialog, IDC_STATUS).find(L" of 200 KB") != std::wstring::npos;
    MSG message;  // the hook's calls come as messages
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(50);
  }
  UnhookWinEvent(hook);
  // Connecting (when the answer takes a tick), then downloading; the
  // numbers of its six or so ticks are not read out.
  EXPECT_GE(g_announcements, 1);
  EXPECT_LE(g_announcements, 2);
  EXPECT_EQ(1u, app.WaitForExit());
  EXPECT_GT(highest, 0) << "the bar never moved";
  EXPECT_TRUE(sizesShown) << "the status line never told the sizes";

  const std::vector<std::wstring> opened = WaitForRecord();
  const std::set<std::wstring> packages = NewPackages();
  ASSERT_EQ(1u, packages.size());
  const std::wstring package = *packages.begin();
  EXPECT_EQ(std::vector<std::wstring>{TempPath() + package}, opened);
  EXPECT_EQ(PatternBody(size), ReadBytes(m_records / package));
  EXPECT_EQ(PatternBody(size), ReadBytes(TempPath() + package))
      << "the package stays for the installer";
  DeleteFileW((TempPath() + package).c_str());
}

TEST_F(BootfetchEndToEnd, FailuresOfferRetryAndCancelEndsWithThree) {
  const struct {
    const wchar_t* name;
    std::wstring arguments;
    bool reachesServer;
  } cases[] = {
      {L"404", std::wstring(kServer) + L"/status/404/100/missing.msi", true},
      {L"no server", L"http://127.0.0.2/nothing-listens.msi", false},
      {L"no argument", L"", false},
      {L"https", L"https://127.0.0.1/secure.msi", false},
      // The whole body arrives, but it is not the pinned one.
      {L"pin mismatch",
       std::wstring(kServer) + L"/file/5000/pinned.msi#sha256=" + std::wstring(64, L'0'), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CAppRunner app;
    ASSERT_TRUE(app.Start(BootfetchPath(), c.arguments));
    ExpectErrorBoxAndAnswer(app, IDCANCEL, kDownloadErrorText);
    EXPECT_EQ(3u, app.WaitForExit());
    EXPECT_EQ(c.reachesServer ? 1u : 0u, TakeRequestLog().size());
    EXPECT_TRUE(NewPackages().empty());
  }
}

TEST_F(BootfetchEndToEnd, RetryStartsANewAttempt) {
  CAppRunner app;
  ASSERT_TRUE(app.Start(BootfetchPath(), std::wstring(kServer) + L"/status/500/10/retry.msi"));
  ExpectErrorBoxAndAnswer(app, IDRETRY, kDownloadErrorText);
  ExpectErrorBoxAndAnswer(app, IDCANCEL, kDownloadErrorText);
  EXPECT_EQ(3u, app.WaitForExit());
  EXPECT_EQ(2u, TakeRequestLog().size());
  EXPECT_TRUE(NewPackages().empty());
}

// Whatever the server is doing, a cancel ends the program at once: while
// the connection waits to be accepted, while the answer is held back, while
// the body is held back after its first bytes, and while a lost connection
// waits to be tried again (its status line says so). The dialog shows before
// any of it. A program ended from outside leaves nothing either, and while
// the body comes, no other program can write or rename the package.
TEST_F(BootfetchEndToEnd, CancellingInEveryPhaseEndsWithTwoAndNoFile) {
  const struct {
    const wchar_t* name;
    std::wstring url;
    bool held;    // the server counts the answer it holds back
    bool file;    // the package file exists by then
    bool paused;  // the connection was lost and waits to be tried again
  } phases[] = {
      {L"connect", kSilentHost + std::wstring(L"/connect.msi"), false, false, false},
      {L"headers", kServer + std::wstring(L"/silent/headers.msi"), true, false, false},
      {L"body", kServer + std::wstring(L"/stall/10000000/4096/body.msi"), true, true, false},
      {L"pause", kServer + std::wstring(L"/drops/vanish/10000000/4096/{KEY}/p.msi"), false, true,
       true},
  };
  const DWORD kKilled = 9;
  const struct {
    const wchar_t* name;
    void (*cancel)(CAppRunner& app);
    DWORD exitCode;
  } ways[] = {
      {L"button", [](CAppRunner& app) { PressButton(app.Dialog(), IDCANCEL); }, 2},
      {L"escape",
       [](CAppRunner& app) {
         PostMessageW(GetDlgItem(app.Dialog(), IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
       },
       2},
      {L"close box",
       [](CAppRunner& app) { PostMessageW(app.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
      {L"ended from outside", [](CAppRunner& app) { TerminateProcess(app.Process(), kKilled); },
       kKilled},
  };
  for (const auto& phase : phases) {
    for (const auto& way : ways) {
      SCOPED_TRACE(std::wstring(phase.name) + L", " + way.name);
      CAppRunner app;
      // Each run loses its connection anew: the key is the run's own.
      ASSERT_TRUE(
          app.Start(BootfetchPath(), ReplaceKey(phase.url, std::to_wstring(GetTickCount()))));
      ASSERT_TRUE(app.WaitForDialog());
      // The phase has begun: the server holds the answer back, and the
      // package file exists once the headers are in.
      WaitUntil([&] { return !phase.held || StalledBodies() > 0; }, 10000);
      EXPECT_EQ(phase.paused, SaysConnectionLost(app.Dialog(), phase.paused ? 10000 : 0));
      WaitUntil([&] { return !phase.file || !NewPackages().empty(); }, 10000);
      EXPECT_EQ(phase.file, !NewPackages().empty());
      for (const std::wstring& name : NewPackages()) {
        const std::wstring package = TempPath() + name;
        const HANDLE writer =
            CreateFileW(package.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(INVALID_HANDLE_VALUE, writer) << "opened for writing";
        if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
        EXPECT_FALSE(MoveFileW(package.c_str(), (package + L".moved").c_str())) << "renamed";
      }
      way.cancel(app);
      EXPECT_EQ(way.exitCode, app.WaitForExit());
      if (phase.held) {
        EXPECT_EQ(1, StalledBodies()) << "the program waited for the server";
      }
      // Before the release: the program, not the server's end, removed it.
      EXPECT_TRUE(NewPackages().empty()) << "the partial file was left behind";
      ReleaseStall();
    }
  }
}

// The signed program opens only what its own publisher signed: the sample
// package, signed by the build, reaches the shell, and the installer's own
// open (for reading, denying writers) succeeds at the launch; the server's
// unsigned bytes fail like any download and leave nothing behind.
TEST_F(BootfetchEndToEnd, SignedProgramOpensOnlyItsPublishersPackages) {
  CAppRunner refusing;
  ASSERT_TRUE(refusing.Start(SignedBootfetchPath(), kServer + std::wstring(L"/file/5000/u.msi")));
  ExpectErrorBoxAndAnswer(refusing, IDCANCEL, kDownloadErrorText);
  EXPECT_EQ(3u, refusing.WaitForExit());
  EXPECT_TRUE(NewPackages().empty());
  EXPECT_TRUE(RecordedLaunches(m_records.Path()).empty());

  CAppRunner app;
  ASSERT_TRUE(
      app.Start(SignedBootfetchPath(), kServer + std::wstring(L"/served/VantrelDulon6.msi")));
  EXPECT_EQ(1u, app.WaitForExit());
  const std::set<std::wstring> packages = NewPackages();
  ASSERT_EQ(1u, packages.size());
  const std::wstring package = TempPath() + *packages.begin();
  EXPECT_EQ(std::vector<std::wstring>{package}, WaitForRecord());
  DeleteFileW(package.c_str());
}

// With nothing registered for .msi files the shell cannot open the package:
// the program says so, names the kept package, and ends with 4.
TEST_F(BootfetchEndToEnd, PackageTheShellCannotOpenIsKeptAndNamed) {
  std::optional<CRegistryOverride> noHandler(std::in_place, HKEY_CLASSES_ROOT, L".msi",
                                             L"Vantrel.NoHandler");
  ASSERT_TRUE(noHandler->IsSet());
  CAppRunner app;
  const bool started = app.Start(BootfetchPath(), std::wstring(kServer) + L"/file/5000/kept.msi");
  const HWND box = started && app.WaitForDialog() ? app.WaitForMessageBox() : nullptr;
  const std::wstring text = box ? MessageBoxText(box) : std::wstring();
  if (box) {
    EXPECT_TRUE(GetDlgItem(box, IDOK));
    EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
    PressButton(box, IDOK);
  }
  const DWORD exitCode = app.WaitForExit();
  noHandler.reset();
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(4u, exitCode);
  const std::set<std::wstring> packages = NewPackages();
  ASSERT_EQ(1u, packages.size());
  const std::wstring package = TempPath() + *packages.begin();
  EXPECT_EQ(
      L"The installation package was downloaded but could not be opened.\n\nTo install "
      L"the product, open this file:\n" +
          package,
      text);
  EXPECT_EQ(PatternBody(5000), ReadBytes(package)) << "the package stays for the user";
  DeleteFileW(package.c_str());
}

// A copy of the program in a download folder holding a planted DLL, with
// Wine told to prefer a DLL it finds there, as Windows does for every DLL
// that is not a known one. The tests' build turns single safeguards off:
// each must hold alone, and the rows where the plant runs show that a
// planted DLL would be seen.
TEST_F(BootfetchEndToEnd, NeverLoadsADllPlantedBesideIt) {
  const std::wstring name = L"bootfetch-planted.exe";
  const std::wstring overrides = L"Software\\Wine\\AppDefaults\\" + name + L"\\DllOverrides";
  const std::wstring seams = ProgramFolder() + L"\\..\\bootfetch_seams.exe";
  const struct {
    const wchar_t* name;
    std::wstring program;
    const wchar_t* dll;
    const wchar_t* loadOrder;
    const wchar_t* switches;
    bool runs;  // the planted DLL is expected to run
    DWORD exitCode;
  } rows[] = {
      {L"shipped", BootfetchPath(), L"wininet", L"native,builtin", L"", false, 1},
      // No WinInet at all: the download fails like any other.
      {L"shipped, no WinInet", BootfetchPath(), L"wininet", L"", L"", false, 3},
      {L"WinInet from the system folder alone", seams, L"wininet", L"native,builtin",
       L"--no-dll-restriction", false, 1},
      {L"restricted search alone", seams, L"wininet", L"native,builtin", L"--wininet-by-name",
       false, 1},
      {L"neither", seams, L"wininet", L"native,builtin", L"--no-dll-restriction --wininet-by-name",
       true, 3},
      // Where SetDefaultDllDirectories is missing, for a DLL the theme loads
      // by name once the dialog is drawn.
      {L"system DLLs loaded by full path", seams, L"msimg32", L"native,builtin",
       L"--no-default-dll-directories", false, 1},
      {L"no restriction", seams, L"msimg32", L"native,builtin", L"--no-dll-restriction", true, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CTempDir folder;
    ASSERT_TRUE(CopyFileW(row.program.c_str(), (folder / name).c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileW(PLANTED_DLL, (folder / (row.dll + std::wstring(L".dll"))).c_str(), FALSE));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueW(HKEY_CURRENT_USER, overrides.c_str(), row.dll, REG_SZ, row.loadOrder,
                              static_cast<DWORD>((wcslen(row.loadOrder) + 1) * 2)));
    CAppRunner app;
    ASSERT_TRUE(app.Start(folder / name,
                          std::wstring(kServer) + L"/file/5000/planted.msi " + row.switches));
    if (row.exitCode == 3) ExpectErrorBoxAndAnswer(app, IDCANCEL, kDownloadErrorText);
    EXPECT_EQ(row.exitCode, app.WaitForExit());
    RegDeleteTreeW(HKEY_CURRENT_USER, overrides.c_str());
    EXPECT_EQ(row.runs, FileExists(folder / L"planted-dll-loaded")) << "whether the plant ran";
    const std::set<std::wstring> packages = NewPackages();
    ASSERT_EQ(row.exitCode == 1 ? 1u : 0u, packages.size());
    for (const std::wstring& package : packages) {
      EXPECT_EQ(PatternBody(5000), ReadBytes(TempPath() + package));
      DeleteFileW((TempPath() + package).c_str());
    }
  }
}

// Each shipped program, English included, against the server's 404: the
// caption with the product name, the button and the error box all speak the
// program's language.
TEST_F(BootfetchEndToEnd, EachLanguageShowsItsTexts) {
  const struct {
    const wchar_t* program;
    const wchar_t* caption;
    const wchar_t* button;
    const wchar_t* error;
  } languages[] = {
      {L"bootfetch.exe", L"Download Vantrel Dulon", L"Cancel", kDownloadErrorText},
      {L"bootfetch-ru.exe", L"Загрузка Vantrel Dulon", L"Отмена",
       L"Не удалось загрузить установочный пакет. Проверьте подключение к Интернету или "
       L"настройки брандмауэра и повторите попытку."},
      {L"bootfetch-fr.exe", L"Télécharger Vantrel Dulon", L"Annuler",
       L"Impossible de télécharger le package d'installation. Vérifiez votre connexion "
       L"Internet ou les paramètres de votre pare-feu, puis réessayez."},
      {L"bootfetch-es.exe", L"Descargar Vantrel Dulon", L"Cancelar",
       L"No se pudo descargar el paquete de instalación. Compruebe la conexión a Internet o "
       L"la configuración del firewall e inténtelo de nuevo."},
      {L"bootfetch-de.exe", L"Vantrel Dulon herunterladen", L"Abbrechen",
       L"Das Installationspaket konnte nicht heruntergeladen werden. Überprüfen Sie Ihre "
       L"Internetverbindung oder die Firewall-Einstellungen und versuchen Sie es erneut."},
  };
  for (const auto& language : languages) {
    SCOPED_TRACE(language.program);
    CAppRunner app;
    ASSERT_TRUE(app.Start(ProgramFolder() + L"\\..\\" + language.program,
                          std::wstring(kServer) + L"/status/404/10/language.msi"));
    const HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(language.caption, WindowText(dialog));
    EXPECT_EQ(language.button, ControlText(dialog, IDCANCEL));
    ExpectErrorBoxAndAnswer(app, IDCANCEL, language.error);
    EXPECT_EQ(3u, app.WaitForExit());
  }
}

// A copy of the program with other catalogue bytes in its catalogue resource.
class CProgramCopy {
 public:
  CProgramCopy(const CTempDir& dir, std::string catalogue) : m_path(dir / L"bootfetch.exe") {
    m_ok = CopyFileW(BootfetchPath().c_str(), m_path.c_str(), FALSE) && Replace(catalogue);
  }
  bool Ok() const { return m_ok; }
  const std::wstring& Path() const { return m_path; }

 private:
  bool Replace(std::string& bytes) {
    const HANDLE update = BeginUpdateResourceW(m_path.c_str(), FALSE);
    if (!update) return false;
    const BOOL ok = UpdateResourceW(update, RT_RCDATA, MAKEINTRESOURCEW(IDR_LANGUAGE),
                                    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), &bytes[0],
                                    static_cast<DWORD>(bytes.size()));
    return EndUpdateResourceW(update, !ok) && ok;
  }

  std::wstring m_path;
  bool m_ok = false;
};

TEST_F(BootfetchEndToEnd, ReplacedCatalogueTranslatesTheWholeProgram) {
  CTempDir dir;
  CProgramCopy german(dir, ReadBytes(GERMAN_CATALOGUE));
  ASSERT_TRUE(german.Ok());
  CAppRunner app;
  ASSERT_TRUE(app.Start(german.Path(), std::wstring(kServer) + L"/status/404/10/de.msi"));
  const HWND dialog = app.WaitForDialog();
  ASSERT_TRUE(dialog);
  const HWND box = app.WaitForMessageBox();
  EXPECT_EQ(L"Vantrel Dulon herunterladen", WindowText(dialog));
  EXPECT_EQ(L"Abbrechen", ControlText(dialog, IDCANCEL));
  ASSERT_TRUE(box);
  EXPECT_EQ(L"Das Installationspaket konnte nicht heruntergeladen werden.", MessageBoxText(box));
  PressButton(box, IDCANCEL);
  EXPECT_EQ(3u, app.WaitForExit());
}

// The malformed row makes the XML library throw and catch inside its scanner,
// so it also shows that the shipped program's unwind tables are whole.
TEST_F(BootfetchEndToEnd, BrokenCatalogueKeepsResourceTextsAndStillFails) {
  const struct {
    const char* name;
    std::string catalogue;
  } rows[] = {
      {"duplicate identifier", ReadBytes(BROKEN_CATALOGUE)},
      {"malformed document",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<language><messages>"
       "<message id=\"Cancel\">Broken</messages></language>\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CTempDir dir;
    CProgramCopy broken(dir, row.catalogue);
    ASSERT_TRUE(broken.Ok());
    CAppRunner app;
    ASSERT_TRUE(app.Start(broken.Path(), std::wstring(kServer) + L"/status/404/10/broken.msi"));
    const HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(L"Download Vantrel Dulon", WindowText(dialog));
    EXPECT_EQ(L"Cancel", ControlText(dialog, IDCANCEL));
    // Without a catalogue the built-in English text still reports the failure.
    ExpectErrorBoxAndAnswer(app, IDCANCEL, kDownloadErrorText);
    EXPECT_EQ(3u, app.WaitForExit());
  }
}

// The shell's TaskbarList class served by taskbar_list_fake.dll, which
// records the calls it gets, for the object's lifetime. Wine looks classes up
// for the machine only, so the registration there is replaced and restored.
class CTaskbarListFake {
 public:
  CTaskbarListFake() { Forget(); }
  ~CTaskbarListFake() { Forget(); }
  bool Registered() const { return m_server.IsSet(); }
  void Forget() const { DeleteFileW(m_log.c_str()); }

  // The calls recorded so far, with the window's number shown as "W", once
  // there are at least `count` of them or after ten seconds.
  std::vector<std::string> Calls(HWND window, std::size_t count = 0) const {
    const std::string number = " " + std::to_string(reinterpret_cast<ULONG_PTR>(window)) + " ";
    std::vector<std::string> calls;
    for (int i = 0; i < 200; ++i, Sleep(50)) {
      calls.clear();
      std::istringstream log(ReadBytes(m_log));
      for (std::string line; std::getline(log, line); calls.push_back(line)) {
        const std::size_t at = line.find(number);
        if (at != std::string::npos) line.replace(at, number.size(), " W ");
      }
      if (calls.size() >= count) break;
    }
    return calls;
  }

 private:
  static constexpr const wchar_t* kServerKey =
      L"CLSID\\{56FDF344-FD6D-11D0-958A-006097C9A090}\\InprocServer32";
  const std::wstring m_log = ProgramFolder() + L"\\taskbar_list_fake.dll.log";
  const CRegistryOverride m_server{HKEY_CLASSES_ROOT, kServerKey,
                                   ProgramFolder() + L"\\taskbar_list_fake.dll"};
};

// A row per state of the taskbar button: a bar while downloading, paused
// while a lost connection waits to be tried again, red while the error box
// is up, nothing once the download is done or cancelled. The
// program tells the taskbar nothing before the shell says the button exists
// (the test says it, as Wine's shell does not), and then what it shows at
// that moment.
TEST_F(BootfetchEndToEnd, TaskbarButtonFollowsTheDownload) {
  const CTaskbarListFake taskbar;
  ASSERT_TRUE(taskbar.Registered());
  enum Finish { kCancel, kComplete, kRetryThenCancel, kCancelInPause };
  const struct {
    const char* name;
    const wchar_t* path;  // a bar stopped halfway, or an error box
    Finish finish;
    std::vector<std::string> atCreation;  // once the button exists
    std::vector<std::string> atEnd;       // the last calls
    DWORD exitCode;
  } rows[] = {
      {"bar, then cancelled",
       L"/stall/2048/1024/bar-cancel.msi",
       kCancel,
       {"HrInit", "SetProgressState W 2", "SetProgressValue W 50 100"},
       {"SetProgressState W 0"},
       2},
      {"bar, then done",
       L"/stall/2048/1024/bar-done.msi",
       kComplete,
       {"HrInit", "SetProgressState W 2", "SetProgressValue W 50 100"},
       {"SetProgressState W 0"},
       1},
      {"paused while a lost connection waits, then cancelled",
       L"/drops/vanish/2048/1024/{KEY}/paused.msi",
       kCancelInPause,
       {"HrInit", "SetProgressState W 8", "SetProgressValue W 50 100"},
       {"SetProgressState W 0"},
       2},
      {"red while the box is up, cleared by a retry, then cancelled",
       L"/status/500/10/red.msi",
       kRetryThenCancel,
       {"HrInit", "SetProgressState W 4", "SetProgressValue W 100 100"},
       {"SetProgressState W 2", "SetProgressValue W 0 100", "SetProgressState W 4",
        "SetProgressValue W 100 100", "SetProgressState W 0"},
       3},
  };
  const UINT buttonCreated = RegisterWindowMessageW(L"TaskbarButtonCreated");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    taskbar.Forget();
    CAppRunner app;
    ASSERT_TRUE(app.Start(BootfetchPath(), ReplaceKey(kServer + std::wstring(row.path),
                                                      std::to_wstring(GetTickCount()))));
    const HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog);
    if (row.finish == kRetryThenCancel) {
      ASSERT_TRUE(app.WaitForMessageBox());
    } else if (row.finish == kCancelInPause) {
      EXPECT_TRUE(SaysConnectionLost(dialog, 10000));
    } else {
      const HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
      WaitUntil([bar] { return SendMessageW(bar, PBM_GETPOS, 0, 0) >= 50; }, 20000);
    }
    EXPECT_TRUE(taskbar.Calls(dialog).empty()) << "called before the button existed";
    PostMessageW(dialog, buttonCreated, 0, 0);
    EXPECT_EQ(row.atCreation, taskbar.Calls(dialog, row.atCreation.size()));

    if (row.finish == kCancel || row.finish == kCancelInPause) PressButton(dialog, IDCANCEL);
    if (row.finish == kComplete) ReleaseStall();
    if (row.finish == kRetryThenCancel) {
      ExpectErrorBoxAndAnswer(app, IDRETRY, kDownloadErrorText);
      ExpectErrorBoxAndAnswer(app, IDCANCEL, kDownloadErrorText);
    }
    EXPECT_EQ(row.exitCode, app.WaitForExit());
    ReleaseStall();
    const std::vector<std::string> calls = taskbar.Calls(dialog);
    ASSERT_GE(calls.size(), row.atCreation.size() + row.atEnd.size());
    EXPECT_EQ(row.atEnd, std::vector<std::string>(calls.end() - row.atEnd.size(), calls.end()));
    for (const std::wstring& package : NewPackages()) DeleteFileW((TempPath() + package).c_str());
  }
}

}  // namespace
