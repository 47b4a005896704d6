// Stand-in platform only: Brimlow's own registry editor, and host paths on
// the command line.

#include <filesystem>

#include "platform/Platform.h"
#include "platform/RegistryEditor.h"
#include "platform/standin/ImageRegistry.h"
#include "platform/standin/StandinPlatform.h"
#include "regfile/RegFile.h"

namespace brimlow::platform {
namespace {

void SetError(std::wstring* error, std::wstring text) {
  if (error) *error = std::move(text);
}

bool IsWindowsPath(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return true;
  return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
}

}  // namespace

bool MergeRegFile(const std::wstring& path, int /*timeout_ms*/, std::wstring* error) {
  Bytes content;
  const Result read = Files().ReadFile(path, &content);
  if (!Ok(read)) {
    SetError(error, path + (read == Result::kNotFound ? L": no such file" : L": cannot be read"));
    return false;
  }
  std::vector<regfile::RegOp> ops;
  regfile::ParseError parse_error;
  if (!regfile::ParseRegFile(content, &ops, &parse_error)) {
    SetError(error, path + L":" + std::to_wstring(parse_error.line) + L": " + parse_error.message);
    return false;
  }
  // The image's registry merges as one transaction; any other registry put
  // in place for a test gets the operations one by one.
  auto* image = dynamic_cast<standin::ImageRegistry*>(&Reg());
  const Result merged = image ? image->Apply(ops) : regfile::ApplyRegOps(Reg(), ops);
  if (Ok(merged)) return true;
  SetError(error, path + (image ? L": the registry refused the changes; nothing was merged"
                                : L": the registry refused a change"));
  return false;
}

std::wstring PathFromArgument(const std::wstring& argument) {
  if (IsWindowsPath(argument)) return argument;
  std::error_code failed;
  const std::filesystem::path host =
      std::filesystem::absolute(std::filesystem::path(ToUtf8(argument)), failed);
  if (failed) return argument;
  return standin::StandinPlatform::WindowsPath(host);
}

}  // namespace brimlow::platform
