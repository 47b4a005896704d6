#pragma once
// What the about window shows, gathered by the engine; the window itself
// belongs to the user interface.

#include <string>
#include <vector>

namespace brimlow {

struct AboutInfo {
  std::wstring caption;     // "LibRes" "TfrmOxAboutForm.Caption"
  std::wstring ok_caption;  // "LibRes" "btnOk.Caption"
  // "res\images\about.png" beside the program; "" when it is missing or
  // empty (the logo panel is hidden then).
  std::wstring image_path;
  // The application name, "Version : " + "App.Ver", the vendor's notice
  // ("App.Notice"), and for a translation the translator line.
  std::vector<std::wstring> lines;
  std::wstring support_caption;  // "LibRes" "lblSupport.Caption"
  std::wstring support_url;      // the page "support", with parameters
};

}  // namespace brimlow
