#pragma once

#include <cstdint>

namespace setupaux {

// Major version of the installed Flash Player control, through COM as the
// calling thread has it set up. Throws _com_error for COM failures and
// std::runtime_error ("create flash", "invalid flash version") otherwise.
std::int32_t GetFlashMajorVersion();

}  // namespace setupaux
