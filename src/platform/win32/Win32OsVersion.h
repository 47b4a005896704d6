#pragma once
// Win32 platform only: the version the system reports to the program.

#include "platform/OsVersion.h"

namespace brimlow::platform::win32 {

class Win32OsVersion final : public OsVersion {
 public:
  bool Query(ReportedVersion* version) override;
  bool IsWow64() override;
};

}  // namespace brimlow::platform::win32
