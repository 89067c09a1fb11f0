#include "system/TestSeams.h"

CTestSeams& TestSeams() {
  static CTestSeams seams;
  return seams;
}
