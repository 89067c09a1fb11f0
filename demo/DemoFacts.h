#pragma once
// What the demo knows about the sample package (sample/VantrelDulon6.wxs and
// VantrelDulon5.wxs); the codes and names must match those files.

namespace demo {

constexpr wchar_t kDulon6ProductCode[] = L"{8A75C9FB-E826-4245-981E-A3F5C42751D2}";
constexpr wchar_t kDulon5ProductCode[] = L"{00AD35CB-A177-482E-8FFD-17E37A1C433C}";

constexpr wchar_t kProductKey[] = L"Software\\Vantrel Solutions\\Vantrel Dulon 6";
constexpr wchar_t kSetupRecordKey[] = L"Software\\Vantrel Solutions\\Vantrel Dulon 6\\Setup";

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins\\";
constexpr const wchar_t* kAddinNames[] = {L"VantrelDulon.Connect", L"VantrelDulon.Connect2003"};

// Another profile on the machine besides the installing user.
constexpr wchar_t kOtherProfile[] = L".Default";

// The folder next to demo_probe.exe where the http handler the demo installs,
// the launch recorder, notes each address.
constexpr wchar_t kOpenedUrlsFolder[] = L"opened-urls";

}  // namespace demo
