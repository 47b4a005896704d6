#pragma once
// The application engine: the framework's hub for everything that is not
// the program's own workflow. It supplies the settings store's overwrite and
// default layers, selects the language and the skin, composes the title,
// looks up framework and application texts, shows message boxes and builds
// the program's web addresses.
//
// One engine per process: the first one created registers itself and is
// reached through GetOxEngine(); every framework class copes with its
// absence. All methods run on the main thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/MessageDialog.h"
#include "framework/OxSettings.h"

namespace brimlow {

class SkinHolder;
class TOxMultiLangData;
struct AboutInfo;

class TOxEngine : public OxSettingsEngineLayers {
 public:
  using NotifyEvent = std::function<void()>;
  using TOnCmdFile = std::function<void(const std::wstring& strFileName)>;
  using TitleSink = std::function<void(const std::wstring& title)>;
  using DialogFactory = std::function<std::unique_ptr<MessageDialog>()>;
  using TickClock = std::function<std::uint64_t()>;  // milliseconds

  // Registers itself as the process-wide engine when none is registered,
  // and its two lists as the settings store's layers 1 and 5.
  // The default layer starts with "Path.Skins=skins" and
  // "Path.Languages=lang"; the overwrite layer starts empty.
  TOxEngine();
  // Unregisters itself (when it is the registered one).
  ~TOxEngine() override;
  TOxEngine(const TOxEngine&) = delete;
  TOxEngine& operator=(const TOxEngine&) = delete;

  // --- Configuration by the owner window, before Loaded -------------------

  // Not owned; null switches language or skin selection off.
  void SetLanguageData(TOxMultiLangData* data) { FLanguageData = data; }
  TOxMultiLangData* LanguageData() const { return FLanguageData; }
  void SetSkinData(SkinHolder* data) { FSkinData = data; }
  SkinHolder* SkinData() const { return FSkinData; }

  // Name=Value lines; assigning copies them.
  void SetSettingOverwrite(const std::vector<std::wstring>& lines) { FSettingOverwrite = lines; }
  const std::vector<std::wstring>& SettingOverwrite() const { return FSettingOverwrite; }
  void SetSettingDefault(const std::vector<std::wstring>& lines) { FSettingDefault = lines; }
  const std::vector<std::wstring>& SettingDefault() const { return FSettingDefault; }

  // The settings store's layers 1 and 5: true and *value set when the list
  // has the name (compared without regard to case); false otherwise.
  bool FindSettingOverwrite(const std::wstring& name, std::wstring* value) const override;
  bool FindSettingDefault(const std::wstring& name, std::wstring* value) const override;

  bool Debug() const { return FDebug; }
  void SetDebug(bool on) { FDebug = on; }
  bool InternalMode() const { return FInternalMode; }
  void SetInternalMode(bool on) { FInternalMode = on; }
  std::uintptr_t ParentHWND() const { return FParentHWND; }
  void SetParentHWND(std::uintptr_t hwnd) { FParentHWND = hwnd; }

  bool TitleIncludeVer() const { return FTitleIncludeVer; }
  // Recomposes the title.
  void SetTitleIncludeVer(bool on);

  // Where the composed title goes (the task-bar title and the owner window's
  // caption); unset: nowhere.
  void SetTitleSink(TitleSink sink) { FTitleSink = std::move(sink); }
  // Creates the message dialog on first use; unset: messages are not shown
  // and answer as if silenced.
  void SetMessageDialogFactory(DialogFactory factory) { FDialogFactory = std::move(factory); }
  // The tick clock behind SessionEnding; unset: a steady clock.
  void SetTickClock(TickClock clock) { FTickClock = std::move(clock); }

  NotifyEvent OnLanguageChanged;
  NotifyEvent OnSkinChanged;
  NotifyEvent OnTitleChange;
  TOnCmdFile OnCmdFile;

  // --- Life cycle -----------------------------------------------------------

  // Post-load set-up: selects the skin ("Skin", else "Default") and the
  // language ("Language", else "English") without firing change events.
  void Loaded();

  // --- Language -------------------------------------------------------------

  const std::wstring& Language() const { return FLanguage; }
  // Loads "<program folder>\<Path.Languages>\<name>.lan" as the current
  // language; a missing file falls back to the built-in English. Writes the
  // name in force to "Language". Nothing happens without language data or
  // when the name is the active one.
  void SetLanguage(const std::wstring& name);
  // "English" first, then the ".lan" files of the language folder, sorted
  // without regard to case. Built on first use.
  const std::vector<std::wstring>& LanguageList();
  const std::wstring& LanguageTranslator() const { return FLanguageTranslator; }

  // --- Skin -----------------------------------------------------------------

