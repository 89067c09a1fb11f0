// The sample product the demo package installs: a program that says it is
// there. It stands in for the real application so that the package can show
// how the exit dialog's "Launch" check box starts an installed program.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr,
              L"Vantrel Dulon 6 is installed.\n\nThis program stands in for the product "
              L"in the setup demo.",
              L"Vantrel Dulon 6", MB_OK | MB_ICONINFORMATION);
  return 0;
}
