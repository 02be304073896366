#ifndef SALDEX_APP_DIALOGS_OVERVIEW_RANGE_DIALOG_H_
#define SALDEX_APP_DIALOGS_OVERVIEW_RANGE_DIALOG_H_

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <optional>

#include "controls/enter_date_edit.h"
#include "controls/entry_dialog.h"
#include "reports/data_sestavy.h"

namespace app {

// The date-range dialog `OverviewRangeDialog` of the invoice overview: from-date
// (focused) and to-date, the spreadsheet check box, "Start" (result 1) and
// "Storno" (result 2). Enter moves through the fields; Enter on the check
// box moves to "Storno". Shown centred over its owner each time.
class OverviewRangeDialog : public controls::EntryDialog {
  Q_OBJECT
 public:
  static constexpr int kStart = 1;
  static constexpr int kStorno = 2;

  explicit OverviewRangeDialog(QWidget* owner = nullptr);

  // Both dates, as the program holds them.
  void setDates(dbf::DateTime from, dbf::DateTime to);
  dbf::DateTime fromDate() const { return DateEdit1->dateValue(); }
  dbf::DateTime toDate() const { return DateEdit2->dateValue(); }
  // The check box state "Start" stored; false before.
  bool exportXls() const { return export_xls_; }

  controls::TEnterDateEdit* DateEdit1;
  controls::TEnterDateEdit* DateEdit2;
  QCheckBox* CheckBox1;
  QPushButton* StartButton;
  QPushButton* StornoButton;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AcceptRange();

  bool export_xls_ = false;
};

// Shows the dialog modally over `owner` with both dates preset to today; the
// range and the check box when closed with "Start", else nullopt.
std::optional<reports::OverviewRequest> AskOverviewRange(QWidget* owner);

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_OVERVIEW_RANGE_DIALOG_H_
