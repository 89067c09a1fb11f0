#include "ui/LanguageBootstrap.h"

#include <windows.h>

#include <string>
#include <vector>

#include "FileHandle.h"
#include "TempFiles.h"
#include "Translator.h"
#include "WaitableHandle.h"
#include "XmlLibraryReference.h"
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

// Writes the catalogue to a unique temporary file; returns its path, or an
// empty one (and leaves no file behind) when it cannot.
std::wstring WriteCatalogueCopy() {
  CTempFileGuard copy(CreateUniqueTempFile(L"language", L".xml"));
  if (copy.Path().empty()) return std::wstring();
  const std::vector<char> catalogue = ReadCatalogueResource();
  if (catalogue.empty() || !WriteWholeFile(copy.Path(), catalogue)) return std::wstring();
  return copy.Detach();
}

// Installs the catalogue copy at path, if there is one, and removes it on
// every path, not only after a load.
void InstallCatalogueCopy(const std::wstring& path) {
  const CTempFileGuard guard(path);
  if (path.empty()) return;
  const boost::shared_ptr<libi18n::CMessageTranslator> translator = libi18n::CreateTranslator(path);
  if (translator) libi18n::SetTranslator(translator);
}

// Only the main thread starts and waits for the loader.
CWaitableHandle g_loader;

DWORD WINAPI LoaderProc(void*) {
  try {
    // Kept up until the program ends, so that no shut-down delays the dialog
    // either. Should it not start here, the load below starts it.
    static const libi18n::CXmlLibraryReference xmlLibrary;
  } catch (...) {
  }
  LoadBuiltInLanguage();
  return 0;
}

}  // namespace

void LoadBuiltInLanguage() { InstallCatalogueCopy(WriteCatalogueCopy()); }

void StartLoadingBuiltInLanguage() {
  g_loader.Attach(CreateThread(nullptr, 0, LoaderProc, nullptr, 0, nullptr));
  if (g_loader.Get() == nullptr) LoadBuiltInLanguage();
}

void WaitForBuiltInLanguage() {
  if (g_loader.Get() == nullptr) return;
  g_loader.Wait(INFINITE);
  g_loader.Close();
}
