#include "checks/PackageChecks.h"

#include <algorithm>

#include "checks/BackgroundHasher.h"
#include "checks/PublisherCheck.h"

namespace {

// The step texts; they never reach the user.
const wchar_t kHashPackage[] = L"Hash package";
const wchar_t kPinMismatch[] = L"Package differs from its pin";

}  // namespace

CPackageChecks::CPackageChecks(PinStatus pin, const CSha256Digest& pinned,
                               std::vector<char>* buffers)
    : m_pinned(pinned), m_buffers(buffers) {
  if (pin == PinStatus::kPinned) m_hasher = std::make_unique<CBackgroundHasher>();
}

CPackageChecks::~CPackageChecks() = default;

const wchar_t* CPackageChecks::Begin(HANDLE file, std::int32_t kept) {
  if (!m_hasher || kept == 0) return nullptr;
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return kHashPackage;
  for (std::int32_t done = 0; done < kept;) {
    std::vector<char>& buffer = Buffer();
    const DWORD wanted =
        std::min(static_cast<DWORD>(buffer.size()), static_cast<DWORD>(kept - done));
    DWORD read = 0;
    if (!ReadFile(file, buffer.data(), wanted, &read, nullptr) || read != wanted)
      return kHashPackage;
    if (const wchar_t* failed = Add(buffer.data(), read)) return failed;
    done += static_cast<std::int32_t>(read);
  }
  return nullptr;
}

const wchar_t* CPackageChecks::Add(const char* data, DWORD size) {
  if (!m_hasher) return nullptr;
  if (!m_hasher->Hash(data, size)) return kHashPackage;
  m_current ^= 1;
  return nullptr;
}

const wchar_t* CPackageChecks::FinishBody() {
  if (!m_hasher) return nullptr;
  CSha256Digest digest;
  if (!m_hasher->Finish(digest)) return kHashPackage;
  return digest == m_pinned ? nullptr : kPinMismatch;
}

const wchar_t* CPackageChecks::FinishFile(HANDLE file, const std::wstring& path) {
#if BOOTFETCH_SAME_PUBLISHER
  return CheckPublisher(OwnPublisher(), file, path);
#else
  (void)file;
  (void)path;
  return nullptr;
#endif
}
