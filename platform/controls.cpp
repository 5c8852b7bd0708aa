#include "platform/controls.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

QFont pixelFont(const QString& family, int pixels, bool bold) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

TTimer::TTimer(QObject* parent, int interval) : QObject(parent), timer_(this) {
  timer_.setInterval(interval);
  connect(&timer_, &QTimer::timeout, this, &TTimer::OnTimer);
}

void TTimer::setEnabled(bool on) {
  if (on == timer_.isActive()) return;
  if (on) {
    timer_.start();
    emit PeriodStarted();
  } else {
    timer_.stop();
  }
}

void TTimer::setInterval(int ms) {
  timer_.setInterval(ms);
  if (timer_.isActive()) {
    timer_.start();
    emit PeriodStarted();
  }
}

TSpeedButton::TSpeedButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(false);
  setFocusPolicy(Qt::NoFocus);
  setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TSpeedButton::setGlyph(const QPixmap& normal, const QPixmap& disabled) {
  QIcon icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(disabled, QIcon::Disabled);
  setIcon(icon);
  setIconSize(normal.size());
  if (!text().isEmpty()) setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void TSpeedButton::mousePressEvent(QMouseEvent* event) {
  // The button goes down first: a handler that runs a move serves the release
  // inside it, which must find the button down to bring it up again.
  QToolButton::mousePressEvent(event);
  if (isEnabled()) emit OnMouseDown(event->button());
}

void TSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a press of its own.
  mousePressEvent(event);
}

TLabel::TLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

void TLabel::setFontColor(TColor colour) {
  fontColor_ = colour;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, toQColor(colour));
  setPalette(p);
}

TLabeledEdit::TLabeledEdit(QWidget* parent, const QString& label, LabelPosition where)
    : QLineEdit(parent), label_(new QLabel(label, parent)), where_(where) {
  setColor(clWindow);
}

void TLabeledEdit::setText(const QString& text) {
  QLineEdit::setText(text);
  setCursorPosition(0);
}

void TLabeledEdit::setLabelText(const QString& caption) {
  label_->setText(caption);
  label_->adjustSize();
}

void TLabeledEdit::setColor(TColor colour) {
  color_ = colour;
  QPalette p = palette();
  p.setColor(QPalette::Base, toQColor(colour));
  setPalette(p);
}

void TLabeledEdit::place(int left, int top, int width, int height) {
  setGeometry(left, top, width, height);
  label_->adjustSize();
  if (where_ == LabelPosition::Above)
    label_->move(left, top - label_->height() - 1);
  else
    label_->move(left - label_->width() - 3, top + (height - label_->height()) / 2);
}

void TLabeledEdit::setVisibleWithLabel(bool visible) {
  setVisible(visible);
  label_->setVisible(visible);
}

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::setBrushColor(TColor colour) {
  brush_ = colour;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(toQColor(brush_));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::setPicture(const QImage& image) {
  picture_ = image;
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter p(this);
  if (Stretch) {
    p.drawImage(rect(), picture_);
  } else if (Center) {
    p.drawImage(QPoint((width() - picture_.width()) / 2, (height() - picture_.height()) / 2), picture_);
  } else {
    p.drawImage(QPoint(0, 0), picture_);
  }
}

int gaugePercent(int minValue, int maxValue, int progress) {
  const double span = double(maxValue) - double(minValue);
  if (span == 0) return 0;
  return static_cast<int>((double(progress) - double(minValue)) * 100.0 / span);
}

TGauge::TGauge(QWidget* parent) : QWidget(parent) {}

void TGauge::setRange(int minValue, int maxValue) {
  min_ = minValue;
  max_ = std::max(minValue, maxValue);
  progress_ = std::clamp(progress_, min_, max_);
  update();
}

void TGauge::setProgress(int value) {
  progress_ = std::clamp(value, min_, max_);
  update();
}

int TGauge::PercentDone() const { return gaugePercent(min_, max_, progress_); }

void TGauge::setForeColor(TColor c) {
  fore_ = c;
  update();
}

void TGauge::setBackColor(TColor c) {
  back_ = c;
  update();
}

void TGauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), toQColor(back_));
  const int filled = width() * PercentDone() / 100;
  p.fillRect(QRect(0, 0, filled, height()), toQColor(fore_));
  // The percentage reads in the background colour over the filled part.
  p.setPen(toQColor(fore_));
  p.drawText(rect(), Qt::AlignCenter, text());
  p.setClipRect(QRect(0, 0, filled, height()));
  p.setPen(toQColor(back_));
  p.drawText(rect(), Qt::AlignCenter, text());
}

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
  // Only the program writes its lines; the user reads, selects and copies them.
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setTabChangesFocus(true);
  // Never by Tab: a log hidden below the shown area would take the keys unseen.
  setFocusPolicy(Qt::ClickFocus);
}

void TMemo::Add(const QString& line) {
  appendPlainText(line);
  hasLines_ = true;
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList TMemo::Lines() const {
  return hasLines_ || !toPlainText().isEmpty() ? toPlainText().split(QLatin1Char('\n')) : QStringList();
}
