// Checks the resources compiled into bootfetch.exe against what the program
// and its users rely on: the dialog template, the icon group and the version;
// the manifest as Windows reads it; and that each localized program differs
// from it only in its catalogue.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "AppRunner.h"
#include "resources/resource.h"

namespace {

// Reads the fields of an extended dialog template in order.
class CTemplateReader {
 public:
  explicit CTemplateReader(const BYTE* data) : m_data(data) {}
  WORD Word() { return Take<WORD>(); }
  DWORD Dword() { return Take<DWORD>(); }
  short Short() { return Take<short>(); }
  // A string or an ordinal (0xFFFF then the number, shown as "#number").
  std::wstring Text() {
    if (Peek() == 0xFFFF) {
      Word();
      return L"#" + std::to_wstring(Word());
    }
    std::wstring text;
    while (WORD c = Word()) text += static_cast<wchar_t>(c);
    return text;
  }
  void AlignToDword() { m_offset = (m_offset + 3) & ~static_cast<size_t>(3); }

 private:
  template <class T>
  T Take() {
    T value;
    memcpy(&value, m_data + m_offset, sizeof(T));
    m_offset += sizeof(T);
    return value;
  }
  WORD Peek() const {
    WORD value;
    memcpy(&value, m_data + m_offset, sizeof(value));
    return value;
  }
  const BYTE* m_data;
  size_t m_offset = 0;
};

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module = LoadLibraryExW(BootfetchPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(m_module);
  }
  void TearDown() override { FreeLibrary(m_module); }

  const BYTE* Resource(LPCWSTR type, int id, DWORD* size = nullptr) {
    const HRSRC info = FindResourceW(m_module, MAKEINTRESOURCEW(id), type);
    if (!info) return nullptr;
    if (size) *size = SizeofResource(m_module, info);
    return static_cast<const BYTE*>(LockResource(LoadResource(m_module, info)));
  }

  HMODULE m_module = nullptr;
};

// A top-level window with a caption, a close box and the {PRODUCT} the
// program fills in; a visible Cancel button and the progress bar, each inside
// the client area.
TEST_F(ProgramResources, DialogTemplate) {
  const BYTE* data = Resource(RT_DIALOG, IDD_MAIN);
  ASSERT_TRUE(data);
  CTemplateReader dialog(data);
  EXPECT_EQ(1, dialog.Word());       // version
  ASSERT_EQ(0xFFFF, dialog.Word());  // extended template
  dialog.Dword();                    // help id
  dialog.Dword();                    // extended style
  const DWORD style = dialog.Dword();
  EXPECT_EQ(0u, style & (WS_CHILD | WS_POPUP));
  EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU), style & (WS_CAPTION | WS_SYSMENU));
  const WORD items = dialog.Word();
  dialog.Short();
  dialog.Short();
  const short width = dialog.Short(), height = dialog.Short();
  dialog.Text();  // menu
  dialog.Text();  // class
  EXPECT_NE(std::wstring::npos, dialog.Text().find(L"{PRODUCT}"));
  ASSERT_TRUE(style & DS_SETFONT);
  dialog.Word();  // point size
  dialog.Word();  // weight
  dialog.Word();  // italic and character set
  dialog.Text();  // typeface

  std::map<DWORD, std::pair<std::wstring, std::wstring>> controls;  // id: class, text
  for (WORD i = 0; i < items; ++i) {
    dialog.AlignToDword();
    dialog.Dword();  // help id
    dialog.Dword();  // extended style
    const DWORD itemStyle = dialog.Dword();
    const short x = dialog.Short(), y = dialog.Short(), cx = dialog.Short(), cy = dialog.Short();
    const DWORD id = dialog.Dword();
    std::wstring className = dialog.Text();
    CharLowerW(&className[0]);  // window class names are not case-sensitive
    controls[id] = {className, dialog.Text()};
    EXPECT_EQ(0, dialog.Word());  // no creation data
    EXPECT_TRUE(itemStyle & WS_VISIBLE) << id;
    EXPECT_TRUE(x >= 0 && y >= 0 && x + cx <= width && y + cy <= height) << id;
  }
  EXPECT_EQ((std::pair<std::wstring, std::wstring>(L"button", L"Cancel")), controls[IDCANCEL]);
  EXPECT_EQ(L"msctls_progress32", controls[IDC_PROGRESS].first);
}

