#include "platform/controls_dialog.h"

#include <QIcon>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>

#include "platform/number_format.h"

namespace {

// A whole number with an optional sign, blanks around; false for anything else.
bool wholeNumber(const QString& text, int& value) {
  bool ok = false;
  value = text.trimmed().toInt(&ok, 10);
  return ok;
}

QToolButton* arrow(QWidget* parent, Qt::ArrowType type) {
  auto* b = new QToolButton(parent);
  b->setArrowType(type);
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoRepeat(true);
  return b;
}

}  // namespace

TUpDown::TUpDown(QWidget* parent, QLineEdit* associate, int minValue, int maxValue, int increment, int position)
    : QWidget(parent),
      associate_(associate),
      up_(arrow(this, Qt::UpArrow)),
      down_(arrow(this, Qt::DownArrow)),
      min_(minValue),
      max_(maxValue),
      increment_(increment),
      position_(minValue) {
  connect(up_, &QToolButton::clicked, this, [this] { clickArrow(Bouton::Next); });
  connect(down_, &QToolButton::clicked, this, [this] { clickArrow(Bouton::Prev); });
  // Not on every keystroke: the first digits of a number typed beyond the
  // range would each become the position on the way.
  connect(associate_, &QLineEdit::editingFinished, this, &TUpDown::takeTypedText);
  associate_->installEventFilter(this);
  setPosition(position);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == associate_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      clickArrow(key == Qt::Key_Up ? Bouton::Next : Bouton::Prev);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int h = height() / 2;
  up_->setGeometry(0, 0, width(), h);
  down_->setGeometry(0, h, width(), height() - h);
}

void TUpDown::setPosition(int value) {
  position_ = std::clamp(value, min_, max_);
  associate_->setText(QString::number(position_));
}

int TUpDown::Position() const {
  int value = 0;
  return wholeNumber(associate_->text(), value) && value >= min_ && value <= max_ ? value : position_;
}

void TUpDown::clickArrow(Bouton which) {
  const int from = Position();
  setPosition(which == Bouton::Next ? from + increment_ : from - increment_);
  emit OnClick(which);
}

void TUpDown::takeTypedText() { position_ = Position(); }

bool spinEditAccepts(QChar c) {
  return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == numfmt::DecimalSeparator();
}

TSpinEdit::TSpinEdit(QWidget* parent, int minValue, int maxValue, int increment, int value)
    : QLineEdit(parent),
      up_(arrow(this, Qt::UpArrow)),
      down_(arrow(this, Qt::DownArrow)),
      min_(minValue),
      max_(maxValue),
      increment_(increment) {
  connect(up_, &QToolButton::clicked, this, [this] { stepBy(+1); });
  connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
  setValue(value);
}

int TSpinEdit::clampValue(int value) const { return std::clamp(value, min_, max_); }

int TSpinEdit::Value() const {
  int value = 0;
  return clampValue(wholeNumber(text(), value) ? value : min_);
}

void TSpinEdit::setValue(int value) { setText(QString::number(clampValue(value))); }

void TSpinEdit::stepBy(int direction) { setValue(Value() + direction * increment_); }

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  if (typed.size() == 1 && typed[0] >= QLatin1Char(' ') && !spinEditAccepts(typed[0])) {
    event->ignore();
    return;
  }
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    stepBy(event->key() == Qt::Key_Up ? +1 : -1);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  setValue(Value());
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int w = 15, h = height() / 2;
  up_->setGeometry(width() - w, 0, w, h);
  down_->setGeometry(width() - w, h, w, height() - h);
  setTextMargins(0, 0, w, 0);
}

TBitBtn::TBitBtn(QWidget* parent, const QString& caption, Kind kind) : QPushButton(caption, parent) {
  if (kind == Kind::OK) setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  if (kind == Kind::Cancel) setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
}

void TBitBtn::setGlyph(const QPixmap& normal, const QPixmap& disabled) {
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(disabled, QIcon::Disabled);
  setIcon(icon);
  setIconSize(normal.size());
}
