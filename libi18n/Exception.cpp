#include "Exception.h"

#include "Encoding.h"

namespace libi18n {

CException::CException(const std::wstring& message) : m_message(WideToUtf8(message)) {}

const char* CException::what() const noexcept { return m_message.c_str(); }

}  // namespace libi18n
