#include "DownloaderErrorText.h"

namespace {

const wchar_t kBuiltInText[] =
    L"Unable to download the installation package. Please check your Internet connection or "
    L"firewall settings and try again.";

}  // namespace

std::wstring DownloaderErrorText() { return kBuiltInText; }
