#include "controls/field_text.h"

#include <gtest/gtest.h>

#include "controls/widget_test_support.h"

namespace controls {
namespace {

using FieldTextTest = FormatsFixture;

TEST_F(FieldTextTest, NumberDisplayFormats) {
  EXPECT_EQ(FormatNumber(1234567.891, "#,##0.00"), "1 234 567,89");
  EXPECT_EQ(FormatNumber(-5, "#,##0.00"), "-5,00");
  EXPECT_EQ(FormatNumber(-0.004, "#,##0.00"), "0,00");  // no "-0,00"
  EXPECT_EQ(FormatNumber(999.999, "#,##0.00"), "1 000,00");
  EXPECT_EQ(FormatNumber(0.5, "#.##"), ",5");
  EXPECT_EQ(FormatNumber(2.5, "0.0#"), "2,5");
  EXPECT_EQ(FormatNumber(7, "000"), "007");
  dbf::Formats().thousand_separator = '.';
  dbf::Formats().decimal_separator = ',';
  EXPECT_EQ(FormatNumber(1234.5, "#,##0.00"), "1.234,50");
}

}  // namespace
}  // namespace controls
