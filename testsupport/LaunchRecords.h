#pragma once

#include <string>
#include <vector>

// The command line for a verb's registry entry that runs launch_recorder.exe
// on "%1", noting into folder (no trailing separator).
std::wstring LaunchRecorderCommand(const std::wstring& folder);
inline std::wstring LaunchLogPath(const std::wstring& folder) { return folder + L"\\opened.txt"; }
// What the recorder noted in folder, one entry per finished launch.
std::vector<std::wstring> RecordedLaunches(const std::wstring& folder);
