#pragma once
// The settings store: every option of the program is a dotted name
// ("Update.Days") read through five layers and written to the user's
// "setting.dat".
//
// Lookup order: the engine's overwrite list, the user layer ("setting.dat"
// in the user data folder), the OEM layer ("oem.const.dat") and the
// constant layer ("const.dat") beside the program, the engine's default
// list. Every setting lives in the section "setting" under its full name.
// The two engine lists are consulted only while an application engine has
// registered them (SetOxSettingsEngineLayers).
//
// One store per process (GetOxSettings / FreeOxSettings). Main thread only;
// no locks. Every write saves the whole user file atomically unless a
// BeginUpdate is open.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/IniFile.h"

namespace brimlow {

struct TRect;  // framework/utils/Rect.h

// The engine's two in-memory layers. The application engine registers
// itself while it exists; the store copes with its absence.
class OxSettingsEngineLayers {
 public:
  virtual ~OxSettingsEngineLayers() = default;
  // true and *value when the overwrite list (layer 1) holds the name.
  virtual bool FindSettingOverwrite(const std::wstring& name, std::wstring* value) const = 0;
  // true and *value when the default list (layer 5) holds the name.
  virtual bool FindSettingDefault(const std::wstring& name, std::wstring* value) const = 0;
};

// Main thread. Registers the engine's layers; nullptr when the engine goes.
void SetOxSettingsEngineLayers(const OxSettingsEngineLayers* layers);
const OxSettingsEngineLayers* GetOxSettingsEngineLayers();

// Looks a name up in Name=Value lines, names compared without regard to
// case; the first line with the name wins. true and *value when found.
bool FindNameValue(const std::vector<std::wstring>& lines, const std::wstring& name,
                   std::wstring* value);

// Where the store finds its files. The default (FromPlatform) is the
// program's folder and the platform's two application-data shell folders;
// tests give scratch folders.
struct OxSettingsPlaces {
  std::wstring app_dir;        // program folder, ending in "\"
  std::wstring app_file_name;  // full path of the executable
  std::wstring user_root;      // per-user application-data root ("AppData")
  std::wstring common_root;    // all-users root ("Common AppData")

  static OxSettingsPlaces FromPlatform();
};

class TOxSettings {
 public:
  // Loads the constant and OEM layers, decides the user layer and counts
  // the run ("RunTimes" is written, and saved, at once). strSettingFile
  // names both the user file and the constant file; empty means
  // "setting.dat" and "const.dat".
  explicit TOxSettings(const std::wstring& strSettingFile = L"");
  // count_run false: a tool that only inspects or edits the settings, not a
  // program start; "RunTimes" is then read but not counted up.
  TOxSettings(const std::wstring& strSettingFile, const OxSettingsPlaces& places,
              bool count_run = true);
  // Releases the layers without writing them.
  ~TOxSettings();
  TOxSettings(const TOxSettings&) = delete;
  TOxSettings& operator=(const TOxSettings&) = delete;

  // true while the user layer lives in the all-users data folder. Setting
  // it switches the user layer (unsaved changes of the old one are lost).
  bool AllUser() const { return FAllUser; }
  void SetAllUser(bool value);
  // The active user data folder, ending in "\".
  const std::wstring& UserDataPath() const { return FUserDataPath; }
  // "RunTimes" as it was before this start counted itself (0 on the first).
  int RunTimes() const { return FRunTimes; }

  const std::wstring& ConstDataPath() const { return FConstDataPath; }
  const std::wstring& UserDataPathCurrentUser() const { return FUserDataPathCurrentUser; }
  const std::wstring& UserDataPathAllUsers() const { return FUserDataPathAllUsers; }
  const std::wstring& ConfigPathWord() const { return FConfigPathWord; }
  const std::wstring& SettingFilename() const { return FSettingFilename; }

  // Layered reads. A missing name reads as "", 0, 0.0 or false.
  bool GetSettingExists(const std::wstring& strName) const;
  std::wstring GetSettingString(const std::wstring& strName) const;
  int GetSettingInteger(const std::wstring& strName) const;
  double GetSettingFloat(const std::wstring& strName) const;
  bool GetSettingBool(const std::wstring& strName) const;
  // Leaves *rect as it was unless the value has exactly four parts.
  void GetSettingRect(const std::wstring& strName, TRect* rect) const;

