#include "store/payment_types.h"

#include <gtest/gtest.h>

#include "store/demo_store.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;

// The demo store's types: BAN, HOT, KAR, ZAP, DOB.
class PaymentTypesTest : public DemoStoreTest {
 protected:
  void SetUp() override { MakeStore(); }

  // A pick list that records being shown and picks the type `code` (moving
  // the table to it), or cancels when `code` is empty.
  PaymentTypePicker Picker(const std::string& code) {
    return [this, code] {
      ++lists_shown_;
      dbf::DbfDataSet& types = Module().TypPlatby();
      EXPECT_TRUE(types.active());
      first_shown_ = types.FieldByName("BPT_KOD").AsString();
      if (code.empty()) return false;
      return types.Locate("BPT_KOD", {dbf::SearchValue(code)});
    };
  }

  int lists_shown_ = 0;
  std::string first_shown_;
};

TEST_F(PaymentTypesTest, AKnownThreeLetterTypeIsAcceptedWithoutTheList) {
  std::string text = "HOT";
  EXPECT_TRUE(ValidatePaymentType(Module().TypPlatby(), text, Picker("BAN")));
  EXPECT_EQ(text, "HOT");
  EXPECT_EQ(lists_shown_, 0);
  EXPECT_FALSE(Module().TypPlatby().active());
}

TEST_F(PaymentTypesTest, ATwoLetterTypeOpensTheListAtItsFirstRecord) {
  std::string text = "HO";
  EXPECT_TRUE(ValidatePaymentType(Module().TypPlatby(), text, Picker("KAR")));
  EXPECT_EQ(text, "KAR");
  EXPECT_EQ(lists_shown_, 1);
  EXPECT_EQ(first_shown_, "BAN");
  EXPECT_FALSE(Module().TypPlatby().active());
}

TEST_F(PaymentTypesTest, TheCheckIsCaseSensitive) {
  std::string text = "hot";
  EXPECT_TRUE(ValidatePaymentType(Module().TypPlatby(), text, Picker("HOT")));
  EXPECT_EQ(lists_shown_, 1);
  EXPECT_EQ(text, "HOT");
}

TEST_F(PaymentTypesTest, BlanksAndUnknownCodesOpenTheList) {
  for (std::string text : {std::string("   "), std::string(""), std::string("XYZ")}) {
    SCOPED_TRACE("'" + text + "'");
    lists_shown_ = 0;
    EXPECT_TRUE(ValidatePaymentType(Module().TypPlatby(), text, Picker("ZAP")));
    EXPECT_EQ(lists_shown_, 1);
    EXPECT_EQ(text, "ZAP");
  }
}

TEST_F(PaymentTypesTest, ACancelledListEmptiesAndRefusesTheText) {
  std::string text = "XY";
  EXPECT_FALSE(ValidatePaymentType(Module().TypPlatby(), text, Picker("")));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(Module().TypPlatby().active());
}

TEST_F(PaymentTypesTest, TheSideButtonPicksAType) {
  EXPECT_EQ(PickPaymentType(Module().TypPlatby(), Picker("DOB")),
            std::optional<std::string>("DOB"));
  EXPECT_EQ(PickPaymentType(Module().TypPlatby(), Picker("")), std::nullopt);
  EXPECT_EQ(lists_shown_, 2);
  EXPECT_FALSE(Module().TypPlatby().active());
}

}  // namespace
}  // namespace store
