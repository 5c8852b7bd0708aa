#pragma once
// Star picking: the test of the cursor against the main window.
#include <QPoint>
#include <QRect>

// Whether `p` lies on the window whose outer rectangle (border and caption
// included) is `outer`, counting one pixel past its right and bottom edges.
bool pointDansFenetre(QPoint p, const QRect& outer);
