#include "framework/OxDebugTrace.h"

#include <utility>

namespace brimlow {
namespace {

OxDebugTraceSink& Sink() {
  static OxDebugTraceSink sink;
  return sink;
}

}  // namespace

void SetOxDebugTraceSink(OxDebugTraceSink sink) { Sink() = std::move(sink); }

void OxDebugTrace(const std::wstring& tag, const std::wstring& line) {
  if (Sink()) Sink()(tag, line);
}

}  // namespace brimlow
