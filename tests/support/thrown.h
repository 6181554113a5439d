// What a call threw, for tests that check an error's kind and message without try/catch blocks.
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "common/error.h"

namespace dw::test {

struct ThrownError {
  bool thrown = false;            // anything at all was thrown
  std::optional<ErrorKind> kind;  // empty when nothing, or no dw::Error, was thrown
  std::string message = "(nothing thrown)";
  const char* what() const { return message.c_str(); }
  bool Contains(const std::string& part) const { return message.find(part) != std::string::npos; }
};

// Runs `action` and returns the dw::Error it threw; another exception is reported by its what()
// with no kind, so EXPECT_EQ(Thrown(...).kind, ErrorKind::...) fails for it.
template <class Action>
ThrownError Thrown(Action&& action) {
  try {
    action();
  } catch (const Error& e) {
    return {true, e.kind(), e.what()};
  } catch (const std::exception& e) {
    return {true, std::nullopt, std::string("(not a dw::Error) ") + e.what()};
  }
  return {};
}

}  // namespace dw::test
