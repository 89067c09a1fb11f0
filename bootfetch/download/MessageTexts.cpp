#include "download/MessageTexts.h"

#include "StringUtils.h"
#include "Translator.h"

namespace {

// The same texts as the built-in catalogue's.
const wchar_t kDownloaderError[] =
    L"Unable to download the installation package. Please check your Internet connection or "
    L"firewall settings and try again.";
const wchar_t kLaunchError[] =
    L"The installation package was downloaded but could not be opened.\n\nTo install the "
    L"product, open this file:\n{PATH}";

}  // namespace

std::wstring TranslationOr(const wchar_t* id, const wchar_t* builtIn) {
  std::wstring text = libi18n::GetTranslation(id);
  if (text.empty()) text = builtIn;
  return text;
}

std::wstring DownloaderErrorText() {
  return TranslationOr(L"IDS_DOWNLOADER_ERROR", kDownloaderError);
}

std::wstring DownloadErrorText(const CDownloadOutcome& outcome) {
  switch (outcome.kind) {
    case OutcomeKind::kRunning:
    case OutcomeKind::kComplete:
    case OutcomeKind::kStopped:
      return std::wstring();
    default:
      break;
  }
  if (outcome.step == kUnexpectedStep) return L"Unknown error";
  return DownloaderErrorText();
}

std::wstring LaunchErrorText(const std::wstring& packagePath) {
  return ReplaceAll(TranslationOr(L"IDS_LAUNCH_ERROR", kLaunchError), L"{PATH}", packagePath);
}
