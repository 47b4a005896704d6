#pragma once
// The registry questions the rules ask, behind one small interface so that
// questions about the key the walk has just read are answered from that
// read instead of opening the key again.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace brimlow::scan {

class RegistryProbe {
 public:
  virtual ~RegistryProbe() = default;

  // As the platform's registry answers them.
  virtual bool KeyExists(platform::RegRoot root, const std::wstring& path) = 0;
  virtual platform::Result QueryValue(platform::RegRoot root, const std::wstring& path,
                                      const std::wstring& name, platform::RegValue* value) = 0;
  virtual platform::Result CountChildren(platform::RegRoot root, const std::wstring& path,
                                         std::uint32_t* subkeys, std::uint32_t* values) = 0;
  virtual platform::Result Values(platform::RegRoot root, const std::wstring& path,
                                  std::vector<platform::RegValue>* values) = 0;

  // The walk has just read `path` under `root`: its values, and its
  // CountChildren answer. Questions about exactly that key (same root, same
  // path text) and about subkeys of a key without subkeys may be answered
  // from it until the next call or Forget. The arguments must stay alive and
  // unchanged until then. Ignored by probes without a memory.
  virtual void NoteWalkedKey(platform::RegRoot root, const std::wstring& path,
                             const std::vector<platform::RegValue>& values, std::uint32_t subkeys,
                             std::uint32_t value_count) {
    (void)root, (void)path, (void)values, (void)subkeys, (void)value_count;
  }
  virtual void ForgetWalkedKey() {}
};

// Asks the platform every time.
RegistryProbe& DirectRegistryProbe();

// Answers from the walked key when it can, else asks the platform. One
// thread.
std::unique_ptr<RegistryProbe> MakeWalkRegistryProbe();

}  // namespace brimlow::scan
