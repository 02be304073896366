#ifndef SALDEX_APP_DB_NAVIGATOR_H_
#define SALDEX_APP_DB_NAVIGATOR_H_

#include <QToolButton>
#include <QWidget>

#include "dbf/data_set.h"
#include "dbf/data_set_observer.h"

namespace app {

// A record navigator with the buttons first, prior, next and last over one
// table cursor. First and prior are disabled on the first record, next and
// last past the last one, all four while the table is closed or empty. The
// buttons take no focus, so the grid keeps it.
class DbNavigator : public QWidget, private dbf::DataSetObserver {
  Q_OBJECT

 public:
  // REQUIRES: `data_set` outlives the navigator.
  explicit DbNavigator(dbf::DbfDataSet& data_set, QWidget* parent = nullptr);
  ~DbNavigator() override;

  QToolButton* first_button() const { return first_; }
  QToolButton* prior_button() const { return prior_; }
  QToolButton* next_button() const { return next_; }
  QToolButton* last_button() const { return last_; }

 private:
  void ActiveChanged(dbf::DbfDataSet&) override { UpdateButtons(); }
  void AfterScroll(dbf::DbfDataSet&) override { UpdateButtons(); }
  void DataSetChanged(dbf::DbfDataSet&) override { UpdateButtons(); }
  QToolButton* AddButton(const QString& text, const QString& tip);
  void UpdateButtons();

  dbf::DbfDataSet& data_set_;
  QToolButton* first_;
  QToolButton* prior_;
  QToolButton* next_;
  QToolButton* last_;
};

}  // namespace app

#endif  // SALDEX_APP_DB_NAVIGATOR_H_
