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

// Writes the catalogue to a unique temporary file, through the handle that
// reserved its name; returns its path, or an empty one (and leaves no file
// behind) when it cannot.
std::wstring WriteCatalogueCopy() {
  CFileHandle file;
  CTempFileGuard copy(CreateUniqueTempFile(L"language", L".xml", GENERIC_WRITE, 0, file));
  const std::vector<char> catalogue =
      copy.Path().empty() ? std::vector<char>() : ReadCatalogueResource();
  DWORD written = 0;
  const bool whole = !catalogue.empty() &&
                     file.Write(catalogue.data(), static_cast<DWORD>(catalogue.size()), written) &&
                     written == catalogue.size();
  // Closed before the guard may delete it and before the parser opens it.
  if (!file.Close() || !whole) return std::wstring();
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
