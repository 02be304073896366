#include "app/cursor_table_model.h"

#include <QMetaObject>
#include <algorithm>
#include <utility>

#include "controls/field_text.h"
#include "controls/qt_text.h"

namespace app {

CursorTableModel::CursorTableModel(dbf::DbfDataSet& data_set, std::vector<GridColumn> columns,
                                   QObject* parent)
    : QAbstractTableModel(parent), data_set_(data_set), columns_(std::move(columns)) {
  data_set_.AddObserver(this);
  if (data_set_.active()) ScheduleRefill();
}

CursorTableModel::~CursorTableModel() {
  data_set_.RemoveObserver(this);
}

void CursorTableModel::set_row_ink(RowInk ink) {
  row_ink_ = std::move(ink);
  ScheduleRefill();
}

QString CursorTableModel::IndicatorText() {
  return QStringLiteral("\u25B6");
}

void CursorTableModel::SetWindowRows(int rows) {
  rows = std::max(rows, 1);
  if (rows == window_rows_) return;
  window_rows_ = rows;
  ScheduleRefill();
}

uint32_t CursorTableModel::RecNoOfRow(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[row].recno : 0;
}

int CursorTableModel::FindRow(uint32_t recno) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].recno == recno) return static_cast<int>(i);
  }
  return -1;
}

void CursorTableModel::MoveToRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || active_row_ < 0) return;
  if (row == active_row_ || !data_set_.active()) return;
  data_set_.MoveBy(row - active_row_);
}

bool CursorTableModel::CanWalk() const {
  return data_set_.active() && data_set_.state() == dbf::DataSetState::kBrowse &&
         !data_set_.building_index() && !data_set_.controls_disabled();
}

void CursorTableModel::ScheduleRefill() {
  refill_pending_ = true;
  if (refill_queued_) return;
  refill_queued_ = true;
  QMetaObject::invokeMethod(this, &CursorTableModel::RunScheduledRefill, Qt::QueuedConnection);
}

void CursorTableModel::RunScheduledRefill() {
  refill_queued_ = false;
  if (!refill_pending_) return;
  // A cursor that cannot be walked now (a record being edited or added in a
  // modal dialog, a tag being built) keeps the request; the notification that
  // ends that state (back to browse, controls enabled, open) queues it again.
  if (data_set_.active() && !CanWalk()) return;
  Refill();
}

CursorTableModel::Row CursorTableModel::ReadCurrentRow() const {
  Row row;
  row.recno = data_set_.RecNo();
  row.cells.reserve(columns_.size());
  for (const GridColumn& column : columns_) {
    const dbf::Field* field = data_set_.FindField(column.field);
    row.cells.push_back(field ? controls::FieldDisplayText(*field, column.display_format)
                              : QString());
  }
  if (row_ink_) row.ink = row_ink_(data_set_);
  return row;
}

std::vector<CursorTableModel::Row> CursorTableModel::ReadWindow() {
  std::vector<Row> window{ReadCurrentRow()};
  const int home_row_wanted = std::clamp(active_row_, 0, window_rows_ - 1);
  if (window_rows_ == 1 || data_set_.outside_order()) {
    active_row_ = 0;
    return window;
  }
  const uint32_t home = window.front().recno;
  const bool eof = data_set_.Eof(), bof = data_set_.Bof();
  std::vector<Row> above, below;
  walking_ = true;
  data_set_.DisableControls();
  try {
    const int limit = window_rows_ - 1;
    while (static_cast<int>(above.size()) < limit && data_set_.MoveBy(-1) == -1) {
      above.push_back(ReadCurrentRow());
    }
    if (!above.empty()) data_set_.MoveBy(static_cast<int>(above.size()));
    while (static_cast<int>(below.size()) < limit && data_set_.MoveBy(1) == 1) {
      below.push_back(ReadCurrentRow());
    }
    if (!below.empty()) data_set_.MoveBy(-static_cast<int>(below.size()));
    // Back on the home record; put back the ends the walk may have touched.
    if (data_set_.Eof() != eof || data_set_.Bof() != bof || data_set_.RecNo() != home) {
      data_set_.SetRecNo(home);
      if (eof) data_set_.MoveBy(1);
      if (bof) data_set_.MoveBy(-1);
    }
  } catch (...) {
    try {
      data_set_.SetRecNo(home);
    } catch (...) {
    }
    data_set_.EnableControls();
    walking_ = false;
    throw;
  }
  data_set_.EnableControls();
  walking_ = false;

  const int below_count = static_cast<int>(below.size());
  const int take_above = std::min(static_cast<int>(above.size()),
                                  std::max(home_row_wanted, window_rows_ - 1 - below_count));
  std::vector<Row> rows;
  rows.reserve(window_rows_);
  for (int i = take_above - 1; i >= 0; --i) rows.push_back(std::move(above[i]));
  rows.push_back(std::move(window.front()));
  for (int i = 0; i < below_count && static_cast<int>(rows.size()) < window_rows_; ++i) {
    rows.push_back(std::move(below[i]));
  }
  active_row_ = take_above;
  return rows;
}

