#pragma once
// The registry seam. Paths are relative to a predefined root, with
// backslashes and no leading backslash; "" is the root itself. Key and value
// names compare without regard to case. The value name "" is the default
// value. Every method may be called from any thread.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Result.h"

namespace brimlow::platform {

// The platform's predefined keys, with their handle values.
enum class RegRoot : std::uint32_t {
  kClassesRoot = 0x80000000u,
  kCurrentUser = 0x80000001u,
  kLocalMachine = 0x80000002u,
  kUsers = 0x80000003u,
  kPerformanceData = 0x80000004u,
  kCurrentConfig = 0x80000005u,
  kDynData = 0x80000006u,
};

// Registry value types as the platform numbers them. Other numbers occur and
// are kept as they are.
namespace RegType {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kDwordBigEndian = 5;
constexpr std::uint32_t kLink = 6;
constexpr std::uint32_t kMultiSz = 7;
constexpr std::uint32_t kResourceList = 8;
constexpr std::uint32_t kFullResourceDescriptor = 9;
constexpr std::uint32_t kResourceRequirementsList = 10;
constexpr std::uint32_t kQword = 11;
}  // namespace RegType

// A value exactly as stored: its type and its raw bytes (strings as UTF-16LE
// including the terminating zero when the writer stored one).
struct RegValue {
  std::wstring name;
  std::uint32_t type = RegType::kNone;
  Bytes data;

  friend bool operator==(const RegValue&, const RegValue&) = default;
};

// Helpers to build and read values of the common types.
RegValue MakeStringValue(std::wstring name, std::wstring_view text,
                         std::uint32_t type = RegType::kSz);
RegValue MakeDwordValue(std::wstring name, std::uint32_t number);
// The text of a string-typed value, cut at the first zero character.
std::wstring RegValueText(const RegValue& value);
// The number of a 4-byte value (little-endian); 0 when shorter.
std::uint32_t RegValueDword(const RegValue& value);

class Registry {
 public:
  virtual ~Registry() = default;

  // kOk when the key can be opened for reading.
  virtual Result KeyExists(RegRoot root, const std::wstring& path) = 0;

  // Fills *names (emptied first) with the direct subkeys' names, in the
  // platform's enumeration order (case-insensitively sorted).
  virtual Result SubKeyNames(RegRoot root, const std::wstring& path,
                             std::vector<std::wstring>* names) = 0;

  // Fills *values (emptied first) with every value of the key, in the order
  // the platform enumerates them (the order they were created).
  virtual Result Values(RegRoot root, const std::wstring& path,
                        std::vector<RegValue>* values) = 0;

  // kNotFound when the key or the value is missing.
  virtual Result QueryValue(RegRoot root, const std::wstring& path,
                            const std::wstring& name, RegValue* value) = 0;

  // Number of direct subkeys and values (the cheap probe behind "has
  // subkeys" and "is empty").
  virtual Result CountChildren(RegRoot root, const std::wstring& path,
                               std::uint32_t* subkeys, std::uint32_t* values) = 0;

  // Creates the key and its missing parents. kOk when it exists afterwards.
  virtual Result CreateKey(RegRoot root, const std::wstring& path) = 0;

  // Creates the key when missing and writes the value.
  virtual Result SetValue(RegRoot root, const std::wstring& path, const RegValue& value) = 0;

  virtual Result DeleteValue(RegRoot root, const std::wstring& path,
                             const std::wstring& name) = 0;

  // Deletes the key with all its subkeys (subkeys first).
  virtual Result DeleteKeyTree(RegRoot root, const std::wstring& path) = 0;
};

}  // namespace brimlow::platform
