#include "scan/TopicDate.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "base/Text.h"

namespace brimlow::scan {
namespace {

// Days since 1 January 1970 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long* y, unsigned* m, unsigned* d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<long long>(yoe) + era * 400 + (*m <= 2);
}

// 30 December 1899 counted from 1 January 1970.
const long long kEpoch = DaysFromCivil(1899, 12, 30);

unsigned DaysInMonth(long long y, unsigned m) {
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

bool ReadNumber(std::wstring_view* text, std::size_t max_digits, long long* number) {
  std::size_t n = 0;
  *number = 0;
  while (n < text->size() && n < max_digits && (*text)[n] >= L'0' && (*text)[n] <= L'9') {
    *number = *number * 10 + ((*text)[n] - L'0');
    ++n;
  }
  text->remove_prefix(n);
  return n > 0;
}

void SplitDate(double date, long long* y, unsigned* m, unsigned* d) {
  CivilFromDays(static_cast<long long>(std::floor(date)) + kEpoch, y, m, d);
}

}  // namespace

bool ParseTopicDate(std::wstring_view text, double* date) {
  const std::wstring trimmed = Trim(text);
  std::wstring_view rest = trimmed;
  long long month = 0, day = 0, year = 0;
  if (!ReadNumber(&rest, 2, &month) || rest.empty() || rest.front() != L'/') return false;
  rest.remove_prefix(1);
  if (!ReadNumber(&rest, 2, &day) || rest.empty() || rest.front() != L'/') return false;
  rest.remove_prefix(1);
  if (!ReadNumber(&rest, 4, &year) || !rest.empty()) return false;
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  if (day > DaysInMonth(year, static_cast<unsigned>(month))) return false;
  *date = static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch);
  return true;
}

std::wstring FormatTopicDate(double date) {
  long long y = 0;
  unsigned m = 0, d = 0;
  SplitDate(date, &y, &m, &d);
  char text[32];
  std::snprintf(text, sizeof text, "%u/%u/%04lld", m, d, y);
  return FromUtf8(text);
}

std::wstring FormatIsoDate(double date) {
  long long y = 0;
  unsigned m = 0, d = 0;
  SplitDate(date, &y, &m, &d);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u", y, m, d);
  return FromUtf8(text);
}

double TodayDate() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (!local) return 0;
  return static_cast<double>(DaysFromCivil(local->tm_year + 1900,
                                           static_cast<unsigned>(local->tm_mon + 1),
                                           static_cast<unsigned>(local->tm_mday)) -
                             kEpoch);
}

}  // namespace brimlow::scan
