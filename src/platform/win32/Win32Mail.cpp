// Win32 platform only.
// ComposeMail through the platform's simple mail interface.

#include <windows.h>
#include <mapi.h>

#include <string>
#include <vector>

#include "platform/win32/MailDraft.h"
#include "platform/win32/Win32Desktop.h"

namespace brimlow::platform::win32 {
namespace {

// Shown when no mail client could log on. Kept in English here: the
// language data has no key for it yet.
constexpr wchar_t kNoMailTitle[] = L"Email";
constexpr wchar_t kNoMailText[] =
    L"There is no email program associated to perform this operation, or the email account "
    L"setup isn't completed. Please install an email program or complete the email account "
    L"creation first and try again.";

// The platform declares a simple-mail client by the string value "MAPI" =
// "1" under this key.
constexpr wchar_t kMessagingKey[] = L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem";

bool ClientDeclared() {
  wchar_t value[8] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMessagingKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  const LSTATUS status =
      RegQueryValueExW(key, L"MAPI", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) &&
         std::wstring(value) == L"1";
}

// Text in the platform's 8-bit code page, as the mail interface wants it.
std::string Ansi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string converted(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), converted.data(),
                      size, nullptr, nullptr);
  return converted;
}

char* Text(std::string& text) { return text.empty() ? nullptr : text.data(); }

// The 8-bit texts of a draft, alive while the client reads them.
struct AnsiDraft {
  explicit AnsiDraft(const MailDraft& draft)
      : recipient(Ansi(draft.recipient)),
        address(Ansi(draft.recipient_address)),
        subject(Ansi(draft.subject)),
        body(Ansi(draft.body)) {
    for (const auto& attachment : draft.attachments) {
      paths.push_back(Ansi(attachment.path));
      names.push_back(Ansi(attachment.display_name));
    }
  }
  std::string recipient, address, subject, body;
  std::vector<std::string> paths, names;
};

// Disables the program's enabled top-level windows while the client's
// dialog runs, and enables them again afterwards.
class DisabledWindows {
 public:
  DisabledWindows() { EnumWindows(&DisabledWindows::Visit, reinterpret_cast<LPARAM>(this)); }
  ~DisabledWindows() {
    for (HWND window : windows_) EnableWindow(window, TRUE);
  }
  DisabledWindows(const DisabledWindows&) = delete;
  DisabledWindows& operator=(const DisabledWindows&) = delete;

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      reinterpret_cast<DisabledWindows*>(self)->windows_.push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> windows_;
};

}  // namespace

struct Win32Desktop::MailLibrary {
  LPMAPILOGON logon = nullptr;
  LPMAPILOGOFF logoff = nullptr;
  LPMAPISENDMAIL send = nullptr;
};

Win32Desktop::~Win32Desktop() {
  // The library stays loaded until the process ends: a client may keep
  // threads of its own running in it.
  delete mail_;
}

const Win32Desktop::MailLibrary* Win32Desktop::Mail() {
  std::call_once(mail_once_, [this] {
    if (!ClientDeclared()) return;
    HMODULE library = LoadLibraryW(L"MAPI32.DLL");
    if (!library) return;
    auto entries = new MailLibrary;
    entries->logon = reinterpret_cast<LPMAPILOGON>(
        reinterpret_cast<void*>(GetProcAddress(library, "MAPILogon")));
    entries->logoff = reinterpret_cast<LPMAPILOGOFF>(
        reinterpret_cast<void*>(GetProcAddress(library, "MAPILogoff")));
    entries->send = reinterpret_cast<LPMAPISENDMAIL>(
        reinterpret_cast<void*>(GetProcAddress(library, "MAPISendMail")));
    if (entries->logon && entries->logoff && entries->send) {
      mail_ = entries;
    } else {
      delete entries;
    }
  });
  return mail_;
}

std::uint32_t Win32Desktop::ComposeMail(WindowHandle owner,
                                        const std::vector<std::wstring>& fields) {
  const MailLibrary* mail = Mail();
  LHANDLE session = 0;
  char empty[] = "";
  const ULONG logged_on =
      mail ? mail->logon(owner, empty, empty, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session)
           : MailStatus::kLoginFailure;
  if (logged_on != SUCCESS_SUCCESS) {
    MessageBoxW(reinterpret_cast<HWND>(owner), kNoMailText, kNoMailTitle,
                MB_OK | MB_ICONINFORMATION);
    return logged_on;
  }

  AnsiDraft draft(DraftFromFields(fields));
  MapiRecipDesc recipient = {};
  recipient.ulRecipClass = MAPI_TO;
  recipient.lpszName = Text(draft.recipient);
  recipient.lpszAddress = Text(draft.address);
  std::vector<MapiFileDesc> files(draft.paths.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    files[i].nPosition = static_cast<ULONG>(-1);  // not placed in the body
    files[i].lpszPathName = Text(draft.paths[i]);
    files[i].lpszFileName = Text(draft.names[i]);
  }
  MapiMessage message = {};
  message.lpszSubject = Text(draft.subject);
  message.lpszNoteText = Text(draft.body);
  message.nRecipCount = draft.recipient.empty() ? 0 : 1;
  message.lpRecips = draft.recipient.empty() ? nullptr : &recipient;
  message.nFileCount = static_cast<ULONG>(files.size());
  message.lpFiles = files.empty() ? nullptr : files.data();

  ULONG status = 0;
  {
    DisabledWindows disabled;
    status = mail->send(session, owner, &message, MAPI_DIALOG, 0);
  }
  mail->logoff(session, owner, 0, 0);
  return status;
}

}  // namespace brimlow::platform::win32
