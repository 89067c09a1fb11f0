#pragma once

#include <string>

// The one text a user sees for any failed download: the catalogue's, or the
// built-in English one when no catalogue answers, so that a failure never
// reads as success.
std::wstring DownloaderErrorText();
