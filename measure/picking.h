#pragma once
// Star picking: the test of the cursor against the program's windows.
#include <QPoint>
#include <QRect>

class Desktop;

// Whether `p` lies on the window whose outer rectangle (border and caption
// included) is `outer`, counting one pixel past its right and bottom edges.
bool pointDansFenetre(QPoint p, const QRect& outer);

// Whether `p` lies on one of the program's windows (the main window, the
// settings dialog, a box, a prompt) where `desktop` shows them now, by the
// same test: a press there is a click on the program, never a pick.
bool pointSurLeProgramme(QPoint p, Desktop& desktop);
