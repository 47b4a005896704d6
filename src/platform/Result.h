#pragma once
// The outcome of a call into the operating system. "Not found" is an ordinary
// answer, kept apart from a real failure.

#include <cstdint>

namespace brimlow::platform {

enum class Result : std::uint8_t {
  kOk,
  kNotFound,  // the key, value, file or folder is not there
  kFailed,    // it is there (or may be) but the call did not succeed
};

inline bool Ok(Result r) { return r == Result::kOk; }

}  // namespace brimlow::platform
