// brimlow-cli settings list|get NAME|set NAME VALUE: the program's settings
// as its five layers answer them, and writes to the user's "setting.dat".
//
//   settings list [--layer L] [--json]   every name, the answering layer and value
//   settings get NAME [--layer L] [--json]
//   settings set NAME VALUE [--layer user]
//
// Layers: overwrite, user, oem, const, default. The human format is
// "<layer>\t<name>=<value>"; --json gives one object per line:
// {"Name":"RunTimes","Value":"3","Layer":"user"}.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "app/cli/CliTexts.h"
#include "app/cli/SettingsContext.h"
#include "base/Text.h"
#include "framework/utils/NameValueList.h"

namespace brimlow::cli {
namespace {

const char* const kLayerNames[] = {"", "overwrite", "user", "oem", "const", "default"};
const wchar_t kSection[] = L"setting";

struct SettingsOptions {
  std::string name;
  std::string value;
  std::string layer;
  bool json = false;
};

// The layer's number for its name; 0 when the name is unknown.
int LayerNumber(const std::string& name) {
  for (int i = 1; i <= 5; ++i) {
    if (name == kLayerNames[i]) return i;
  }
  return 0;
}

// The value one layer holds for the name, shadowed or not.
bool FindInLayer(SettingsContext& context, int layer, const std::wstring& name,
                 std::wstring* value) {
  TOxSettings& settings = context.Settings();
  switch (layer) {
    case 1: return FindNameValue(context.Engine().SettingOverwrite(), name, value);
    case 2: return settings.SettingIni().Find(kSection, name, value);
    case 3: return settings.OemValueIni().Find(kSection, name, value);
    case 4: return settings.ConstValueIni().Find(kSection, name, value);
    case 5: return FindNameValue(context.Engine().SettingDefault(), name, value);
    default: return false;
  }
}

// Every name any layer holds, once, sorted without regard to case.
std::vector<std::wstring> AllNames(SettingsContext& context) {
  std::vector<std::wstring> names;
  const auto add = [&](const std::wstring& name) {
    if (std::none_of(names.begin(), names.end(),
                     [&](const std::wstring& n) { return SameText(n, name); })) {
      names.push_back(name);
    }
  };
  for (const auto& line : context.Engine().SettingOverwrite()) add(ListNameOf(line));
  for (const IniFile* ini : {&context.Settings().SettingIni(), &context.Settings().OemValueIni(),
                             &context.Settings().ConstValueIni()}) {
    if (const auto* section = ini->FindSection(kSection)) {
      for (const auto& entry : section->entries) add(entry.name);
    }
  }
  for (const auto& line : context.Engine().SettingDefault()) add(ListNameOf(line));
  std::stable_sort(names.begin(), names.end(),
                   [](const auto& a, const auto& b) { return CompareText(a, b) < 0; });
  return names;
}

void PrintSetting(const std::wstring& name, const std::wstring& value, int layer, bool json) {
  if (!json) {
    SettingsContext::Print(FromUtf8(kLayerNames[layer]) + L"\t" + name + L"=" + value);
    return;
  }
  const nlohmann::ordered_json line = {
      {"Name", ToUtf8(name)}, {"Value", ToUtf8(value)}, {"Layer", kLayerNames[layer]}};
  SettingsContext::Print(FromUtf8(line.dump()));
}

// The answering layer, or the one asked for with --layer. 0 when none.
int Lookup(SettingsContext& context, int only_layer, const std::wstring& name,
           std::wstring* value) {
  if (only_layer == 0) return context.Settings().FindSettingLayer(name, value);
  return FindInLayer(context, only_layer, name, value) ? only_layer : 0;
}

int OpenContext(SettingsContext* context, const GlobalOptions& global) {
  std::wstring error;
  if (!context->Open(global.system, &error)) return SettingsContext::Fail(error);
  return 0;
}

int RunList(const SettingsOptions& options, const GlobalOptions& global) {
  const int only_layer = LayerNumber(options.layer);
  SettingsContext context;
  if (int failed = OpenContext(&context, global)) return failed;
  for (const std::wstring& name : AllNames(context)) {
    std::wstring value;
    const int layer = Lookup(context, only_layer, name, &value);
    if (layer != 0) PrintSetting(name, value, layer, options.json);
  }
  return 0;
}

int RunGet(const SettingsOptions& options, const GlobalOptions& global) {
  SettingsContext context;
  if (int failed = OpenContext(&context, global)) return failed;
  const std::wstring name = FromUtf8(options.name);
  std::wstring value;
  const int layer = Lookup(context, LayerNumber(options.layer), name, &value);
  if (layer == 0) {
    return SettingsContext::Fail(AppText(L"Cli.NoSuchSetting", L"no setting named \"{1}\"", {name}));
  }
  PrintSetting(name, value, layer, options.json);
  return 0;
}

// A name that would not read back as the same single key is refused.
bool ValidName(const std::wstring& name) {
  const std::wstring trimmed = Trim(name);
  return !trimmed.empty() && trimmed == name && trimmed[0] != L';' && trimmed[0] != L'[' &&
         name.find_first_of(L"=\r\n") == std::wstring::npos;
}

int RunSet(const SettingsOptions& options, const GlobalOptions& global) {
  const std::wstring name = FromUtf8(options.name);
  const std::wstring value = FromUtf8(options.value);
  // Opened first so that refusals, too, speak the chosen language.
  SettingsContext context;
  if (int failed = OpenContext(&context, global)) return failed;
  if (options.layer != "user") {
    return SettingsContext::Fail(
        AppText(L"Cli.OnlyUserLayer", L"only the user layer can be written (--layer user)"));
  }
  if (!ValidName(name)) {
    return SettingsContext::Fail(AppText(L"Cli.InvalidSettingName", L"invalid setting name \"{1}\"", {name}));
  }
  if (value.find_first_of(L"\r\n") != std::wstring::npos) {
    return SettingsContext::Fail(
        AppText(L"Cli.SettingValueLineBreak", L"a setting value cannot hold a line break"));
  }
  TOxSettings& settings = context.Settings();
  if (!settings.SetSettingstring(name, value)) {
    return SettingsContext::Fail(AppText(L"Cli.CannotWriteFile", L"cannot write {1}",
                                         {settings.UserDataPath() + settings.SettingFilename()}));
  }
  std::wstring answer;
  if (settings.FindSettingLayer(name, &answer) == 1) {
    SettingsContext::Fail(AppText(L"Cli.OverwriteLayerWins",
                                  L"warning: \"{1}\" still reads \"{2}\" from the overwrite layer",
                                  {name, answer}));
  }
  return 0;
}

void AddLayerOption(CLI::App* command, SettingsOptions* options) {
  command->add_option("--layer", options->layer, "Only this layer")
      ->check(CLI::IsMember({"overwrite", "user", "oem", "const", "default"}));
}

}  // namespace

void RegisterSettings(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* settings = app.add_subcommand(
      "settings", "Read the settings through their five layers; write the user's setting.dat");
  settings->require_subcommand(1);

  auto list_options = std::make_shared<SettingsOptions>();
  CLI::App* list = settings->add_subcommand("list", "Every setting, its value and its layer");
  AddLayerOption(list, list_options.get());
  list->add_flag("--json", list_options->json, "One JSON object per line");
  list->callback([=, &global] {
    *chosen = [=, &global] { return RunList(*list_options, global); };
  });

  auto get_options = std::make_shared<SettingsOptions>();
  CLI::App* get = settings->add_subcommand("get", "One setting, its value and its layer");
  get->add_option("NAME", get_options->name, "Setting name, e.g. Update.Days")->required();
  AddLayerOption(get, get_options.get());
  get->add_flag("--json", get_options->json, "A JSON object");
  get->callback([=, &global] {
    *chosen = [=, &global] { return RunGet(*get_options, global); };
  });

  auto set_options = std::make_shared<SettingsOptions>();
  set_options->layer = "user";
  CLI::App* set = settings->add_subcommand("set", "Write a setting to the user layer");
  set->add_option("NAME", set_options->name, "Setting name")->required();
  set->add_option("VALUE", set_options->value, "New value (may be empty)")->required();
  set->add_option("--layer", set_options->layer, "Layer to write; only \"user\" is writable");
  set->callback([=, &global] {
    *chosen = [=, &global] { return RunSet(*set_options, global); };
  });
}

}  // namespace brimlow::cli
