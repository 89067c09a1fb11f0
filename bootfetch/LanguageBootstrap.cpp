#include "LanguageBootstrap.h"

#include <windows.h>

#include <string>
#include <vector>

#include "FileHandle.h"
#include "TempFiles.h"
#include "ThreadHandle.h"
#include "Translator.h"
#include "resources/resource.h"

namespace {

std::vector<char> ReadCatalogueResource() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(IDR_LANGUAGE), RT_RCDATA);
  if (!info) return {};
  const DWORD size = SizeofResource(module, info);
  const HGLOBAL loaded = LoadResource(module, info);
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes) return {};
  return std::vector<char>(bytes, bytes + size);
}

bool WriteWholeFile(const std::wstring& path, const std::vector<char>& bytes) {
  CFileHandle file;
  DWORD written = 0;
  return file.Create(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL) &&
         file.Write(bytes.data(), static_cast<DWORD>(bytes.size()), written) &&
         written == bytes.size();
}

// The catalogue copy is removed on every path, not only after a load.
class CTempFileGuard {
 public:
  explicit CTempFileGuard(std::wstring path) : m_path(std::move(path)) {}
  ~CTempFileGuard() {
    if (!m_path.empty()) DeleteFileW(m_path.c_str());
  }
  CTempFileGuard(const CTempFileGuard&) = delete;
  CTempFileGuard& operator=(const CTempFileGuard&) = delete;

 private:
  std::wstring m_path;
};

// Only the main thread starts and waits for the loader.
CThreadHandle g_loader;

DWORD WINAPI LoaderProc(void*) {
  LoadBuiltInLanguage();
  return 0;
}

}  // namespace

void LoadBuiltInLanguage() {
  const std::wstring path = CreateUniqueTempFile(L"language", L".xml");
  CTempFileGuard guard(path);
  if (path.empty()) return;

  const std::vector<char> catalogue = ReadCatalogueResource();
  if (catalogue.empty()) return;
  if (!WriteWholeFile(path, catalogue)) return;

  const boost::shared_ptr<libi18n::CMessageTranslator> translator = libi18n::CreateTranslator(path);
  if (translator) libi18n::SetTranslator(translator);
}

void StartLoadingBuiltInLanguage() {
  g_loader.Set(CreateThread(nullptr, 0, LoaderProc, nullptr, 0, nullptr));
  if (g_loader.Get() == nullptr) LoadBuiltInLanguage();
}

void WaitForBuiltInLanguage() {
  if (g_loader.Get() == nullptr) return;
  g_loader.Wait(INFINITE);
  g_loader.Set(nullptr);
}
