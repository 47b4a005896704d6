// The about window's content.

#include "framework/AboutInfo.h"

#include "framework/OxEngine.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

bool IsNonEmptyFile(const std::wstring& path) {
  platform::FileEntry entry;
  return platform::Files().Stat(path, &entry) == platform::Result::kOk && !entry.IsFolder() &&
         entry.size > 0;
}

}  // namespace

AboutInfo TOxEngine::GetAboutInfo() const {
  TOxSettings& settings = GetOxSettings();
  AboutInfo info;
  info.caption = GetLibString(L"TfrmOxAboutForm.Caption");
  info.ok_caption = GetLibString(L"btnOk.Caption");
  const std::wstring image = settings.ConstDataPath() + L"res\\images\\about.png";
  if (IsNonEmptyFile(image)) info.image_path = image;

  info.lines.push_back(AppName());
  info.lines.push_back(FormatPlaceholders(L"Version : {1}", {settings.GetSettingString(L"App.Ver")}));
  info.lines.push_back(settings.GetSettingString(L"App.Notice"));
  if (!FLanguage.empty() && FLanguage != L"English") {
    info.lines.push_back(
        FormatPlaceholders(L"{1} is tranlated by {2}", {FLanguage, FLanguageTranslator}));
  }
  info.support_caption = GetLibString(L"lblSupport.Caption");
  info.support_url = GetURL(L"support", true);
  return info;
}

}  // namespace brimlow
