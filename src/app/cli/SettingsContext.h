#pragma once
// The settings store and application engine of the program, opened on the
// chosen system for one command: what the program would read at start,
// without counting a program start.

#include <memory>
#include <string>

#include "framework/OxEngine.h"
#include "framework/OxSettings.h"
#include "platform/SystemSession.h"

namespace brimlow::cli {

class SettingsContext {
 public:
  SettingsContext() = default;
  ~SettingsContext();
  SettingsContext(const SettingsContext&) = delete;
  SettingsContext& operator=(const SettingsContext&) = delete;

  // Opens the system (the --system option) and the store. On failure
  // returns false with a message in *error.
  bool Open(const std::string& system_option, std::wstring* error);

  TOxSettings& Settings() { return GetOxSettings(); }
  TOxEngine& Engine() { return *engine_; }

  // A line of UTF-8 text on standard output, flushed at once.
  static void Print(const std::wstring& line);
  // "brimlow-cli: " + message on standard error; returns the exit code 1.
  static int Fail(const std::wstring& message);

 private:
  platform::SystemSession session_;
  std::unique_ptr<TOxEngine> engine_;
  bool store_open_ = false;
};

}  // namespace brimlow::cli
