#include "ui/StatusLine.h"

#include <shlwapi.h>

#include <cmath>

#include "StringUtils.h"
#include "download/MessageTexts.h"
#include "system/SystemLibrary.h"

namespace {

const std::int64_t kMinute = 60;
const std::int64_t kHour = 60 * kMinute;
// Sizes of up to 16 digits and a unit, with room to spare.
const UINT kSizeLength = 64;

// Time left in seconds, rounded up; negative when it cannot be told.
std::int64_t SecondsLeft(const CDownloadStatus& status) {
  if (!status.steady || !(status.bytesPerSecond > 0.0)) return -1;
  const double seconds =
      std::ceil(static_cast<double>(status.total - status.done) / status.bytesPerSecond);
  // A speed that fell to almost nothing predicts nothing worth saying.
  if (!(seconds < 100.0 * kHour)) return -1;
  return seconds < 1.0 ? 1 : static_cast<std::int64_t>(seconds);
}

std::wstring TimeText(std::int64_t seconds, const CStatusTexts& texts) {
  const wchar_t* unit = texts.seconds.c_str();
  std::int64_t count = seconds;
  if (seconds > kHour) {
    unit = texts.hours.c_str();
    count = (seconds + kHour - 1) / kHour;
  } else if (seconds > kMinute) {
    unit = texts.minutes.c_str();
    count = (seconds + kMinute - 1) / kMinute;
  }
  return ReplaceAll(unit, L"{COUNT}", IntToString(static_cast<std::int32_t>(count)));
}

}  // namespace

CStatusTexts LoadStatusTexts() {
  CStatusTexts texts;
  texts.connecting = TranslationOr(L"IDS_STATUS_CONNECTING_TO", L"Connecting to {HOST}\x2026");
  texts.downloading =
      TranslationOr(L"IDS_STATUS_TRANSFER", L"{DONE} of {TOTAL} ({SPEED}/s), about {TIME} left");
  texts.unsteady = TranslationOr(L"IDS_STATUS_TRANSFER_SPEED", L"{DONE} of {TOTAL} ({SPEED}/s)");
  texts.measuring = TranslationOr(L"IDS_STATUS_TRANSFER_START", L"{DONE} of {TOTAL}");
  texts.paused =
      TranslationOr(L"IDS_STATUS_RECONNECT", L"Connection lost. Trying again in {SECONDS} s\x2026");
  texts.seconds = TranslationOr(L"IDS_TIME_SECONDS", L"{COUNT} s");
  texts.minutes = TranslationOr(L"IDS_TIME_MINUTES", L"{COUNT} min");
  texts.hours = TranslationOr(L"IDS_TIME_HOURS", L"{COUNT} h");
  return texts;
}

// StrFormatByteSizeEx (Vista) where shlwapi has it; Wine's lacks it, and
// imported it would keep the program from starting there. The older
// StrFormatByteSizeW, in every shlwapi, writes the same units in the user's
// number format; only the last digit's rounding may differ.
std::wstring FormatByteSize(std::int64_t bytes) {
  typedef HRESULT WINAPI FormatEx(ULONGLONG, SFBS_FLAGS, PWSTR, UINT);
  static FormatEx* const formatEx = SystemFunction<FormatEx>(L"shlwapi.dll", "StrFormatByteSizeEx");
  wchar_t text[kSizeLength] = L"";
  if (formatEx) {
    if (FAILED(formatEx(static_cast<ULONGLONG>(bytes), SFBS_FLAGS_ROUND_TO_NEAREST_DISPLAYED_DIGIT,
                        text, kSizeLength)))
      text[0] = L'\0';
  } else if (!StrFormatByteSizeW(bytes, text, kSizeLength)) {
    text[0] = L'\0';
  }
  return text;
}

std::wstring StatusLineText(const CDownloadStatus& status, const CStatusTexts& texts,
                            SizeFormatter formatSize) {
  switch (status.phase) {
    case CDownloadStatus::kConnecting:
      return ReplaceAll(texts.connecting, L"{HOST}", status.host);
    case CDownloadStatus::kPaused: {
      const DWORD seconds = (status.pauseLeftMs + 999) / 1000;
      return ReplaceAll(texts.paused, L"{SECONDS}",
                        IntToString(static_cast<std::int32_t>(seconds)));
    }
    case CDownloadStatus::kDownloading:
      break;
  }
  const bool measured = status.bytesPerSecond >= 0.0;
  const std::int64_t secondsLeft = SecondsLeft(status);
  std::wstring text = !measured         ? texts.measuring
                      : secondsLeft < 0 ? texts.unsteady
                                        : texts.downloading;
  text = ReplaceAll(text, L"{DONE}", formatSize(status.done));
  text = ReplaceAll(text, L"{TOTAL}", formatSize(status.total));
  if (!measured) return text;
  text = ReplaceAll(text, L"{SPEED}",
                    formatSize(static_cast<std::int64_t>(status.bytesPerSecond + 0.5)));
  if (secondsLeft < 0) return text;
  return ReplaceAll(text, L"{TIME}", TimeText(secondsLeft, texts));
}

std::wstring HostOfUrl(const std::wstring& url) {
  std::wstring::size_type start = url.find(L"://");
  start = start == std::wstring::npos ? 0 : start + 3;
  const std::wstring::size_type end = url.find_first_of(L"/?#", start);
  std::wstring authority = url.substr(start, end == std::wstring::npos ? end : end - start);
  const std::wstring::size_type at = authority.rfind(L'@');
  if (at != std::wstring::npos) authority.erase(0, at + 1);
  const std::wstring::size_type colon = authority.rfind(L':');
  if (colon != std::wstring::npos && authority.find(L']', colon) == std::wstring::npos)
    authority.erase(colon);
  return authority;
}
