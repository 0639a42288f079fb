#include "administrations/fiscal_periods.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "administrations/admin_settings.h"

namespace tallymoor {
namespace {

Date date(const char* text) { return TextToDate(text); }

std::vector<std::string> texts(const std::vector<Date>& dates) {
  std::vector<std::string> result;
  for (Date d : dates) result.push_back(DateToText(d));
  return result;
}

// --- the period table ----------------------------------------------------------------------

struct PeriodCase {
  const char* name;
  const char* start;
  const char* end;
  int count;
  std::vector<std::string> starts;  // periods 1 to count
  const char* afterLast;            // slot count + 1; empty with 15 periods
};

const std::vector<PeriodCase> kPeriodCases = {
    {"12 periods on a 1 January year: month starts",
     "20080101",
     "20081231",
     12,
     {"20080101", "20080201", "20080301", "20080401", "20080501", "20080601", "20080701",
      "20080801", "20080901", "20081001", "20081101", "20081201"},
     "20090101"},
    {"4 periods on a 1 January year: quarter starts",
     "20080101",
     "20081231",
     4,
     {"20080101", "20080401", "20080701", "20081001"},
     "20090101"},
    {"13 periods on 2008: every 365/13 days, date part",
     "20080101",
     "20081231",
     13,
     {"20080101", "20080129", "20080226", "20080325", "20080422", "20080520", "20080617",
      "20080715", "20080812", "20080909", "20081007", "20081104", "20081202"},
     "20090101"},
    {"12 periods on a 1 July year: equal steps, not month starts",
     "20080701",
     "20090630",
     12,
     {"20080701", "20080731", "20080830", "20080930", "20081030", "20081129", "20081230",
      "20090129", "20090228", "20090331", "20090430", "20090530"},
     "20090701"},
    {"4 periods on a 1 April year: equal steps, not quarters",
     "20080401",
     "20090331",
     4,
     {"20080401", "20080701", "20080930", "20081230"},
     "20090401"},
    {"1 period", "20080101", "20081231", 1, {"20080101"}, "20090101"},
    {"15 periods: no slot after the last one",
     "20080101",
     "20081231",
     15,
     {"20080101", "20080125", "20080218", "20080314", "20080407", "20080501", "20080526",
      "20080619", "20080713", "20080807", "20080831", "20080924", "20081019", "20081112",
      "20081206"},
     ""},
    {"2 periods on leap year 2008: day 182.5 is 1 July",
     "20080101",
     "20081231",
     2,
     {"20080101", "20080701"},
     "20090101"},
    {"2 periods on 2009: day 182 is 2 July",
     "20090101",
     "20091231",
     2,
     {"20090101", "20090702"},
     "20100101"},
    {"4 periods over a leap day",
     "20070301",
     "20080229",
     4,
     {"20070301", "20070531", "20070830", "20071129"},
     "20080301"},
    {"12 periods on a 1 January leap year keep 1 March",
     "20120101",
     "20121231",
     12,
     {"20120101", "20120201", "20120301", "20120401", "20120501", "20120601", "20120701",
      "20120801", "20120901", "20121001", "20121101", "20121201"},
     "20130101"},
};

TEST(PeriodTable, StartsOfThePeriods) {
  for (const PeriodCase& c : kPeriodCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(texts(periodStarts(date(c.start), date(c.end), c.count)), c.starts);
  }
}

TEST(PeriodTable, RecomputingFillsTheSlotsAndTheDayAfterTheYear) {
  for (const PeriodCase& c : kPeriodCases) {
    SCOPED_TRACE(c.name);
    AdminSettingsRecord s;
    s.startDate = c.start;
    s.endDate = c.end;
    s.periodCount = static_cast<std::int16_t>(c.count);
    s.periodStarts.fill("garbage");
    recomputePeriods(s);
    for (int p = 0; p < c.count; ++p)
      EXPECT_EQ(s.periodStarts[p], c.starts[p]) << "period " << p + 1;
    if (c.count < kMaxPeriods) {
      EXPECT_EQ(s.periodStarts[c.count], c.afterLast);
      // Slots beyond the day after the year carry no meaning and stay as they were.
      for (int p = c.count + 1; p < kMaxPeriods; ++p) EXPECT_EQ(s.periodStarts[p], "garbage");
    }
    EXPECT_EQ(periodTableProblem(s), "");
  }
}

TEST(PeriodTable, ACountOutsideOneToFifteenBecomesOnePeriod) {
  for (int count : {0, -3, 16, 99}) {
    SCOPED_TRACE(count);
    AdminSettingsRecord s;
    s.startDate = "20080101";
    s.endDate = "20081231";
    s.periodCount = static_cast<std::int16_t>(count);
    recomputePeriods(s);
    EXPECT_EQ(s.periodCount, 1);
    EXPECT_EQ(s.periodStarts[0], "20080101");
    EXPECT_EQ(s.periodStarts[1], "20090101");
  }
}

TEST(PeriodTable, TheCurrentPeriodRestartsOnlyWhenAPeriodWasClosed) {
  AdminSettingsRecord s;
  s.startDate = "20080101";
  s.endDate = "20081231";
  s.periodCount = 12;
  s.currentPeriod = "05/12";
  recomputePeriods(s);
  EXPECT_EQ(s.currentPeriod, "00/00");

  s.lastClosedPeriod = "04/12";
  s.periodCount = 4;
  recomputePeriods(s);
  EXPECT_EQ(s.currentPeriod, "01/04");
}

TEST(PeriodTable, InvalidBookYearDatesAreAConversionError) {
  AdminSettingsRecord s;
  s.startDate = "2008010";
  s.endDate = "20081231";
  s.periodCount = 4;
  EXPECT_THROW(recomputePeriods(s), ConversionError);
}

// --- a new book-year start -------------------------------------------------------------------

TEST(BookYearStart, EndDateIsTheDayBeforeOneYearLater) {
  struct Case {
    const char* name;
    const char* start;
    const char* end;
  };
  const std::vector<Case> cases = {
      {"calendar year", "20080101", "20081231"},
      {"1 July", "20080701", "20090630"},
      {"year over a leap day", "20070301", "20080229"},
      {"29 February ends on 28 February", "20080229", "20090228"},
      {"1 March of a leap year", "20080301", "20090228"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DateToText(bookYearEnd(date(c.start))), c.end);
  }
}

TEST(BookYearStart, SetsEndDateLabelsAndPeriods) {
  AdminSettingsRecord s = defaultSettings();
  s.periodCount = 12;
  s.approvedYear = "2007";
  s.currentYear = "2008";
  changeBookYearStart(s, date("20080701"));
  EXPECT_EQ(s.startDate, "20080701");
  EXPECT_EQ(s.endDate, "20090630");
  EXPECT_EQ(s.approvedYear, "");
  EXPECT_EQ(s.currentYear, "0809");
  EXPECT_EQ(s.currentPeriod, "00/00");
  EXPECT_EQ(s.periodStarts[0], "20080701");
  EXPECT_EQ(s.periodStarts[1], "20080731");
  EXPECT_EQ(s.periodStarts[12], "20090701");
  EXPECT_EQ(periodTableProblem(s), "");
}

// --- codes and labels -------------------------------------------------------------------------

TEST(YearLabel, FourDigitsOnlyForAYearStartingOnFirstJanuary) {
  struct Case {
    const char* start;
    const char* label;
  };
  for (const Case& c : std::vector<Case>{{"20080101", "2008"},
                                         {"20080701", "0809"},
                                         {"20080102", "0809"},
                                         {"20081231", "0809"},
                                         {"19990701", "9900"},
                                         {"20000401", "0001"},
                                         {"19900101", "1990"}}) {
    SCOPED_TRACE(c.start);
    EXPECT_EQ(yearLabel(date(c.start)), c.label);
  }
}

TEST(PeriodCodes, TwoDigitsEachJoinedBySlash) {
  EXPECT_EQ(periodCode(3, 12), "03/12");
  EXPECT_EQ(periodCode(12, 12), "12/12");
  EXPECT_EQ(periodCode(1, 4), "01/04");
  EXPECT_EQ(periodCountText(7), "07");
  EXPECT_EQ(periodCountText(15), "15");
}

TEST(PeriodCodes, OnlyZeroOneToFifteenNameACount) {
  struct Case {
    const char* text;
    std::optional<int> count;
  };
  for (const Case& c : std::vector<Case>{{"01", 1},
                                         {"09", 9},
                                         {"15", 15},
                                         {"00", std::nullopt},
                                         {"16", std::nullopt},
                                         {"1", std::nullopt},
                                         {"5", std::nullopt},
                                         {"001", std::nullopt},
                                         {" 5", std::nullopt},
                                         {"ab", std::nullopt},
                                         {"1a", std::nullopt},
                                         {"", std::nullopt}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(periodCountFromText(c.text), c.count);
  }
}

TEST(PeriodLock, LockedOnceAPeriodAfterTheFirstIsCurrent) {
  struct Case {
    const char* current;
    bool locked;
  };
  for (const Case& c : std::vector<Case>{{"00/00", false},
                                         {"01/12", false},
                                         {"", false},
                                         {"02/12", true},
                                         {"03/12", true},
                                         {"10/12", true},
                                         {"12/12", true}}) {
    SCOPED_TRACE(c.current);
    EXPECT_EQ(periodsLocked(c.current), c.locked);
  }
}

// --- the consistency check ----------------------------------------------------------------------

AdminSettingsRecord quarters() {
  AdminSettingsRecord s = defaultSettings();
  s.periodCount = 4;
  recomputePeriods(s);
  return s;
}

TEST(PeriodTableCheck, FindsEveryDisagreementBetweenTableAndBookYear) {
  struct Case {
    const char* name;
    void (*spoil)(AdminSettingsRecord&);
    const char* says;  // part of the problem; empty when the table agrees
  };
  const std::vector<Case> cases = {
      {"as computed", [](AdminSettingsRecord&) {}, ""},
      {"slots beyond the day after the year mean nothing",
       [](AdminSettingsRecord& s) { s.periodStarts[7] = "nonsense"; }, ""},
      {"no periods", [](AdminSettingsRecord& s) { s.periodCount = 0; }, "number of periods"},
      {"sixteen periods", [](AdminSettingsRecord& s) { s.periodCount = 16; }, "number of periods"},
      {"start no date", [](AdminSettingsRecord& s) { s.startDate = "2008013"; }, "start date"},
      {"end no date", [](AdminSettingsRecord& s) { s.endDate = "20081332"; }, "end date"},
      {"end before start", [](AdminSettingsRecord& s) { s.endDate = "20071231"; }, "not after"},
      {"end on the start", [](AdminSettingsRecord& s) { s.endDate = "20080101"; },
       "not after its start"},
      {"period 1 not on the start date",
       [](AdminSettingsRecord& s) { s.periodStarts[0] = "20080102"; }, "Period 1"},
      {"period 3 before period 2", [](AdminSettingsRecord& s) { s.periodStarts[2] = "20080301"; },
       "Period 3"},
      {"period 3 on the start of period 2",
       [](AdminSettingsRecord& s) { s.periodStarts[2] = s.periodStarts[1]; }, "Period 3"},
      {"period 4 after the end", [](AdminSettingsRecord& s) { s.periodStarts[3] = "20090115"; },
       "Period 4"},
      {"period 2 no date", [](AdminSettingsRecord& s) { s.periodStarts[1] = ""; }, "Period 2"},
      {"slot after the year wrong", [](AdminSettingsRecord& s) { s.periodStarts[4] = "20081231"; },
       "day after the end date"},
      {"slot after the year empty", [](AdminSettingsRecord& s) { s.periodStarts[4] = ""; },
       "day after the end date"},
      {"end moved without the table", [](AdminSettingsRecord& s) { s.endDate = "20081130"; },
       "day after the end date"},
      {"count raised without the table", [](AdminSettingsRecord& s) { s.periodCount = 5; },
       "Period 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AdminSettingsRecord s = quarters();
    c.spoil(s);
    const std::string problem = periodTableProblem(s);
    if (std::string(c.says).empty())
      EXPECT_EQ(problem, "");
    else
      EXPECT_NE(problem.find(c.says), std::string::npos) << problem;
  }
}

TEST(PeriodTableCheck, FifteenPeriodsNeedNoSlotAfterTheYear) {
  AdminSettingsRecord s = defaultSettings();
  s.periodCount = 15;
  recomputePeriods(s);
  ASSERT_EQ(periodTableProblem(s), "");
  s.periodCount = 14;
  EXPECT_NE(periodTableProblem(s), "") << "slot 15 holds a period start, not 1 January 2009";
}

TEST(ShortDate, DayMonthYear) {
  EXPECT_EQ(shortDateText(date("20080705")), "05-07-2008");
  EXPECT_EQ(shortDateText(date("21991231")), "31-12-2199");
}

}  // namespace
}  // namespace tallymoor
