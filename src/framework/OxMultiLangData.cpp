#include "framework/OxMultiLangData.h"

#include <algorithm>

#include "framework/OxMultiLang.h"
#include "framework/utils/NameValueList.h"

namespace brimlow {
namespace {

// Every "{AppName}", in any case, replaced by the name.
std::wstring ReplaceAppName(const std::wstring& text, const std::wstring& name) {
  static const std::wstring kMark = L"{AppName}";
  std::wstring out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (i + kMark.size() <= text.size() && SameText(text.substr(i, kMark.size()), kMark)) {
      out += name;
      i += kMark.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace

std::vector<std::wstring> DefaultExcludeProps() {
  return {L"TWebBrowser:",
          L":TComponentName",
          L".SkinDataName",
          L"TspResourceStrData:",
          L"TShockwaveFlash:",
          L"TspSkinNotebook:",
          L"TEmbeddedWB:",
          L"TspCompressedStoredSkin:",
          L"TspSkinMessage:",
          L"TOxEngine:",
          L"TspSkinData:",
          L".Text",
          L"TIEDownload:",
          L":TComponentName",
          L".SkinDataName",
          L".EditSkinDataName",
          L".LabelSkinDataName",
          L".ButtonSkinDataName",
          L".BothSkinDataName",
          L".MessageLabelSkinDataName",
          L".Category",
          L".CompressedFileName",
          L".TrackBarSkinDataName",
          L".TabWidths",
          L".HeaderSkinDataName",
          L".LVHeaderSkinDataName"};
}

TOxMultiLangData::TOxMultiLangData() : FExcludeProps(DefaultExcludeProps()) {}

TOxMultiLangData::~TOxMultiLangData() {
  for (TOxMultiLang* client : FClients) client->DetachData();
}

std::wstring TOxMultiLangData::CurrentLanguage() {
  return FLangCurrentData.Ini().ReadString(L"Info", L"Language", L"");
}

std::wstring TOxMultiLangData::CurrentLanguageTranslator() {
  return FLangCurrentData.Ini().ReadString(L"Info", L"Translator", L"");
}

std::wstring TOxMultiLangData::CurrentVersion() {
  return FLangCurrentData.Ini().ReadString(L"Info", L"Version", L"");
}

void TOxMultiLangData::SetCurrentData(const std::wstring& text) {
  FLangCurrentData.LoadFromString(text);
  app_name_known_ = false;
}

void TOxMultiLangData::SetDefaultData(const std::wstring& text) {
  FLangDefaultData.LoadFromString(text);
  app_name_known_ = false;
}

void TOxMultiLangData::LoadBuiltinEnglish() {
  SetCurrentData(BuiltinEnglishText());
  SetDefaultData(BuiltinEnglishText());
}

bool TOxMultiLangData::GetProp(const std::wstring& strForm, const std::wstring& strComp,
                               const std::wstring& strProp, std::wstring* strValue) {
  std::wstring value;
  if (!FLangCurrentData.GetProp(strForm, strComp, strProp, &value) &&
      !FLangDefaultData.GetProp(strForm, strComp, strProp, &value)) {
    return false;
  }
  const bool is_app_name =
      SameText(strForm, L"AppRes") && SameText(LangKey(strComp, strProp), L"AppName");
  *strValue = is_app_name ? value : ReplaceAppName(value, AppName());
  return true;
}

void TOxMultiLangData::SetProp(const std::wstring& strForm, const std::wstring& strComp,
                               const std::wstring& strProp, const std::wstring& strValue) {
  FLangCurrentData.SetProp(strForm, strComp, strProp, strValue);
  app_name_known_ = false;
}

void TOxMultiLangData::ClearForm(const std::wstring& strForm) {
  FLangCurrentData.ClearForm(strForm);
  app_name_known_ = false;
}

void TOxMultiLangData::UpdateData() { FLangCurrentData.UpdateData(); }

bool TOxMultiLangData::LoadCurrentFromFile(const std::wstring& fn) {
  app_name_known_ = false;
  if (!FLangCurrentData.LoadFromFile(fn)) return false;
  RefreshAppName();
  ApplyClients();
  return true;
}

bool TOxMultiLangData::LoadDefaultFromFile(const std::wstring& fn) {
  app_name_known_ = false;
  if (!FLangDefaultData.LoadFromFile(fn)) return false;
  RefreshAppName();
  return true;
}

bool TOxMultiLangData::SaveCurrentToFile(const std::wstring& fn) {
  return FLangCurrentData.SaveToFile(fn);
}

void TOxMultiLangData::ClearCurrentAll() {
  FLangCurrentData.ClearAll();
  app_name_known_ = false;
}

void TOxMultiLangData::ClearCurrentAllForm() { FLangCurrentData.ClearAllForm(); }

void TOxMultiLangData::CurrentToDefault() {
  FLangCurrentData.AssignTo(FLangDefaultData);
  app_name_known_ = false;
}

void TOxMultiLangData::DefaultToCurrent() {
  FLangDefaultData.AssignTo(FLangCurrentData);
  app_name_known_ = false;
}

void TOxMultiLangData::GetSectionStrings(const std::wstring& strSection,
                                         std::vector<std::wstring>* sl) {
  for (TOxMultiLangLan* lan : {&FLangCurrentData, &FLangDefaultData}) {
    std::vector<std::wstring> section;
    lan->GetSectionStrings(strSection, &section);
    for (const std::wstring& line : section) {
      if (IndexOfListName(*sl, ListNameOf(line)) < 0) sl->push_back(line);
    }
  }
}

const std::wstring& TOxMultiLangData::AppName() {
  if (!app_name_known_) RefreshAppName();
  return FAppName;
}

void TOxMultiLangData::RefreshAppName() {
  FAppName.clear();
  if (!FLangCurrentData.GetProp(L"AppRes", L"", L"AppName", &FAppName)) {
    FLangDefaultData.GetProp(L"AppRes", L"", L"AppName", &FAppName);
  }
  app_name_known_ = true;
}

void TOxMultiLangData::AddClient(TOxMultiLang* pClient) {
  if (!pClient || std::find(FClients.begin(), FClients.end(), pClient) != FClients.end()) return;
  FClients.push_back(pClient);
}

void TOxMultiLangData::RemoveClient(TOxMultiLang* pClient) { std::erase(FClients, pClient); }

// Walks a copy of the list and skips clients that left meanwhile: a
// window's language event may open or close other windows.
void TOxMultiLangData::ForEachClient(void (TOxMultiLang::*call)()) {
  const std::vector<TOxMultiLang*> clients = FClients;
  for (TOxMultiLang* client : clients) {
    if (std::find(FClients.begin(), FClients.end(), client) != FClients.end()) (client->*call)();
  }
}

void TOxMultiLangData::ApplyClients() { ForEachClient(&TOxMultiLang::ApplyData); }

void TOxMultiLangData::UpdateClients() { ForEachClient(&TOxMultiLang::UpdateData); }

void TOxMultiLangData::ClearClients() { ForEachClient(&TOxMultiLang::ClearData); }

}  // namespace brimlow
