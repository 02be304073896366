#ifndef SALDEX_APP_CURSOR_TABLE_MODEL_H_
#define SALDEX_APP_CURSOR_TABLE_MODEL_H_

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/grid_column.h"
#include "dbf/data_set.h"
#include "dbf/data_set_observer.h"

namespace app {

// A data grid's rows as a Qt item model over a table cursor. Like the
// record buffers of a data-aware grid, the model holds only the window of
// rows the grid shows (window_rows(), set by the view from its height): the
// current record and its neighbours in the cursor's current order, whatever
// tag is selected. It never reads the table beyond that window, so a table
// of any size opens, jumps and scrolls in constant time.
//
// The current record is the model's active row and vice versa: a cursor move
// that stays inside the window moves the active row at once; one that leaves
// it (or any change of the whole table) schedules a re-read of the window
// from the event loop. The re-read walks the cursor to the neighbours and
// back with the views disabled, and puts back the cursor's record, its Bof
// and Eof; it waits while the cursor is closed, edited or building a tag, and
// runs once the cursor is back in browse state (after Post or Cancel).
// MoveToRow moves the cursor to a row of the window.
//
// The active row keeps its place in the window when possible: a step past
// the bottom row scrolls by one, a jump to the first record puts it at the
// top, one to the last at the bottom.
class CursorTableModel : public QAbstractTableModel, private dbf::DataSetObserver {
  Q_OBJECT

 public:
  // Text colour of a row, decided when the row is read (nullopt: normal).
  using RowInk = std::function<std::optional<QColor>(const dbf::DbfDataSet&)>;

  // REQUIRES: `data_set` outlives the model.
  CursorTableModel(dbf::DbfDataSet& data_set, std::vector<GridColumn> columns,
                   QObject* parent = nullptr);
  ~CursorTableModel() override;

  dbf::DbfDataSet& data_set() const { return data_set_; }
  const std::vector<GridColumn>& columns() const { return columns_; }
  void set_row_ink(RowInk ink);

  // The number of rows the view has room for (at least 1).
  void SetWindowRows(int rows);
  int window_rows() const { return window_rows_; }
  // Row of the current record in the window; -1 when there is none.
  int active_row() const { return active_row_; }
  // Physical record number of a row; 0 outside the window.
  uint32_t RecNoOfRow(int row) const;
  // Moves the cursor by the distance from the active row to `row`.
  void MoveToRow(int row);
  // Re-reads the window now instead of from the event loop.
  void Refill();
  bool refill_pending() const { return refill_pending_; }
  // How many times the window was read (for tests and benchmarks).
  int refill_count() const { return refill_count_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Text of the record indicator in the active row's vertical header.
  static QString IndicatorText();

 signals:
  // The active row changed (also to -1) or the window was read again.
  void activeRowChanged(int row);

 private:
  struct Row {
    uint32_t recno = 0;
    std::vector<QString> cells;
    std::optional<QColor> ink;
  };

  // dbf::DataSetObserver
  void ActiveChanged(dbf::DbfDataSet& data_set) override;
  void StateChanged(dbf::DbfDataSet& data_set) override;
  void AfterScroll(dbf::DbfDataSet& data_set) override;
  void DataSetChanged(dbf::DbfDataSet& data_set) override;
  void RecordChanged(dbf::DbfDataSet& data_set) override;
  void FieldChanged(dbf::DbfDataSet& data_set, const dbf::Field& field) override;

  bool CanWalk() const;
  void ScheduleRefill();
  void RunScheduledRefill();
  Row ReadCurrentRow() const;
  std::vector<Row> ReadWindow();
  void ReplaceRows(std::vector<Row> rows, int active_row);
  void SetActiveRow(int row);
  void RereadActiveRow();
  int FindRow(uint32_t recno) const;

  dbf::DbfDataSet& data_set_;
  std::vector<GridColumn> columns_;
  RowInk row_ink_;
  std::vector<Row> rows_;
  int window_rows_ = 1;
  int active_row_ = -1;
  // A re-read is wanted / a call of RunScheduledRefill is in the event queue.
  bool refill_pending_ = false;
  bool refill_queued_ = false;
  bool walking_ = false;
  int refill_count_ = 0;
};

}  // namespace app

#endif  // SALDEX_APP_CURSOR_TABLE_MODEL_H_
