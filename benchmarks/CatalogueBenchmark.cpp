// The message catalogue's costs: loading the built-in catalogue through
// CLanguageSimpleFile next to a bare Xerces DOM parse of the same file, and
// GetTranslation over every identifier in it. Xerces stays initialised
// around both loads, so the ratio is the price of the object model and the
// table, not of the XML library's start-up.
// Usage: catalogue_benchmark [LANGUAGE.xml] [ROUNDS]
#include <windows.h>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "LanguageSimpleFile.h"
#include "Stopwatch.h"
#include "ControlCharEscapes.h"
#include "Translator.h"

namespace {

using namespace xercesc;

DOMLSParser* CreateParser() {
  DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(L"LS");
  return static_cast<DOMImplementationLS*>(implementation)
      ->createLSParser(DOMImplementationLS::MODE_SYNCHRONOUS, nullptr);
}

// Every message identifier as a caller passes it (control characters, not
// their backslash forms).
std::vector<std::wstring> ReadIdentifiers(const std::wstring& path) {
  std::vector<std::wstring> ids;
  DOMLSParser* parser = CreateParser();
  if (xercesc::DOMDocument* document = parser->parseURI(path.c_str())) {
    DOMNodeList* messages = document->getElementsByTagName(L"message");
    for (XMLSize_t i = 0; i < messages->getLength(); ++i) {
      const XMLCh* id = static_cast<DOMElement*>(messages->item(i))->getAttribute(L"id");
      ids.push_back(libi18n::UnescapeControlChars(id));
    }
  }
  parser->release();
  return ids;
}

double LoadMs(const std::wstring& path) {
  const bench::CStopwatch watch;
  libi18n::CLanguageSimpleFile file;
  if (!file.LoadFile(path)) return -1;
  return watch.Milliseconds();
}

double DomParseMs(const std::wstring& path) {
  const bench::CStopwatch watch;
  DOMLSParser* parser = CreateParser();
  const bool parsed = parser->parseURI(path.c_str()) != nullptr;
  parser->release();
  return parsed ? watch.Milliseconds() : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring path = argc > 1 ? argv[1] : CATALOGUE_PATH;
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 20;

  XMLPlatformUtils::Initialize();
  const std::vector<std::wstring> ids = ReadIdentifiers(path);
  // One of each first, so that neither side pays for first-time set-up; then
  // the two in turn, so that both see the same machine load.
  double load = LoadMs(path), dom = DomParseMs(path);
  std::vector<double> loads, doms;
  for (int i = 0; i < rounds && load >= 0 && dom >= 0; ++i) {
    loads.push_back(load = LoadMs(path));
    doms.push_back(dom = DomParseMs(path));
  }
  XMLPlatformUtils::Terminate();
  if (load >= 0 && dom >= 0) {
    load = bench::Median(loads);
    dom = bench::Median(doms);
  }
  if (load < 0 || dom < 0 || ids.empty()) {
    std::fprintf(stderr, "cannot read %ls\n", path.c_str());
    return 1;
  }
  std::printf(
      "catalogue: CLanguageSimpleFile %.2f ms, bare DOM parse %.2f ms, ratio %.2f "
      "(medians of %d rounds, alternating)\n",
      load, dom, load / dom, rounds);

  libi18n::SetTranslator(libi18n::CreateTranslator(path));
  std::size_t found = 0;
  const int lookupRounds = 20;
  const bench::CStopwatch watch;
  for (int round = 0; round < lookupRounds; ++round)
    for (const std::wstring& id : ids) found += !libi18n::GetTranslation(id).empty();
  const double total = watch.Milliseconds();
  const double lookups = static_cast<double>(ids.size()) * lookupRounds;
  std::printf(
      "lookup: GetTranslation %.2f us per call over %zu identifiers (%zu found, %d "
      "rounds)\n",
      1000.0 * total / lookups, ids.size(), found / lookupRounds, lookupRounds);
  libi18n::SetTranslator(nullptr);
  return found == ids.size() * lookupRounds ? 0 : 1;
}
