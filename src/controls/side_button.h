#ifndef SALDEX_CONTROLS_SIDE_BUTTON_H_
#define SALDEX_CONTROLS_SIDE_BUTTON_H_

#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>

#include "controls/control_types.h"

namespace controls {

// The flat button inside the right edge of an edit that opens a pick list:
// as high as the edit, ButtonWidth wide while shown (kept between 15 and the
// edit's width), 0 when hidden; the edit's text ends 4 pixels before it (or
// before the right edge). The pointer over it is the arrow.
class SideButton : public QToolButton {
  Q_OBJECT
 public:
  explicit SideButton(QLineEdit* edit);

  bool shown() const { return shown_; }
  void setShown(bool shown);
  int buttonWidth() const { return width_; }
  void setButtonWidth(int width);
  // The picture: `numGlyphs` images side by side (normal, disabled, ...).
  QPixmap glyph() const { return glyph_; }
  void setGlyph(const QPixmap& glyph);
  int numGlyphs() const { return num_glyphs_; }
  void setNumGlyphs(int count);

  // The width the button takes now (0 when hidden).
  int effectiveWidth() const;
  // Places the button and the edit's text margins; the edit calls it on resize.
  void place();

  // The default picture ("EditBtn": three dots).
  static QPixmap defaultGlyph();

 private:
  void updateIcon();

  QLineEdit* edit_;
  bool shown_ = false;
  int width_ = 15;
  QPixmap glyph_;
  int num_glyphs_ = 1;
};

// ButtonVisible, ButtonWidth, Glyph, NumGlyphs and OnClickButton of an edit
// with a side button, for the edit to inherit beside QLineEdit.
class SideButtonProperties {
 public:
  explicit SideButtonProperties(QLineEdit* edit);

  bool buttonVisible() const { return button_->shown(); }
  void setButtonVisible(bool visible) { button_->setShown(visible); }
  int buttonWidth() const { return button_->buttonWidth(); }
  void setButtonWidth(int width) { button_->setButtonWidth(width); }
  QPixmap glyph() const { return button_->glyph(); }
  void setGlyph(const QPixmap& glyph) { button_->setGlyph(glyph); }
  int numGlyphs() const { return button_->numGlyphs(); }
  void setNumGlyphs(int count) { button_->setNumGlyphs(count); }
  const NotifyEvent& onClickButton() const { return on_click_button_; }
  void setOnClickButton(NotifyEvent handler) { on_click_button_ = std::move(handler); }
  SideButton* sideButton() const { return button_; }

 protected:
  SideButton* button_;

 private:
  NotifyEvent on_click_button_;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_SIDE_BUTTON_H_
