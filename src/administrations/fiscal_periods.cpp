#include "administrations/fiscal_periods.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace tallymoor {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

std::string twoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

bool startsOnFirstJanuary(Date start) {
  return start.month() == std::chrono::January && start.day() == std::chrono::day{1};
}

std::optional<Date> dateOf(std::string_view text) {
  try {
    return TextToDate(text);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::string shown(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string periodCode(int number, int count) { return twoDigits(number) + "/" + twoDigits(count); }

std::string periodCountText(int count) { return twoDigits(count); }

std::optional<int> periodCountFromText(std::string_view text) {
  if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
    return std::nullopt;
  const int count = (text[0] - '0') * 10 + (text[1] - '0');
  if (count < 1 || count > kMaxPeriods) return std::nullopt;
  return count;
}

std::string yearLabel(Date start) {
  const int year = static_cast<int>(start.year());
  if (startsOnFirstJanuary(start)) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d", year);
    return text;
  }
  return twoDigits(year % 100) + twoDigits((year + 1) % 100);
}

Date bookYearEnd(Date start) {
  // 29 February of a year without one counts on into 1 March.
  const Date oneYearLater{start.year() + std::chrono::years{1}, start.month(), start.day()};
  return Date{sys_days{oneYearLater} - days{1}};
}

std::vector<Date> periodStarts(Date start, Date end, int count) {
  std::vector<Date> starts;
  if (count < 1) return starts;
  starts.reserve(static_cast<std::size_t>(count));
  const sys_days first{start};
  const double length = static_cast<double>((sys_days{end} - first).count());
  starts.push_back(start);
  for (int k = 1; k < count; ++k) {
    // Multiplied before divided, so that a whole number of days stays exactly whole.
    const double offset = std::floor(length * k / count);
    starts.push_back(Date{first + days{static_cast<days::rep>(offset)}});
  }
  if (startsOnFirstJanuary(start) && (count == 12 || count == 4)) {
    const unsigned monthsApart = 12u / static_cast<unsigned>(count);
    for (int k = 1; k < count; ++k)
      starts[static_cast<std::size_t>(k)] =
          Date{start.year(), std::chrono::month{1u + monthsApart * static_cast<unsigned>(k)},
               std::chrono::day{1}};
  }
  return starts;
}

bool periodsLocked(std::string_view currentPeriod) {
  return currentPeriod.substr(0, 2) > std::string_view("01");
}

void recomputePeriods(AdminSettingsRecord& settings) {
  if (settings.periodCount < 1 || settings.periodCount > kMaxPeriods) settings.periodCount = 1;
  const int count = settings.periodCount;
  settings.currentPeriod =
      settings.lastClosedPeriod.empty() ? kNoCurrentPeriod : periodCode(1, count);
  const Date start = TextToDate(settings.startDate);
  const Date end = TextToDate(settings.endDate);
  const std::vector<Date> starts = periodStarts(start, end, count);
  for (std::size_t p = 0; p < starts.size(); ++p) settings.periodStarts[p] = DateToText(starts[p]);
  if (count < kMaxPeriods)
    settings.periodStarts[static_cast<std::size_t>(count)] =
        DateToText(Date{sys_days{end} + days{1}});
}

void changeBookYearStart(AdminSettingsRecord& settings, Date start) {
  settings.startDate = DateToText(start);
  settings.periodStarts[0] = settings.startDate;
  settings.endDate = DateToText(bookYearEnd(start));
  settings.approvedYear.clear();
  settings.currentYear = yearLabel(start);
  recomputePeriods(settings);
}

std::string periodTableProblem(const AdminSettingsRecord& settings) {
  const int count = settings.periodCount;
  if (count < 1 || count > kMaxPeriods)
    return "The number of periods must be 01 to 15, not " + std::to_string(count) + ".";
  const std::optional<Date> start = dateOf(settings.startDate);
  if (!start)
    return "The start date of the book year " + shown(settings.startDate) + " is not a date.";
  const std::optional<Date> end = dateOf(settings.endDate);
  if (!end) return "The end date of the book year " + shown(settings.endDate) + " is not a date.";
  if (sys_days{*end} <= sys_days{*start})
    return "The book year ends on " + shortDateText(*end) + ", which is not after its start on " +
           shortDateText(*start) + ".";
  if (settings.periodStarts[0] != settings.startDate)
    return "Period 1 must start on the start date of the book year (" + shortDateText(*start) +
           "), not on " + shown(settings.periodStarts[0]) + ".";
  Date previous = *start;
  for (int p = 2; p <= count; ++p) {
    const std::string& text = settings.periodStarts[static_cast<std::size_t>(p - 1)];
    const std::optional<Date> begin = dateOf(text);
    const std::string period = "Period " + std::to_string(p);
    if (!begin) return period + " has no valid start date (" + shown(text) + ").";
    if (sys_days{*begin} <= sys_days{previous})
      return period + " starts on " + shortDateText(*begin) +
             ", which is not after the start of period " + std::to_string(p - 1) + " on " +
             shortDateText(previous) + ".";
    if (sys_days{*begin} > sys_days{*end})
      return period + " starts on " + shortDateText(*begin) +
             ", after the end of the book year on " + shortDateText(*end) + ".";
    previous = *begin;
  }
  if (count < kMaxPeriods) {
    const std::string expected = DateToText(Date{sys_days{*end} + days{1}});
    const std::string& text = settings.periodStarts[static_cast<std::size_t>(count)];
    if (text != expected)
      return "After the last period the table must hold the day after the end date (" +
             shortDateText(TextToDate(expected)) + "), not " + shown(text) + ".";
  }
  return {};
}

std::string shortDateText(Date date) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u-%02u-%04d", static_cast<unsigned>(date.day()),
                static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
  return text;
}

}  // namespace tallymoor
