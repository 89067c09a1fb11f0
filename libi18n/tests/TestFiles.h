#pragma once

#include <string>

#include "TempDir.h"

// Writes a language file into the folder and returns its path.
std::wstring WriteFixture(const CTempDir& dir, const std::wstring& name, const std::string& bytes);

// Wraps message elements into a complete language file.
std::string LanguageFile(const std::string& messages);

// Whether the temporary folder holds an "i18n" folder or a numbered one.
bool HasSchemaFolder(const std::wstring& tempFolder);
