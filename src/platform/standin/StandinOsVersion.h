#pragma once
// Stand-in platform only: a Windows version configured through the system
// image's environment variables (names and defaults in platform/OsVersion.h).

#include "platform/Environment.h"
#include "platform/OsVersion.h"

namespace brimlow::platform::standin {

class StandinOsVersion final : public OsVersion {
 public:
  // Reads the variables from `environment` at every query.
  explicit StandinOsVersion(Environment& environment) : environment_(environment) {}

  bool Query(ReportedVersion* version) override;
  bool IsWow64() override;

 private:
  Environment& environment_;
};

}  // namespace brimlow::platform::standin
