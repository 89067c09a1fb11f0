#pragma once

#include <exception>
#include <string>

namespace libi18n {

// Failure inside the catalogue library; what() is the message in UTF-8.
class CException : public std::exception {
 public:
  explicit CException(const std::wstring& message);

  const char* what() const noexcept override;

 private:
  std::string m_message;
};

}  // namespace libi18n
