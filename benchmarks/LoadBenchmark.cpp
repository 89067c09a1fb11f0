// Times loading the built-in catalogue the way bootfetch does at start-up, and
// again with the XML library kept initialised to show what its start-up costs.
// Usage: load_benchmark [language file] [rounds]

#include <windows.h>

#include <xercesc/util/PlatformUtils.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LanguageSimpleFile.h"
#include "Translator.h"

namespace {

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

// Runs the loads and prints the median and the fastest time.
bool Measure(const char* label, const std::wstring& path, int rounds) {
  std::vector<double> times;
  std::size_t count = 0;
  for (int i = 0; i < rounds; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const boost::shared_ptr<libi18n::CMessageTranslator> translator =
        libi18n::CreateTranslator(path);
    QueryPerformanceCounter(&end);
    if (!translator) return false;
    count = translator->File().MessageCount();
    times.push_back(Milliseconds(start, end));
  }
  std::sort(times.begin(), times.end());
  std::printf("%-34s %zu messages, %d rounds: median %.1f ms, fastest %.1f ms\n", label, count,
              rounds, times[times.size() / 2], times.front());
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring path = argc > 1 ? argv[1] : CATALOGUE_PATH;
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 20;
  if (!Measure("load (as at start-up):", path, rounds)) {
    std::fprintf(stderr, "cannot load %ls\n", path.c_str());
    return 1;
  }
  xercesc::XMLPlatformUtils::Initialize();
  Measure("load (XML library kept loaded):", path, rounds);
  xercesc::XMLPlatformUtils::Terminate();
  return 0;
}