void CursorTableModel::Refill() {
  refill_pending_ = false;
  ++refill_count_;
  if (!data_set_.active() || data_set_.IsEmpty()) {
    ReplaceRows({}, -1);
    return;
  }
  const int previous_active = active_row_;
  std::vector<Row> rows = ReadWindow();
  const int active = active_row_;
  active_row_ = previous_active;
  ReplaceRows(std::move(rows), active);
}

void CursorTableModel::ReplaceRows(std::vector<Row> rows, int active_row) {
  const int old_count = static_cast<int>(rows_.size());
  const int new_count = static_cast<int>(rows.size());
  if (new_count < old_count) {
    beginRemoveRows({}, new_count, old_count - 1);
    rows_ = std::move(rows);
    endRemoveRows();
  } else if (new_count > old_count) {
    beginInsertRows({}, old_count, new_count - 1);
    rows_ = std::move(rows);
    endInsertRows();
  } else {
    rows_ = std::move(rows);
  }
  active_row_ = active_row;
  if (new_count > 0) {
    emit dataChanged(index(0, 0), index(new_count - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, 0, new_count - 1);
  }
  emit activeRowChanged(active_row_);
}

void CursorTableModel::SetActiveRow(int row) {
  if (row == active_row_) return;
  const int old = active_row_;
  active_row_ = row;
  for (const int changed : {old, row}) {
    if (changed < 0 || changed >= static_cast<int>(rows_.size())) continue;
    emit dataChanged(index(changed, 0), index(changed, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, changed, changed);
  }
  emit activeRowChanged(active_row_);
}

void CursorTableModel::RereadActiveRow() {
  if (active_row_ < 0 || active_row_ >= static_cast<int>(rows_.size())) return;
  if (data_set_.RecNo() != rows_[active_row_].recno) return;
  rows_[active_row_] = ReadCurrentRow();
  emit dataChanged(index(active_row_, 0), index(active_row_, columnCount() - 1));
}

void CursorTableModel::ActiveChanged(dbf::DbfDataSet&) {
  if (walking_) return;
  if (!data_set_.active()) {
    refill_pending_ = false;
    ReplaceRows({}, -1);
    return;
  }
  ScheduleRefill();
}

void CursorTableModel::StateChanged(dbf::DbfDataSet&) {
  if (walking_ || !refill_pending_) return;
  if (data_set_.state() == dbf::DataSetState::kBrowse) ScheduleRefill();
}

void CursorTableModel::AfterScroll(dbf::DbfDataSet&) {
  if (walking_ || refill_pending_) return;
  const int row = data_set_.IsEmpty() ? -1 : FindRow(data_set_.RecNo());
  if (row < 0) {
    ScheduleRefill();
    return;
  }
  SetActiveRow(row);
  RereadActiveRow();
}

void CursorTableModel::DataSetChanged(dbf::DbfDataSet&) {
  if (walking_) return;
  ScheduleRefill();
}

void CursorTableModel::RecordChanged(dbf::DbfDataSet&) {
  if (walking_ || refill_pending_) return;
  RereadActiveRow();
}

void CursorTableModel::FieldChanged(dbf::DbfDataSet&, const dbf::Field&) {
  if (walking_ || refill_pending_) return;
  RereadActiveRow();
}

int CursorTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CursorTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant CursorTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const Row& row = rows_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
      return index.column() < static_cast<int>(row.cells.size()) ? row.cells[index.column()]
                                                                 : QVariant();
    case Qt::ForegroundRole:
      // The selected row keeps the grid's own colours.
      if (index.row() == active_row_ || !row.ink) return {};
      return *row.ink;
    default:
      return {};
  }
}

QVariant CursorTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    return section >= 0 && section < static_cast<int>(columns_.size()) ? columns_[section].title
                                                                       : QVariant();
  }
  return section == active_row_ ? IndicatorText() : QString();
}

Qt::ItemFlags CursorTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace app
