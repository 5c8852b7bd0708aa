#pragma once
// Whether the texts of a window show whole in their controls, measured with
// the controls' own fonts against the room the style leaves them.
#include <QList>
#include <QStringList>

class QWidget;

// A text the program writes into a control later than the window shows it.
struct LaterText {
  QWidget* control;
  QString text;
};

// One line for each text that its control cuts off (the text of every
// control of `window`, and each of `later`), for each label that reaches
// beyond its parent or onto a control beside it, and for each font whose
// family is missing (a stand-in's widths would prove nothing).
QStringList textsCutOff(QWidget& window, const QList<LaterText>& later = {});
