// Exits 0 and prints "caught" when the throw unwinds through the archive's
// functions to here; a missing unwind entry ends the process in terminate.
#include <cstdio>
#include <stdexcept>

int UsedThrows(int n);

int main() {
  try {
    UsedThrows(-1);
  } catch (const std::runtime_error&) {
    std::puts("caught");
    return 0;
  }
  return 1;
}