TEST_F(ProgramResources, IconGroupSizesDepthsAndFormats) {
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  const BYTE* data = Resource(RT_GROUP_ICON, 128);
  ASSERT_TRUE(data);
  WORD count;
  memcpy(&count, data + 4, sizeof(count));
  // Size, depth, and whether the image is PNG rather than a bitmap.
  std::vector<std::tuple<int, int, bool>> images;
  for (WORD i = 0; i < count; ++i) {
    GroupEntry entry;
    memcpy(&entry, data + 6 + i * sizeof(GroupEntry), sizeof(entry));
    const BYTE* image = Resource(RT_ICON, entry.id);
    ASSERT_TRUE(image) << entry.id;
    images.emplace_back(entry.width ? entry.width : 256, entry.bitCount,
                        memcmp(image, "\x89PNG", 4) == 0);
  }
  const std::vector<std::tuple<int, int, bool>> expected = {
      {48, 32, false}, {48, 8, false},  {48, 4, false}, {32, 32, false}, {32, 8, false},
      {32, 4, false},  {16, 32, false}, {16, 8, false}, {16, 4, false},  {64, 32, true},
      {40, 32, true},  {24, 32, true},  {20, 32, true}, {256, 32, true}};
  EXPECT_EQ(expected, images);
  for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
    const HANDLE icon = LoadImageW(m_module, MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0);
    EXPECT_TRUE(icon) << size;
    if (icon) DestroyIcon(static_cast<HICON>(icon));
  }
}

// Read the way Windows reads it when the program starts: as the program's
// activation context.
TEST_F(ProgramResources, ManifestSettings) {
  ACTCTXW request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  const std::wstring program = BootfetchPath();
  request.lpSource = program.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  const HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(INVALID_HANDLE_VALUE, context);

  const struct {
    const wchar_t *space, *name, *value;
  } settings[] = {
      {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
      {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
       L"PerMonitorV2, PerMonitor"},
  };
  for (const auto& setting : settings) {
    wchar_t value[64] = {};
    SIZE_T written = 0;
    EXPECT_TRUE(QueryActCtxSettingsW(0, context, setting.space, setting.name, value, 64, &written))
        << setting.name;
    EXPECT_STREQ(setting.value, value);
  }

  // The element layout of Windows 10 1903 and later, which Wine returns too.
  struct CCompatibilityElement {
    GUID id;
    ACTCTX_COMPATIBILITY_ELEMENT_TYPE type;
    ULONGLONG maxVersionTested;
  };
  struct {
    DWORD count;
    CCompatibilityElement elements[8];
  } compatibility = {};
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext,
                           &compatibility, sizeof(compatibility), nullptr));
  std::vector<std::wstring> systems;
  for (DWORD i = 0; i < compatibility.count && i < 8; ++i) {
    wchar_t id[40] = {};
    StringFromGUID2(compatibility.elements[i].id, id, 40);
    EXPECT_EQ(ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS, compatibility.elements[i].type) << id;
    systems.push_back(id);
  }
  const std::vector<std::wstring> vistaTo11 = {
      L"{E2011457-1546-43C5-A5FE-008DEEE3D3F0}", L"{35138B9A-5D96-4FBD-8E2D-A2440225F93A}",
      L"{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}", L"{1F676C76-80E1-4239-95BB-83D0F6D0DA78}",
      L"{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}"};
  EXPECT_EQ(vistaTo11, systems);

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                           sizeof(runLevel), nullptr));
  EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, runLevel.RunLevel);
  EXPECT_EQ(0u, runLevel.UiAccess);

  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(context, &cookie));
  ACTCTX_SECTION_KEYED_DATA commonControls = {};
  commonControls.cbSize = sizeof(commonControls);
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                       L"comctl32.dll", &commonControls))
      << "no common controls 6";
  DeactivateActCtx(0, cookie);
  ReleaseActCtx(context);
}

