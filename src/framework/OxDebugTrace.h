#pragma once
// The debug-trace output: diagnostic lines tagged by component
// ("OxSettings"). Nothing is written unless debug mode installed a sink.
// Main thread.

#include <functional>
#include <string>

namespace brimlow {

using OxDebugTraceSink = std::function<void(const std::wstring& tag, const std::wstring& line)>;

// Installs the sink (debug mode on) or removes it (an empty function).
void SetOxDebugTraceSink(OxDebugTraceSink sink);
// Hands the line to the sink, if any.
void OxDebugTrace(const std::wstring& tag, const std::wstring& line);

}  // namespace brimlow
