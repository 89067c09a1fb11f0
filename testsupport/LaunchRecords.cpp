#include "LaunchRecords.h"

#include "Encoding.h"
#include "TempDir.h"

std::wstring LaunchRecorderCommand(const std::wstring& folder) {
  return L"\"" LAUNCH_RECORDER L"\" \"" + folder + L"\" \"%1\"";
}

std::vector<std::wstring> RecordedLaunches(const std::wstring& folder) {
  const std::string log = ReadBytes(LaunchLogPath(folder));
  std::vector<std::wstring> launches;
  // A line the recorder is still writing is not one yet.
  for (size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos; start = end + 1)
    launches.push_back(Utf8ToWide(log.substr(start, end - start)));
  return launches;
}
