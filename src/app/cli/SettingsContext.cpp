#include "app/cli/SettingsContext.h"

#include <cstdio>

#include "app/cli/CliTexts.h"
#include "base/Text.h"

namespace brimlow::cli {

SettingsContext::~SettingsContext() {
  if (store_open_) FreeOxSettings();
  engine_.reset();
}

bool SettingsContext::Open(const std::string& system_option, std::wstring* error) {
  if (!session_.Open(FromUtf8(system_option), error)) return false;
  // The engine first, so that its default layer answers while the store
  // decides its folders, as in the program.
  engine_ = std::make_unique<TOxEngine>();
  SetOxSettings(std::make_unique<TOxSettings>(L"", OxSettingsPlaces::FromPlatform(),
                                              /*count_run=*/false));
  store_open_ = true;
  UseChosenLanguage(Settings());
  return true;
}

void SettingsContext::Print(const std::wstring& line) {
  std::fputs((ToUtf8(line) + "\n").c_str(), stdout);
  std::fflush(stdout);
}

int SettingsContext::Fail(const std::wstring& message) {
  std::fputs(("brimlow-cli: " + ToUtf8(message) + "\n").c_str(), stderr);
  return 1;
}

}  // namespace brimlow::cli