TEST_F(ProgramResources, CatalogueAndVersion) {
  DWORD size = 0;
  const BYTE* catalogue = Resource(RT_RCDATA, IDR_LANGUAGE, &size);
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(0, memcmp(catalogue, "\xEF\xBB\xBF<?xml", 8));

  const BYTE* version = Resource(RT_VERSION, 1);
  ASSERT_TRUE(version);
  VS_FIXEDFILEINFO info;
  memcpy(&info, version + 40, sizeof(info));  // after the header and its key, aligned
  EXPECT_EQ(0xFEEF04BDu, info.dwSignature);
  EXPECT_EQ(MAKELONG(0, 1), info.dwFileVersionMS);
  EXPECT_EQ(MAKELONG(1, 0), info.dwFileVersionLS);
  EXPECT_EQ(MAKELONG(0, 1), info.dwProductVersionMS);
  EXPECT_EQ(MAKELONG(1, 0), info.dwProductVersionLS);

  EXPECT_TRUE(Resource(RT_MANIFEST, 1));
}

// Every resource of a program, keyed "type/name/language", with its bytes.
class CResourceMap {
 public:
  explicit CResourceMap(const std::wstring& program) {
    const HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return;
    EnumResourceTypesW(module, &CResourceMap::OnType, reinterpret_cast<LONG_PTR>(this));
    FreeLibrary(module);
  }
  std::map<std::wstring, std::string> entries;

 private:
  static std::wstring Name(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                : std::wstring(name);
  }
  static BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR self) {
    EnumResourceNamesW(module, type, &CResourceMap::OnName, self);
    return TRUE;
  }
  static BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR self) {
    EnumResourceLanguagesW(module, type, name, &CResourceMap::OnLanguage, self);
    return TRUE;
  }
  static BOOL CALLBACK OnLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language,
                                  LONG_PTR self) {
    const HRSRC info = FindResourceExW(module, type, name, language);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, info)));
    reinterpret_cast<CResourceMap*>(self)
        ->entries[Name(type) + L"/" + Name(name) + L"/" + std::to_wstring(language)] =
        std::string(bytes, SizeofResource(module, info));
    return TRUE;
  }
};

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(LocalizedPrograms, DifferFromBootfetchOnlyInTheCatalogue) {
  const std::wstring catalogueKey = L"#10/#201/1033";  // RT_RCDATA 201, English (US)
  const CResourceMap english(BootfetchPath());
  // Compared whole, not printed: the catalogues are 118 kB each.
  ASSERT_TRUE(FileBytes(RESOURCES_FOLDER L"\\language.xml") == english.entries.at(catalogueKey));
  for (const std::wstring language : {BOOTFETCH_LANGUAGES}) {
    SCOPED_TRACE(language);
    CResourceMap localized(ProgramFolder() + L"\\..\\bootfetch-" + language + L".exe");
    ASSERT_EQ(1u, localized.entries.count(catalogueKey));
    EXPECT_TRUE(FileBytes(RESOURCES_FOLDER L"\\language-" + language + L".xml") ==
                localized.entries[catalogueKey]);
    localized.entries.erase(catalogueKey);
    for (const auto& entry : english.entries) {
      if (entry.first == catalogueKey) continue;
      const auto found = localized.entries.find(entry.first);
      if (found == localized.entries.end()) {
        ADD_FAILURE() << "missing " << entry.first;
        continue;
      }
      EXPECT_TRUE(entry.second == found->second) << "differs: " << entry.first;
      localized.entries.erase(found);
    }
    for (const auto& extra : localized.entries) ADD_FAILURE() << "extra " << extra.first;
  }
}

}  // namespace