  // Which layer answers a read: 1 overwrite, 2 user, 3 OEM, 4 constant,
  // 5 default; 0 when none has the name. *value receives the answer.
  int FindSettingLayer(const std::wstring& strName, std::wstring* value) const;

  // Writes go to the user layer and are saved at once unless batching.
  // true when saved (or kept for the batch); false when the file could not
  // be written -- the value then stays in memory only.
  bool SetSettingstring(const std::wstring& strName, const std::wstring& strValue);
  bool SetSettingInteger(const std::wstring& strName, int iValue);
  bool SetSettingFloat(const std::wstring& strName, double fValue);
  bool SetSettingBool(const std::wstring& strName, bool ibValue);
  bool SetSettingRect(const std::wstring& strName, const TRect& rcValue);

  // The scrambled pair: the value is stored as hexadecimal text of its
  // characters combined with a mask. An undecodable value reads as "".
  std::wstring GetSettingsecString(const std::wstring& strName) const;
  bool SetSettingsecString(const std::wstring& strName, const std::wstring& strValue);

  // Message flags in "setting.dat": whether a numbered message is still
  // shown (default true) and the button result remembered for it
  // (default 1).
  bool GetMessageShowAgainFlag(int iNumber) const;
  bool SetMessageShowAgainFlag(int iNumber, bool bValue);
  int GetMessageShowAgainResult(int iNumber) const;
  bool SetMessageShowAgainResult(int iNumber, int iValue);
  bool ClearShowAgainFlag();

  // "UserFlag.ini" in the per-user data folder, section "Flag", key
  // "AllUsers". The flag reads true when absent.
  bool IsAllUserFlagExists() const;
  bool GetAllUserFlag() const;
  bool SetAllUserFlag(bool bValue);
  // Creates the all-users folder if needed; true when the current user may
  // write to it. Any failure gives false.
  bool IsAllUserPathWriteable() const;

  // Largest number of whole days since the creation of the program folder
  // or either data folder; never below 0.
  int GetRunDays() const;

  // One entry of the current language file, read straight from disk (for
  // use before the language engine exists); strDefault when absent.
  std::wstring SlowGetLanguageString(const std::wstring& strSection,
                                     const std::wstring& strValue,
                                     const std::wstring& strDefault) const;

  // Saves the whole user file. true on success.
  bool UpdateSettingINI();
  // Batching: writes stay in memory until EndUpdate saves them once.
  void BeginUpdate();
  bool EndUpdate();

  // The user layer as loaded (read-only view, for listing).
  const IniFile& SettingIni() const { return FSettingIni; }
  const IniFile& OemValueIni() const { return FOemValueIni; }
  const IniFile& ConstValueIni() const { return FConstValueIni; }

 private:
  void Create(const std::wstring& strSettingFile, bool count_run);
  void DecideAllUsers();
  std::wstring UserFlagFile() const;
  bool SaveFlushed();

  bool FAllUser = false;
  IniFile FConstValueIni;
  IniFile FOemValueIni;
  IniFile FSettingIni;
  std::wstring FConstDataPath;
  std::wstring FUserDataPath;
  std::wstring FUserDataPathCurrentUser;
  std::wstring FUserDataPathAllUsers;
  int FRunTimes = 0;
  std::uint32_t FEncodeMask = 0;
  bool FUpdating = false;
  std::wstring FConfigPathWord;
  std::wstring FSettingFilename;

  OxSettingsPlaces places_;
  bool setting_loaded_ = false;  // the user layer has been loaded
};

// The one store of the process, created on first call with the default
// file names and the platform's folders. Main thread.
TOxSettings& GetOxSettings();
// Destroys the store, if any; the next GetOxSettings creates a new one.
void FreeOxSettings();
// Installs a store made elsewhere (tests, the command-line tool); the
// previous one is destroyed.
void SetOxSettings(std::unique_ptr<TOxSettings> settings);

}  // namespace brimlow
