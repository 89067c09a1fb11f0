#pragma once

// Products packaged by CMakeLists.txt; the codes must match there.
namespace testproducts {

const wchar_t kSessionPackage[] = L"session.msi";
const wchar_t kCheckboxPackage[] = L"checkbox.msi";
const wchar_t kCheckboxProductCode[] = L"{6A1E0C2B-5B7E-4C8F-9D3A-0000000000C1}";
const wchar_t kTrialPackage[] = L"trial.msi";
const wchar_t kTrialProductCode[] = L"{6A1E0C2B-5B7E-4C8F-9D3A-0000000000B1}";

struct Product {
  const wchar_t* package;
  const wchar_t* code;
};

// Installed once into the test prefix, kept for later runs.
const Product kDulon5 = {L"dulon5.msi",
                         L"{6A1E0C2B-5B7E-4C8F-9D3A-0000000000D1}"};  // "Vantrel Dulon 5" 5.2
const Product kDulon = {L"dulon.msi",
                        L"{6A1E0C2B-5B7E-4C8F-9D3A-0000000000D2}"};  // "Vantrel Dulon" 5.2
const Product kDulon15 = {L"dulon15.msi",
                          L"{6A1E0C2B-5B7E-4C8F-9D3A-0000000000D3}"};  // "Vantrel Dulon15" 5.2
const Product kAurel4 = {L"aurel4.msi",
                         L"{6A1E0C2B-5B7E-4C8F-9D3A-0000000000D4}"};  // "Vantrel aurel 4" 4.1
const wchar_t kNotInstalledCode[] = L"{6A1E0C2B-5B7E-4C8F-9D3A-0000000000EE}";

}  // namespace testproducts

// Installs the product's package into the test prefix unless it is already
// there; false when the installer refuses.
bool EnsureProductInstalled(const testproducts::Product& product);
