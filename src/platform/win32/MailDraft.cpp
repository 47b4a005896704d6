// Win32 platform only.
#include "platform/win32/MailDraft.h"

#include "base/Text.h"

namespace brimlow::platform::win32 {
namespace {

std::wstring FieldValue(const std::vector<std::wstring>& fields, std::wstring_view name) {
  for (const auto& line : fields) {
    const auto equals = line.find(L'=');
    const std::wstring_view line_name =
        std::wstring_view(line).substr(0, equals == std::wstring::npos ? line.size() : equals);
    if (!SameText(line_name, name)) continue;
    return equals == std::wstring::npos ? L"" : line.substr(equals + 1);
  }
  return L"";
}

std::wstring FileNamePart(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\:");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

}  // namespace

MailDraft DraftFromFields(const std::vector<std::wstring>& fields) {
  MailDraft draft;
  draft.recipient = FieldValue(fields, L"to");
  if (!draft.recipient.empty()) draft.recipient_address = L"SMTP:" + draft.recipient;
  for (int index = 0;; ++index) {
    std::wstring path = FieldValue(fields, L"attachment" + std::to_wstring(index));
    if (path.empty()) break;
    draft.attachments.push_back({path, FileNamePart(path)});
  }
  draft.subject = FieldValue(fields, L"subject");
  draft.body = FieldValue(fields, L"body");
  return draft;
}

}  // namespace brimlow::platform::win32
