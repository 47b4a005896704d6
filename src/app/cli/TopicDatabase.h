#pragma once
// The topic database a command works on: "--topics FILE", else
// "data\topic.db" beside the executable.

#include <string>

#include "scan/TopicList.h"

namespace brimlow::cli {

// The database path for the option (a Windows path; the host build also
// takes a host path). Main thread, with the system session open.
std::wstring TopicDatabasePath(const std::string& option);

// A database the program would silently take as empty is an error here:
// whoever asks for a scan or a list wants to know why there is none.
// false with "<file>: <reason>" in *error.
bool CheckTopicDatabase(const std::wstring& path, std::wstring* error);

// Checks and loads the database into the list and sorts it by category, as
// the main window does. false with the reason in *error.
bool LoadTopicDatabase(const std::string& option, scan::TFigTopicList* list, std::wstring* error);

}  // namespace brimlow::cli
