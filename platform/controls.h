#pragma once
// The window framework's controls that Qt has no exact match for, with the
// properties the program sets on them.
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "platform/colors.h"

// The families that stand in for the framework's fonts: the windows' sans
// serif with Arial's widths, for which their layout was drawn; its narrow cut,
// for a text too long for its control in those widths; and a broad sans serif
// in Verdana's manner.
inline const QString kSansFamily = QStringLiteral("Liberation Sans");
inline const QString kNarrowSansFamily = QStringLiteral("Liberation Sans Narrow");
inline const QString kBroadSansFamily = QStringLiteral("DejaVu Sans");
QFont pixelFont(const QString& family, int pixels, bool bold = false);

// A timer that is on or off; switching it on starts a whole new period,
// switching on a timer that runs changes nothing.
class TTimer : public QObject {
  Q_OBJECT
 public:
  explicit TTimer(QObject* parent, int interval);
  bool Enabled() const { return timer_.isActive(); }
  void setEnabled(bool on);
  int Interval() const { return timer_.interval(); }
  void setInterval(int ms);

 signals:
  void OnTimer();
  // A new period begins: the timer was switched on, or its interval changed
  // while it runs. Tests that run the timers on virtual time follow this.
  void PeriodStarted();

 private:
  QTimer timer_;  // its child, so that a test can tell its ticks from other timers'
};

// A flat button with a glyph of two images, normal and disabled, and an
// optional caption. OnMouseDown comes on the press of any mouse button.
class TSpeedButton : public QToolButton {
  Q_OBJECT
 public:
  explicit TSpeedButton(QWidget* parent);
  void setGlyph(const QPixmap& normal, const QPixmap& disabled);

 signals:
  void OnMouseDown(Qt::MouseButton button);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A label whose font colour is set as a framework colour.
class TLabel : public QLabel {
  Q_OBJECT
 public:
  TLabel(const QString& caption, QWidget* parent);
  TColor FontColor() const { return fontColor_; }
  void setFontColor(TColor colour);

 private:
  TColor fontColor_ = clBlack;
};

// An edit with its own label, on its left or above it, and a background colour.
class TLabeledEdit : public QLineEdit {
  Q_OBJECT
 public:
  enum class LabelPosition { Left, Above };
  TLabeledEdit(QWidget* parent, const QString& label, LabelPosition where);
  QLabel* EditLabel() const { return label_; }
  // The label's caption; the label grows to show it whole.
  void setLabelText(const QString& caption);
  // A text longer than the box shows from its start, as a name is read (the
  // edit's own setText puts the cursor, and so the view, at the end).
  void setText(const QString& text);
  TColor Color() const { return color_; }
  void setColor(TColor colour);
  // Places the edit and its label together.
  void place(int left, int top, int width, int height);
  void setVisibleWithLabel(bool visible);

 private:
  QLabel* label_;
  LabelPosition where_;
  TColor color_ = clWindow;
};

// A filled rectangle with a black one-pixel pen.
class TShape : public QWidget {
  Q_OBJECT
 public:
  explicit TShape(QWidget* parent);
  TColor BrushColor() const { return brush_; }
  void setBrushColor(TColor colour);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  TColor brush_ = clWhite;
};

// An image control: a picture shown centred or stretched to the control.
class TImage : public QWidget {
  Q_OBJECT
 public:
  explicit TImage(QWidget* parent);
  QImage& Picture() { return picture_; }
  const QImage& Picture() const { return picture_; }
  void setPicture(const QImage& image);
  bool Center = false;
  bool Stretch = false;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage picture_;
};

// A horizontal bar gauge that shows its percentage in its middle.
class TGauge : public QWidget {
  Q_OBJECT
 public:
  explicit TGauge(QWidget* parent);
  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  int Progress() const { return progress_; }
  // Sets both ends at once; the progress is kept within them.
  void setRange(int minValue, int maxValue);
  // Brought within the range.
  void setProgress(int value);
  int PercentDone() const;
  TColor ForeColor() const { return fore_; }
  TColor BackColor() const { return back_; }
  void setForeColor(TColor c);
  void setBackColor(TColor c);
  // The text shown in the middle, "37%".
  QString text() const { return QString::number(PercentDone()) + QLatin1Char('%'); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int min_ = 0, max_ = 100, progress_ = 0;
  TColor fore_ = clBlack, back_ = clWhite;
};

// The whole part of 100 x done / span; 0 for a span of 0.
int gaugePercent(int minValue, int maxValue, int progress);

// A memo: lines of text added at its end by the program, which the user can
// select and copy but not change; it takes the focus by a click only.
class TMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TMemo(QWidget* parent);
  void Add(const QString& line);
  QStringList Lines() const;

 private:
  bool hasLines_ = false;  // an empty memo and one empty line look alike to the editor
};
