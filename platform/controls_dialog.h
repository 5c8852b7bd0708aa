#pragma once
// The framework's controls of the settings dialog that Qt has no exact match
// for: the up-down paired with its edit, the spin edit, and the bitmap button.
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

class QToolButton;

// Two arrows that step a whole-number position within a range and show it in
// their associate edit. A whole number typed into the edit within the range
// becomes the position once it is read or the typing is done (Enter, the focus
// leaving, an arrow click); any other typed text leaves the position it had.
// The Up and Down keys in the edit act as clicks on the arrows.
class TUpDown : public QWidget {
  Q_OBJECT
 public:
  enum class Bouton { Next, Prev };  // the upper and the lower arrow

  TUpDown(QWidget* parent, QLineEdit* associate, int minValue, int maxValue, int increment, int position);

  QLineEdit* Associate() const { return associate_; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Increment() const { return increment_; }
  // The whole number the edit holds when it lies within the range, else the
  // position the up-down had.
  int Position() const;
  // Brought to the nearer end of the range, then shown in the edit.
  void setPosition(int value);
  // An arrow click: one increment up or down from Position() within the
  // range, then OnClick.
  void clickArrow(Bouton which);

 signals:
  void OnClick(TUpDown::Bouton which);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void takeTypedText();

  QLineEdit* associate_;
  QToolButton* up_;
  QToolButton* down_;
  int min_, max_, increment_, position_;
};

// A whole-number edit with arrows. Its value is its text read as a whole
// number and brought into the range; a text that is no whole number counts as
// the lowest value. Only digits, signs and the decimal separator can be typed;
// leaving the box brings its text into the range.
class TSpinEdit : public QLineEdit {
  Q_OBJECT
 public:
  TSpinEdit(QWidget* parent, int minValue, int maxValue, int increment, int value);

  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  int Increment() const { return increment_; }
  int Value() const;
  void setValue(int value);
  // An arrow click: one increment up (+1) or down (-1) within the range.
  void stepBy(int direction);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int clampValue(int value) const;

  QToolButton* up_;
  QToolButton* down_;
  int min_, max_, increment_;
};

// Whether `c` may be typed into a spin edit.
bool spinEditAccepts(QChar c);

// A push button with a glyph of two images, normal and disabled; the OK and
// Cancel kinds carry the style's own images.
class TBitBtn : public QPushButton {
  Q_OBJECT
 public:
  enum class Kind { Custom, OK, Cancel };
  TBitBtn(QWidget* parent, const QString& caption, Kind kind = Kind::Custom);
  void setGlyph(const QPixmap& normal, const QPixmap& disabled);
};
