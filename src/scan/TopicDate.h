#pragma once
// Dates of the topic database: day numbers counted from 30 December 1899
// (the time as the fraction), read from "m/d/yyyy" texts.

#include <string>
#include <string_view>

namespace brimlow::scan {

// "5/31/2010" -> the day number. Month, day and year are decimal numbers
// separated by "/", blanks around the text allowed; false for anything else
// or a day that the month does not have.
bool ParseTopicDate(std::wstring_view text, double* date);

// The day number as "m/d/yyyy", the form the database stores.
std::wstring FormatTopicDate(double date);
// The day number as "yyyy-mm-dd".
std::wstring FormatIsoDate(double date);

// Today's local date as a day number without time.
double TodayDate();

}  // namespace brimlow::scan
