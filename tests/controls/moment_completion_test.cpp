#include "controls/moment_completion.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

struct Row {
  const char* name;
  const char* typed;
  const char* result;
  bool valid;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

dbf::LocalTime Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  dbf::LocalTime t;
  t.year = year, t.month = month, t.day = day;
  t.hour = hour, t.minute = minute, t.second = second;
  return t;
}

// Date separator ".", default date 8 December 2026, "dd.mm.yyyy": DT is 08.12.2026.
class DateCompletion : public testing::TestWithParam<Row> {};

TEST_P(DateCompletion, CompletesFromTheDefaultDate) {
  const Row& row = GetParam();
  const Completion c =
      CompleteDate(QString::fromUtf8(row.typed), Moment(2026, 12, 8), MomentFormats{});
  EXPECT_EQ(c.text.toStdString(), row.result);
  EXPECT_EQ(c.valid, row.valid);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, DateCompletion,
                         testing::Values(Row{"Empty", "", "", true},                          //
                                         Row{"DayOnly", "5", "5.12.2026", true},              //
                                         Row{"DayAndSeparator", "15.", "15.12.2026", true},   //
                                         Row{"DayMonth", "5.3", "5.3.2026", true},            //
                                         Row{"SlashSeparator", "5/3", "5.3.2026", true},      //
                                         Row{"DayMonthSeparator", "5.3.", "5.3.2026", true},  //
                                         Row{"FullShortYear", "5.3.25", "5.3.25", true},      //
                                         Row{"LeadingSeparator", ".7", "08.12.2026", true},   //
                                         Row{"SixDigits", "050326", "05.03.26", true},        //
                                         Row{"FourDigits", "0503", "", false},                //
                                         Row{"DoubleSeparator", "5..3", "", false},           //
                                         Row{"Letters", "a.b", "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Careless, DateCompletion,
    testing::Values(
        // Every character of * + , - . / : ? counts as a separator, the first
        // two become the date separator and a third stays.
        Row{"StarAndPlus", "5*3+", "5.3.2026", true},                  //
        Row{"CommaAndMinus", "5,3-2027", "5.3.2027", true},            //
        Row{"QuestionMark", "5?", "5.12.2026", true},                  //
        Row{"ColonIsAllowedAsTyped", "5:3", "5.3.2026", true},         //
        Row{"ThirdSeparatorStaysAndIsRefused", "1.2.3/4", "", false},  //
        Row{"ThirdDotStays", "1.2.3.4", "1.2.3.4", true},              //
        // Blanks around are trimmed for the test, but n = 6 inserts the
        // separators into the text as typed.
        Row{"BlanksTrimmed", "  5.3  ", "5.3.2026", true},                 //
        Row{"SixWithLeadingBlank", " 050326", " 0.50.326", true},          //
        Row{"SixNotTestedForCharacters", "ab12cd", "ab.12.cd", true},      //
        Row{"TwoDigitsDay", "15", "15.12.2026", true},                     //
        Row{"ThreeDigits", "153", "", false},                              //
        Row{"FiveDigits", "15032", "", false},                             //
        Row{"SevenDigits", "1503202", "", false},                          //
        Row{"EightDigits", "15032026", "", false},                         //
        Row{"TenDigits", "1503202600", "", false},                         //
        Row{"LetterWithoutSeparator", "a", "", false},                     //
        Row{"AdjacentAfterLaterStart", "15..3", "", false},                //
        Row{"SecondSeparatorLastAddsYear", "15.03.", "15.03.2026", true},  //
        Row{"FullDateKept", "31.2.2026", "31.2.2026", true},               //
        // More than 8 characters are cut to 10; the cut text is what is tested.
        Row{"NineKept", "1.12.2026", "1.12.2026", true},       //
        Row{"CutToTen", "01.12.2026xyz", "01.12.2026", true},  //
        // n is the length of the cut text: the second separator is now last.
        Row{"CutThenSecondSeparatorLast", "01.022026.x", "01.022026.2026", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateCompletionFormats, OtherSeparatorAndDefaultDate) {
  MomentFormats formats;
  formats.date_separator = u'/';
  formats.short_date_format = "dd/mm/yyyy";
  const dbf::LocalTime leap_day = Moment(2028, 2, 29);
  EXPECT_EQ(CompleteDate("5", leap_day, formats).text, "5/02/2028");
  EXPECT_EQ(CompleteDate("5.3", leap_day, formats).text, "5/3/2028");
  EXPECT_EQ(CompleteDate("5-3/", leap_day, formats).text, "5/3/2028");
  EXPECT_EQ(CompleteDate(".", leap_day, formats).text, "29/02/2028");
  EXPECT_EQ(CompleteDate("290228", leap_day, formats).text, "29/02/28");
  // "." is no longer allowed once it is not among the first two separators.
  EXPECT_FALSE(CompleteDate("1/2/3.", leap_day, formats).valid);
  // The time separator is an allowed character in a date too.
  EXPECT_EQ(CompleteDate("1/2/3:", leap_day, formats).text, "1/2/3:");
}

TEST(DateCompletionFormats, YearFirstFormat) {
  MomentFormats formats;
  formats.date_separator = u'-';
  formats.short_date_format = "yyyy/mm/dd";
  EXPECT_EQ(FormatShortDate(Moment(2026, 3, 5), formats), "2026-03-05");
  // The parts after the first and second separators of DT, as they stand.
  EXPECT_EQ(CompleteDate("2027", Moment(2026, 3, 5), formats).text, "");
  EXPECT_EQ(CompleteDate("27", Moment(2026, 3, 5), formats).text, "27-03-05");
}

// Time separator ":", default 8:30:15, "hh:nn:ss": DT is 08:30:15.
class TimeCompletion : public testing::TestWithParam<Row> {};

TEST_P(TimeCompletion, CompletesFromTheDefaultTime) {
  const Row& row = GetParam();
  const Completion c =
      CompleteTime(QString::fromUtf8(row.typed), Moment(2026, 12, 8, 8, 30, 15), MomentFormats{});
  EXPECT_EQ(c.text.toStdString(), row.result);
  EXPECT_EQ(c.valid, row.valid);
}

INSTANTIATE_TEST_SUITE_P(EdgeCases, TimeCompletion,
                         testing::Values(Row{"Empty", "", "", true},                          //
                                         Row{"HourOnly", "9", "9:30:15", true},               //
                                         Row{"HourAndSeparator", "14:", "14:30:15", true},    //
                                         Row{"HourMinute", "9:5", "9:5:15", true},            //
                                         Row{"DotSeparator", "9.5", "9:5:15", true},          //
                                         Row{"HourMinuteSeparator", "9:5:", "9:5:15", true},  //
                                         Row{"Full", "9:05:07", "9:05:07", true},             //
                                         Row{"LeadingSeparator", ":7", "08:30:15", true},     //
                                         Row{"SixDigits", "090507", "09:05:07", true},        //
                                         Row{"FourDigits", "0905", "", false},                //
                                         Row{"DoubleSeparator", "9::5", "", false},           //
                                         Row{"Letters", "a:b", "", false},                    //
                                         // The length limit of a time is 8.
                                         Row{"CutToEight", "09:05:071", "09:05:07", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimeCompletionFormats, OtherSeparatorAndFormat) {
  MomentFormats formats;
  formats.time_separator = u'.';
  formats.long_time_format = "h:nn:ss";
  const dbf::LocalTime t = Moment(2026, 1, 1, 7, 4, 9);
  EXPECT_EQ(FormatLongTime(t, formats), "7.04.09");
  EXPECT_EQ(CompleteTime("12", t, formats).text, "12.04.09");
  EXPECT_EQ(CompleteTime("12:1", t, formats).text, "12.1.09");
}

}  // namespace
}  // namespace controls
