#pragma once
// The language data of the program: the current language and the default
// (built-in English) language, plus the windows (TOxMultiLang) that show
// its texts. Look-ups try the current language, then the default, and
// replace "{AppName}" by the application name. Main thread only.

#include <string>
#include <vector>

#include "framework/OxMultiLangLan.h"

namespace brimlow {

class TOxMultiLang;

// The built-in English texts (lang/English.lan, compiled into the program).
const std::wstring& BuiltinEnglishText();

// The default harvesting exclusion patterns.
std::vector<std::wstring> DefaultExcludeProps();

class TOxMultiLangData {
 public:
  TOxMultiLangData();
  // Detaches every registered client.
  ~TOxMultiLangData();
  TOxMultiLangData(const TOxMultiLangData&) = delete;
  TOxMultiLangData& operator=(const TOxMultiLangData&) = delete;

  // "Info" entries of the current language ("" when absent).
  std::wstring CurrentLanguage();
  std::wstring CurrentLanguageTranslator();
  std::wstring CurrentVersion();

  bool ExcludeEmptyProp() const { return FExcludeEmptyProp; }
  void SetExcludeEmptyProp(bool value) { FExcludeEmptyProp = value; }
  const std::vector<std::wstring>& ExcludeProps() const { return FExcludeProps; }
  void SetExcludeProps(std::vector<std::wstring> value) { FExcludeProps = std::move(value); }
  bool AutoApply() const { return FAutoApply; }
  void SetAutoApply(bool value) { FAutoApply = value; }
  bool ExcludeNumberEndProps() const { return FExcludeNumberEndProps; }
  void SetExcludeNumberEndProps(bool value) { FExcludeNumberEndProps = value; }
  bool ExcludeWithAction() const { return FExcludeWithAction; }
  void SetExcludeWithAction(bool value) { FExcludeWithAction = value; }

  // The raw text of the two languages; assigning replaces the lines (they
  // are re-parsed on the next look-up).
  std::wstring CurrentData() { return FLangCurrentData.ToString(); }
  void SetCurrentData(const std::wstring& text);
  std::wstring DefaultData() { return FLangDefaultData.ToString(); }
  void SetDefaultData(const std::wstring& text);
  // Both languages := the built-in English.
  void LoadBuiltinEnglish();

  TOxMultiLangLan& LangCurrentData() { return FLangCurrentData; }
  TOxMultiLangLan& LangDefaultData() { return FLangDefaultData; }

  // Current language first, then the default; on success "{AppName}" (any
  // case) is replaced, except in "AppRes"/"AppName" itself. false and
  // *strValue unchanged when neither has the key.
  bool GetProp(const std::wstring& strForm, const std::wstring& strComp,
               const std::wstring& strProp, std::wstring* strValue);
  // These act on the current language.
  void SetProp(const std::wstring& strForm, const std::wstring& strComp,
               const std::wstring& strProp, const std::wstring& strValue);
  void ClearForm(const std::wstring& strForm);
  void UpdateData();

  // Loads the current language and re-applies every registered window.
  // false (nothing changed) when the file cannot be read.
  bool LoadCurrentFromFile(const std::wstring& fn);
  // Loads the default language; applies nothing.
  bool LoadDefaultFromFile(const std::wstring& fn);
  bool SaveCurrentToFile(const std::wstring& fn);
  void ClearCurrentAll();
  void ClearCurrentAllForm();
  void CurrentToDefault();
  void DefaultToCurrent();

  // Adds the section's Name=Value entries to sl, current language before
  // default; names sl already holds keep their values.
  void GetSectionStrings(const std::wstring& strSection, std::vector<std::wstring>* sl);

  // The application name: "AppRes"/"AppName", current data first.
  const std::wstring& AppName();

  void AddClient(TOxMultiLang* pClient);
  void RemoveClient(TOxMultiLang* pClient);
  void ApplyClients();
  void UpdateClients();
  void ClearClients();

 private:
  void RefreshAppName();
  void ForEachClient(void (TOxMultiLang::*call)());

  bool FExcludeEmptyProp = false;
  std::vector<std::wstring> FExcludeProps;
  bool FAutoApply = true;
  bool FExcludeNumberEndProps = false;
  bool FExcludeWithAction = false;
  TOxMultiLangLan FLangCurrentData;
  TOxMultiLangLan FLangDefaultData;
  std::vector<TOxMultiLang*> FClients;
  std::wstring FAppName;
  bool app_name_known_ = false;
  std::vector<std::wstring> FDefineList;
};

}  // namespace brimlow
