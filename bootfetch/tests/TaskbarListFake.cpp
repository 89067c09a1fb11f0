// Test-only in-process COM server standing in for the shell's TaskbarList
// object, whose progress Wine shows nowhere. It appends each call that shows
// progress on a taskbar button to the file beside it with ".log" added, a
// line each: "HrInit", "SetProgressState WINDOW FLAGS", "SetProgressValue
// WINDOW DONE TOTAL" (numbers in decimal). Its table is laid out by hand in
// ITaskbarList3's published order, independently of the declaration the
// program uses: IUnknown 3, ITaskbarList 5 (HrInit first), ITaskbarList2 1,
// then SetProgressValue and SetProgressState; every other member records
// "unexpected".
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "ComStub.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const CLSID kClsid = {0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
// ITaskbarList, ITaskbarList2 and ITaskbarList3.
const IID kInterfaces[] = {
    {0x56FDF342, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}},
    {0x602D4995, 0xB13A, 0x429B, {0xA6, 0x6E, 0x19, 0x35, 0xE4, 0x4F, 0x43, 0x17}},
    {0xEA1AFB91, 0x9E28, 0x4B86, {0x90, 0xE9, 0x9E, 0x9F, 0x8A, 0x5E, 0xEF, 0xAF}},
};
const int kHrInitSlot = 3;
const int kSetProgressValueSlot = 9;
const int kSetProgressStateSlot = 10;
const int kSlots = 21;

void Record(const char* format, ...) {
  wchar_t path[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
  lstrcpyW(path + length, L".log");
  char line[128];
  va_list arguments;
  va_start(arguments, format);
  const int size = vsnprintf(line, sizeof(line), format, arguments);
  va_end(arguments);
  const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, line, size, &written, nullptr);
  CloseHandle(file);
}

bool AcceptsTaskbarList(REFIID iid) {
  for (const IID& supported : kInterfaces)
    if (IsEqualIID(iid, supported)) return true;
  return false;
}

HRESULT __stdcall HrInit(com_stub::CObject*) {
  Record("HrInit\n");
  return S_OK;
}

HRESULT __stdcall SetProgressValue(com_stub::CObject*, HWND window, ULONGLONG done,
                                   ULONGLONG total) {
  Record("SetProgressValue %lu %llu %llu\n",
         static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)), done, total);
  return S_OK;
}

HRESULT __stdcall SetProgressState(com_stub::CObject*, HWND window, int flags) {
  Record("SetProgressState %lu %d\n",
         static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)), flags);
  return S_OK;
}

HRESULT __stdcall Unexpected(com_stub::CObject*) {
  Record("unexpected\n");
  return E_NOTIMPL;
}

struct Table {
  void* slots[kSlots];
  Table() {
    for (void*& slot : slots) slot = reinterpret_cast<void*>(&Unexpected);
    slots[0] = reinterpret_cast<void*>(&com_stub::QueryInterface<AcceptsTaskbarList>);
    slots[1] = reinterpret_cast<void*>(&com_stub::AddRef);
    slots[2] = reinterpret_cast<void*>(&com_stub::Release);
    slots[kHrInitSlot] = reinterpret_cast<void*>(&HrInit);
    slots[kSetProgressValueSlot] = reinterpret_cast<void*>(&SetProgressValue);
    slots[kSetProgressStateSlot] = reinterpret_cast<void*>(&SetProgressState);
  }
};
const Table kTaskbarListTable;

}  // namespace

const CLSID com_stub::kClass = kClsid;
void* const* const com_stub::kTable = kTaskbarListTable.slots;
