// Win32 platform only.
#pragma once
// The message ComposeMail hands to the mail client, read from its
// "name=value" fields. Pure; kept apart from the mail interface so that it
// can be tested without a client.

#include <string>
#include <vector>

namespace brimlow::platform::win32 {

struct MailAttachment {
  std::wstring path;
  std::wstring display_name;  // the file name part of the path
};

struct MailDraft {
  std::wstring recipient;          // "" when there is none
  std::wstring recipient_address;  // "SMTP:" + recipient
  std::vector<MailAttachment> attachments;
  std::wstring subject;
  std::wstring body;
};

// "to" gives the one recipient; "attachment0", "attachment1" ... give the
// attachments up to the first missing (or empty) one; "subject" and "body"
// the texts. Field names ignore case; the first line of a name counts.
MailDraft DraftFromFields(const std::vector<std::wstring>& fields);

}  // namespace brimlow::platform::win32
