#pragma once
// Where a window stands on the screens it has now.
#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

// The top-left corner for a window whose outer frame, of size `frame`, would
// stand at `corner`, on screens whose available areas are `screens`: the least
// move that puts the whole frame on the screen that shows the most of it (the
// nearest when none shows any), its top-left part when the frame is larger
// than that screen. A stored corner may be any integer: the frame's far edges
// are computed beyond the range of int.
QPoint placeOnScreen(QPoint corner, QSize frame, const QList<QRect>& screens);

// Puts `window`, about to open, in the middle of the screen of the window it
// opens from (`openerWindow`), wherever it was shown last: the user looks
// where the opener is.
void centreOnOpenerScreen(QWidget& window);
