// The link launcher's archive: a used function that throws through an
// inline (COMDAT) one, and a plain and an inline function that nothing calls
// and only their unwind entries would keep.
#include <stdexcept>

inline __attribute__((noinline)) int ThrowIfNegative(int n) {
  if (n < 0) throw std::runtime_error("negative");
  return n;
}

inline __attribute__((noinline)) int OnlyForNeverCalled(int n) {
  if (n == 7) throw std::logic_error("seven");
  return n * 3;
}

int UsedThrows(int n) { return ThrowIfNegative(n) + 1; }

int NeverCalled(int n) { return OnlyForNeverCalled(n) * 2; }