  const std::wstring& Skin() const { return FSkin; }
  // Loads "<program folder>\<Path.Skins>\<name>.skn" (else ".nsf.skn");
  // a missing file puts the built-in skin back. Writes the name in force to
  // "Skin". Nothing happens without skin data or when the name is active.
  void SetSkin(const std::wstring& name);
  // "Default" first, then the names of the ".skn" files of the skin folder
  // with up to two extensions removed. Built on first use.
  const std::vector<std::wstring>& SkinList();

  // --- Names and texts ------------------------------------------------------

  // "AppRes"/"AppName" of the language data when not empty, else "App.Name".
  std::wstring AppName() const;
  const std::wstring& AppTitle() const { return FAppTitle; }
  // Composes the title (application name, two blanks and "App.Ver" when
  // TitleIncludeVer) and, unless "App.NoAutoTitle", hands it to the title
  // sink and fires OnTitleChange.
  void UpdateTitle();

  // The entry of "LibRes" / "AppRes"; "" when absent or without language data.
  std::wstring GetLibString(const std::wstring& strName) const;
  std::wstring GetAppString(const std::wstring& strName) const;
  // As above, then "{1}", "{2}" ... replaced by the values.
  std::wstring GetLibStringEx(const std::wstring& strName,
                              const std::vector<std::wstring>& values) const;
  std::wstring GetAppStringEx(const std::wstring& strName,
                              const std::vector<std::wstring>& values) const;

  // --- Session end ----------------------------------------------------------

  // Called by the window handler when the system asks to end the session.
  void QueryEndSession();
  // true when that query arrived less than 300000 ms ago.
  bool SessionEnding() const;

  // --- Message boxes (OxMessages.cpp) --------------------------------------

  // Shows the text of the language key (section "LibRes" when bLib, else
  // "AppRes") with "{n}" filled from Args. iNumber != 0 lets the user silence
  // the message: once silenced it is not shown and the call returns iDefault
  // when not 0, else the remembered button code. Returns the button code.
  int ShowMessageEx(const std::wstring& strName, const std::vector<std::wstring>& Args,
                    int iNumber, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                    int iDefault, bool bLib);
  void ShowErrorMessage(const std::wstring& strError, const std::wstring& strErrorParam,
                        bool bLib);

  // --- Web links (OxWebLinks.cpp) -------------------------------------------

  // The usage parameter string, starting with the five-digit time stamp.
  std::wstring GetURLParam() const;
  // The address of the page ("URL." + page, else "URL.Redirect"); with
  // bAddParams an "http" address gets "ACTION=<page>&" + GetURLParam().
  std::wstring GetURL(const std::wstring& strPage, bool bAddParams) const;
  // Opens GetURL(strPage, true) in the user's browser; false when no
  // browser could be started.
  bool ShowPage(const std::wstring& strPage);
  bool ShowPageByURL(const std::wstring& strURL);
  // Navigation filter of embedded browsers: "vexa:" addresses are commands
  // (PAGE=<name> opens that page) and are cancelled (*cancel = true); other
  // addresses are left alone.
  void WebBeforeNavigate2(const std::wstring& url, bool* cancel);

  // --- About window data (AboutInfo.cpp) ------------------------------------
  AboutInfo GetAboutInfo() const;

 private:
  void RememberBuiltInSkin();
  void MergeSkinTexts();
  void FillStrings(const std::wstring& section, const std::wstring& name,
                   std::wstring* value) const;
  MessageDialog* Dialog();
  std::uint64_t Now() const;

  bool FDebug = false;
  std::vector<std::wstring> FSettingOverwrite;
  std::vector<std::wstring> FSettingDefault;
  std::uintptr_t FParentHWND = 0;
  bool FInLoaded = false;
  std::wstring FAppTitle;
  bool FTitleIncludeVer = true;
  bool FInternalMode = false;

  std::wstring FSkin;
  SkinHolder* FSkinData = nullptr;
  std::vector<std::wstring> FSkinList;
  bool FSkinListBuilt = false;
  bool FDefaultSkinForm = true;
  std::vector<std::wstring> FMergedSkinTexts;  // names the language added

  std::wstring FLanguage;
  std::wstring FLanguageTranslator;
  TOxMultiLangData* FLanguageData = nullptr;
  std::vector<std::wstring> FLanguageList;
  bool FLanguageListBuilt = false;

  DialogFactory FDialogFactory;
  std::unique_ptr<MessageDialog> FMessageDlg;
  TitleSink FTitleSink;
  TickClock FTickClock;
  bool FQueryEndSessionSeen = false;
  std::uint64_t FQueryEndSessionTime = 0;
};

// The registered engine, or null.
TOxEngine* GetOxEngine();

}  // namespace brimlow
