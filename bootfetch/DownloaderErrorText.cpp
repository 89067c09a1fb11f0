#include "DownloaderErrorText.h"

#include "Translator.h"

namespace {

// The same text as the built-in catalogue's.
const wchar_t kBuiltInText[] =
    L"Unable to download the installation package. Please check your Internet connection or "
    L"firewall settings and try again.";

}  // namespace

std::wstring DownloaderErrorText() {
  std::wstring text = libi18n::GetTranslation(L"IDS_DOWNLOADER_ERROR");
  // Without a catalogue the empty text would read as success.
  if (text.empty()) text = kBuiltInText;
  return text;
}
