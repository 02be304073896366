#ifndef SALDEX_CONTROLS_ENTER_DB_DATE_EDIT_H_
#define SALDEX_CONTROLS_ENTER_DB_DATE_EDIT_H_

#include "controls/enter_date_edit.h"
#include "controls/field_link.h"

namespace controls {

// TEnterDateEdit bound to one date field of a cursor (payment dialog). An
// empty date shows as a blank edit, and a blank edit empties the field. The
// field is written when the focus leaves and when Post asks for pending
// values (a date still being typed is taken first); a failed write shows the
// engine's message and keeps the focus. Typing is possible only while the
// cursor is in edit or insert state.
class TEnterDBDateEdit : public TEnterDateEdit, public DataFieldProperties {
  Q_OBJECT
 public:
  explicit TEnterDBDateEdit(QWidget* parent = nullptr);
  ~TEnterDBDateEdit() override;

  // Writes a changed date into the field; false when the write failed.
  bool writeField(QString* error = nullptr);

 protected:
  bool blankAllowed() const override { return true; }
  bool acceptLeave(QString* message) override { return writeField(message); }

 private:
  void dataChanged();
  void updateData();
  void storeDate();

  bool modified_ = false;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_ENTER_DB_DATE_EDIT_H_
