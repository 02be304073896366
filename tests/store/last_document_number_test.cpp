#include "store/last_document_number.h"

#include <gtest/gtest.h>

#include "dbf/format_settings.h"

namespace store {
namespace {

class LastDocumentNumberTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = dbf::Formats(); }
  void TearDown() override { dbf::Formats() = saved_; }
  dbf::FormatSettings saved_;
};

TEST_F(LastDocumentNumberTest, OnlyNumbersAboveZeroAreAccepted) {
  dbf::Formats().decimal_separator = '.';
  EXPECT_FALSE(IsValidLastDocumentNumber("0"));
  EXPECT_FALSE(IsValidLastDocumentNumber("-5"));
  EXPECT_FALSE(IsValidLastDocumentNumber("0.0"));
  EXPECT_TRUE(IsValidLastDocumentNumber("1"));
  EXPECT_TRUE(IsValidLastDocumentNumber(" 2500012 "));
  EXPECT_TRUE(IsValidLastDocumentNumber("0.5"));
}

TEST_F(LastDocumentNumberTest, TheSystemsDecimalSeparatorIsUsed) {
  dbf::Formats().decimal_separator = ',';
  EXPECT_TRUE(IsValidLastDocumentNumber("2,5"));
  EXPECT_THROW(IsValidLastDocumentNumber("2.5"), FloatConversionError);
  dbf::Formats().decimal_separator = '.';
  EXPECT_THROW(IsValidLastDocumentNumber("2,5"), FloatConversionError);
}

TEST_F(LastDocumentNumberTest, TextThatIsNoNumberRaisesTheConversionError) {
  for (const char* text : {"FL2500012", "", "1 2", "abc"}) {
    try {
      IsValidLastDocumentNumber(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const FloatConversionError& error) {
      EXPECT_EQ(error.what(), "'" + std::string(text) + "' is not a valid floating point value");
    }
  }
}

}  // namespace
}  // namespace store
