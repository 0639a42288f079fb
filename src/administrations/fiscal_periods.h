#pragma once
// The book year and its periods: the period table of the settings record (the start date of
// each period, then the day after the book year), period codes "PP/NN", year labels, and
// the check that a table agrees with its book year before it is written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record-store/conversions.h"
#include "records/admin_settings_record.h"

namespace tallymoor {

inline constexpr int kMaxPeriods = AdminSettingsRecord::kMaxPeriods;
// The current period when no period is current.
inline constexpr const char* kNoCurrentPeriod = "00/00";

// "PP/NN": period number and period count, two digits each.
std::string periodCode(int number, int count);
// The period count as the count field shows it: two digits.
std::string periodCountText(int count);
// The count named by "01" to "15"; none for any other text ("1", "16", "ab", "").
std::optional<int> periodCountFromText(std::string_view text);

// The label of the book year starting on `start`: "2008" for a year starting on 1 January,
// otherwise the last two digits of the start year and of the next year ("0809").
std::string yearLabel(Date start);

// The end date that a new start date gives: the day before the same day one year later. A
// start on 29 February ends on 28 February of the next year.
Date bookYearEnd(Date start);

// The starts of periods 1 to `count` (1 to 15) of the book year from `start` to `end`:
// period k + 1 starts on the date part of start + (end - start) * k / count in days; with
// 12 periods on a year starting on 1 January the months, with 4 the quarters instead.
std::vector<Date> periodStarts(Date start, Date end, int count);

// Whether a period after the first has been reached (the first two characters of the
// current period are above "01"): period count, end date and period starts are fixed then.
bool periodsLocked(std::string_view currentPeriod);

// Recomputes the period table from the book-year dates and the period count (a count
// outside 1 to 15 becomes 1): slots 1 to N, and slot N + 1 := end date + 1 day when N is
// below 15; slots beyond keep what they held. The current period becomes "01/NN" when a
// period has been closed, else "00/00". Invalid book-year dates are a ConversionError.
void recomputePeriods(AdminSettingsRecord& settings);

// A new book-year start: period 1 and the start date become `start`, the end date the day
// before one year later, the approved year empty, the current year its label; then the
// periods are recomputed.
void changeBookYearStart(AdminSettingsRecord& settings, Date start);

// Empty when the period count, the book-year dates and the period table agree: count 1 to
// 15, valid dates, the end after the start, slot 1 on the start date, every further start
// after the one before and not after the end date, and slot N + 1 (N below 15) on the day
// after the end date. Otherwise a sentence saying what is wrong.
std::string periodTableProblem(const AdminSettingsRecord& settings);

// A date as the forms show it: dd-mm-yyyy.
std::string shortDateText(Date date);

}  // namespace tallymoor
