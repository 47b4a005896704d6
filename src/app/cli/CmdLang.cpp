// brimlow-cli lang list: the languages the program offers -- the built-in
// English first, then the ".lan" files of its language folder -- and which
// one the settings choose.
//
// Human format: "* " for the chosen language, else two blanks, then
// "<name>\t<file or (built-in)>\t<Info/Language>\t<Info/Translator>".
// --json: {"Name":"German","File":"...","Language":"Deutsch",
// "Translator":"...","Version":"1.0","Current":false} per line.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>

#include "app/cli/Cli.h"
#include "app/cli/CliTexts.h"
#include "app/cli/SettingsContext.h"
#include "base/Text.h"
#include "framework/OxMultiLangData.h"
#include "framework/OxMultiLangLan.h"
#include "platform/Platform.h"

namespace brimlow::cli {
namespace {

struct LangOptions {
  bool json = false;
};

struct LanguageEntry {
  std::wstring name;
  std::wstring file;  // empty: the built-in texts
  std::wstring language;
  std::wstring translator;
  std::wstring version;
  bool current = false;
};

bool IsFile(const std::wstring& path) {
  platform::FileEntry entry;
  return platform::Ok(platform::Files().Stat(path, &entry)) && !entry.IsFolder();
}

LanguageEntry Describe(TOxSettings& settings, const std::wstring& name,
                       const std::wstring& chosen) {
  LanguageEntry entry;
  entry.name = name;
  entry.current = SameText(name, chosen);
  const std::wstring path = LanguageFile(settings, name);
  TOxMultiLangLan lan;
  if (IsFile(path) && lan.LoadFromFile(path)) {
    entry.file = path;
  } else {
    lan.LoadFromString(BuiltinEnglishText());
  }
  entry.language = lan.Ini().ReadString(L"Info", L"Language", L"");
  entry.translator = lan.Ini().ReadString(L"Info", L"Translator", L"");
  entry.version = lan.Ini().ReadString(L"Info", L"Version", L"");
  return entry;
}

void PrintEntry(const LanguageEntry& e, bool json) {
  if (!json) {
    SettingsContext::Print(std::wstring(e.current ? L"* " : L"  ") + e.name + L"\t" +
                           (e.file.empty() ? AppText(L"Cli.BuiltIn", L"(built-in)") : e.file) + L"\t" + e.language +
                           L"\t" + e.translator);
    return;
  }
  const nlohmann::ordered_json line = {{"Name", ToUtf8(e.name)},
                               {"File", ToUtf8(e.file)},
                               {"Language", ToUtf8(e.language)},
                               {"Translator", ToUtf8(e.translator)},
                               {"Version", ToUtf8(e.version)},
                               {"Current", e.current}};
  SettingsContext::Print(FromUtf8(line.dump()));
}

int RunList(const LangOptions& options, const GlobalOptions& global) {
  SettingsContext context;
  std::wstring error;
  if (!context.Open(global.system, &error)) return SettingsContext::Fail(error);
  std::wstring chosen = context.Settings().GetSettingString(L"Language");
  if (chosen.empty()) chosen = L"English";
  for (const std::wstring& name : context.Engine().LanguageList()) {
    PrintEntry(Describe(context.Settings(), name, chosen), options.json);
  }
  return 0;
}

}  // namespace

void RegisterLang(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* lang = app.add_subcommand("lang", "The program's languages");
  lang->require_subcommand(1);
  auto options = std::make_shared<LangOptions>();
  CLI::App* list = lang->add_subcommand("list", "Languages on offer and the chosen one");
  list->add_flag("--json", options->json, "One JSON object per line");
  list->callback([=, &global] { *chosen = [=, &global] { return RunList(*options, global); }; });
}

}  // namespace brimlow::cli
