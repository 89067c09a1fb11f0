// Where bootfetch's start-up goes beyond a bare dialog: each step it takes
// before its dialog is visible, timed once in a fresh process in the order
// the program takes them, so that first-use costs count as they do there.
// The program runs the catalogue steps on a thread of their own while its
// dialog is created; here they run one after the other. The XML library's
// shut-down, COM and the download's start come only after the dialog shows
// there, so they are not steps here.
// Usage: startup_breakdown
// Prints one line "breakdown: STEP MS, ..." with the milliseconds per step.
#include <windows.h>
#include <commctrl.h>

#include <xercesc/util/PlatformUtils.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "FileHandle.h"
#include "Stopwatch.h"
#include "TempFiles.h"
#include "Translator.h"

namespace {

template <typename Step>
double Time(Step step) {
  const bench::CStopwatch watch;
  step();
  return watch.Milliseconds();
}

}  // namespace

int wmain() {
  std::ifstream in(CATALOGUE_PATH, std::ios::binary);
  const std::string catalogue((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());

  const double controls = Time([] {
    DefWindowProcW(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
  });
  const double xmlStart = Time([] { xercesc::XMLPlatformUtils::Initialize(); });
  std::wstring path;
  const double tempWrite = Time([&] {
    path = CreateUniqueTempFile(L"language", L".xml");
    CFileHandle file;
    DWORD written = 0;
    file.Create(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    file.Write(catalogue.data(), static_cast<DWORD>(catalogue.size()), written);
  });
  bool loaded = false;
  const double parse = Time([&] { loaded = libi18n::CreateTranslator(path) != nullptr; });
  const double tempDelete = Time([&] { DeleteFileW(path.c_str()); });
  xercesc::XMLPlatformUtils::Terminate();
  if (!loaded) {
    std::fprintf(stderr, "catalogue failed\n");
    return 1;
  }
  std::printf(
      "breakdown: controls %.1f, XML library start-up %.1f, temporary file write %.1f, "
      "parse and table %.1f, temporary file delete %.1f\n",
      controls, xmlStart, tempWrite, parse, tempDelete);
  return 0;
}
