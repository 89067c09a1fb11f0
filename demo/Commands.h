#pragma once
#include <string>

namespace demo {

// Puts the prefix into the demo's starting state: Dulon 6 absent, Dulon 5
// installed, add-ins disabled, a read-only desktop.ini, the thank-you page
// recorded instead of opened. Prints what it set.
int Prepare(const std::wstring& olderPackage, bool virtualDesktop);

// Answers the windows of a demo run (question OK, product window OK, download
// error Cancel), saves a screenshot at each (of the download dialog once its
// bar is part-way), and returns once bootfetch and the installer have ended,
// or after the time limit.
int Watch(const std::wstring& screenshotFolder, int timeLimitSeconds);

// Prints what the installation left behind.
int Report();

}  // namespace demo
