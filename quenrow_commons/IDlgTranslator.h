#pragma once

#include <string>

namespace quenrow_commons {

// Answers whether a window text is a message identifier, and its message.
class IDlgTranslator {
 public:
  virtual ~IDlgTranslator() = default;
  virtual bool CanTranslate(std::wstring text) const = 0;
  virtual std::wstring Translate(std::wstring text) const = 0;
};

}  // namespace quenrow_commons
