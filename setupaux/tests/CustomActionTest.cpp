#include "CustomAction.h"

#include <comdef.h>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

using setupaux::RunCustomAction;

namespace {

struct NotAStandardException {};

TEST(RunCustomAction, EveryExceptionClassBecomesFunctionFailed) {
  EXPECT_EQ(1627u, RunCustomAction([]() -> UINT { throw std::runtime_error("get property"); }));
  EXPECT_EQ(1627u, RunCustomAction([]() -> UINT { throw std::exception(); }));
  EXPECT_EQ(1627u, RunCustomAction([]() -> UINT { throw std::bad_alloc(); }));
  EXPECT_EQ(1627u, RunCustomAction([]() -> UINT { throw _com_error(E_FAIL); }));
  EXPECT_EQ(1627u, RunCustomAction([]() -> UINT { throw NotAStandardException(); }));
  EXPECT_EQ(1627u, RunCustomAction([]() -> UINT { throw 42; }));
}

TEST(RunCustomAction, BodyResultPassesThrough) {
  EXPECT_EQ(0u, RunCustomAction([]() -> UINT { return ERROR_SUCCESS; }));
  EXPECT_EQ(1602u, RunCustomAction([]() -> UINT { return ERROR_INSTALL_USEREXIT; }));
}

TEST(RunCustomAction, FailureStatusCanBeSuccess) {
  EXPECT_EQ(0u, RunCustomAction([]() -> UINT { throw std::runtime_error("x"); }, ERROR_SUCCESS));
}

}  // namespace
