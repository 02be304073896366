// CursorTableModel: the window of rows around the current record, and a
// re-read that leaves the cursor exactly as it was.

#include "app/cursor_table_model.h"

#include <QApplication>

#include "app/grid_column.h"
#include "store/demo_store.h"

namespace app {
namespace {

class CursorTableModelTest : public testing_support::DemoStoreTest {
 protected:
  void SetUp() override {
    MakeStore();
    ASSERT_TRUE(Module().OpenFak("DO1"));
  }
  dbf::DbfDataSet& Invoices() { return data_->Faktury(); }
  std::unique_ptr<CursorTableModel> Model(int rows) {
    auto model = std::make_unique<CursorTableModel>(Invoices(), InvoiceGridColumns());
    model->SetWindowRows(rows);
    model->Refill();
    return model;
  }
  // The invoice numbers of the model's rows.
  static std::vector<std::string> Numbers(const CursorTableModel& model) {
    std::vector<std::string> numbers;
    for (int row = 0; row < model.rowCount(); ++row) {
      numbers.push_back(model.data(model.index(row, 1)).toString().toStdString());
    }
    return numbers;
  }
  // The numbers of `count` invoices from the current one on, read by the cursor.
  std::vector<std::string> NumbersFromCurrent(int count) {
    std::vector<std::string> numbers;
    const uint32_t home = Invoices().RecNo();
    for (int i = 0; i < count && !Invoices().Eof(); ++i) {
      numbers.push_back(Invoices().FieldByName("HLA_DO1").AsString());
      Invoices().Next();
    }
    Invoices().SetRecNo(home);
    return numbers;
  }
};

TEST_F(CursorTableModelTest, RereadKeepsRecordBofAndEof) {
  auto model = Model(5);
  Invoices().Last();
  const uint32_t last = Invoices().RecNo();
  model->Refill();
  EXPECT_EQ(Invoices().RecNo(), last);
  EXPECT_TRUE(Invoices().Eof());
  EXPECT_FALSE(Invoices().Bof());
  EXPECT_EQ(model->active_row(), 4);

  Invoices().First();
  model->Refill();
  EXPECT_TRUE(Invoices().Bof());
  EXPECT_FALSE(Invoices().Eof());
  EXPECT_EQ(model->active_row(), 0);

  Invoices().MoveBy(7);
  const uint32_t middle = Invoices().RecNo();
  model->Refill();
  EXPECT_EQ(Invoices().RecNo(), middle);
  EXPECT_FALSE(Invoices().Bof());
  EXPECT_FALSE(Invoices().Eof());
}

TEST_F(CursorTableModelTest, WindowHoldsTheNeighboursInTheCurrentOrder) {
  auto model = Model(4);
  Invoices().First();
  model->Refill();
  EXPECT_EQ(Numbers(*model), NumbersFromCurrent(4));

  // A step past the bottom row scrolls the window by one.
  Invoices().MoveBy(3);
  EXPECT_EQ(model->active_row(), 3);
  Invoices().Next();
  QApplication::processEvents();
  EXPECT_EQ(model->active_row(), 3);
  Invoices().MoveBy(-3);
  const auto expected = NumbersFromCurrent(4);
  Invoices().MoveBy(3);
  EXPECT_EQ(Numbers(*model), expected);

  // Another tag: the same record, the rows in that order.
  Invoices().SelectTag("NAC");
  QApplication::processEvents();
  EXPECT_EQ(model->RecNoOfRow(model->active_row()), Invoices().RecNo());
  const int active = model->active_row();
  Invoices().MoveBy(-active);
  EXPECT_EQ(Numbers(*model), NumbersFromCurrent(model->rowCount()));
}

TEST_F(CursorTableModelTest, AWalkToTheEndWithTheModelAttachedEnds) {
  auto model = Model(6);
  int walked = 0;
  Invoices().First();
  while (!Invoices().Eof() && walked < 1000) {
    ++walked;
    Invoices().Next();
    // Modal boxes of a command let the event loop run meanwhile.
    QApplication::processEvents();
  }
  EXPECT_EQ(walked, static_cast<int>(Invoices().RecordCount()));
  EXPECT_TRUE(Invoices().Eof());
}

TEST_F(CursorTableModelTest, NoRereadWhileEditingOrClosed) {
  auto model = Model(3);
  Invoices().Edit();
  Invoices().FieldByName("HLA_NAC").SetAsString("Upraveno");
  QApplication::processEvents();
  EXPECT_EQ(Invoices().state(), dbf::DataSetState::kEdit);
  EXPECT_EQ(model->data(model->index(model->active_row(), 4)).toString(),
            QStringLiteral("Upraveno"));
  Invoices().Cancel();
  data_->CloseFak();
  EXPECT_EQ(model->rowCount(), 0);
  EXPECT_EQ(model->active_row(), -1);
}

// A record added or changed in a modal dialog (the event loop runs while
// the cursor is in insert or edit state) is shown once the dialog posts it,
// and the active row stays the cursor's record for every later move.
TEST_F(CursorTableModelTest, APostedRecordIsShownAndTheActiveRowFollowsTheCursor) {
  auto model = Model(5);
  const auto active_recno = [&] { return model->RecNoOfRow(model->active_row()); };
  const auto active_number = [&] {
    return model->data(model->index(model->active_row(), 1)).toString().toStdString();
  };
  Invoices().Append();
  QApplication::processEvents();
  Invoices().FieldByName("HLA_DO1").SetAsString("9999999999");
  QApplication::processEvents();
  Invoices().Post();
  QApplication::processEvents();
  EXPECT_FALSE(model->refill_pending());
  EXPECT_EQ(active_recno(), Invoices().RecNo());
  EXPECT_EQ(active_number(), "9999999999");

  Invoices().MoveBy(-1);
  EXPECT_EQ(active_recno(), Invoices().RecNo());

  Invoices().Edit();
  QApplication::processEvents();
  Invoices().FieldByName("HLA_DO1").SetAsString("9999999998");
  Invoices().Post();
  QApplication::processEvents();
  EXPECT_EQ(active_recno(), Invoices().RecNo());
  EXPECT_EQ(active_number(), "9999999998");
  // The changed key moved the record next to the one added before.
  Invoices().MoveBy(1);
  EXPECT_EQ(active_recno(), Invoices().RecNo());
  EXPECT_EQ(active_number(), "9999999999");

  // An added record given up leaves the window as it was.
  Invoices().Append();
  QApplication::processEvents();
  Invoices().Cancel();
  QApplication::processEvents();
  EXPECT_EQ(active_recno(), Invoices().RecNo());
  EXPECT_EQ(active_number(), "9999999999");
}

}  // namespace
}  // namespace app
