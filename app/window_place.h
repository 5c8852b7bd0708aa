#pragma once
// Where a stored window place puts the window, given the screens it has now.
#include <QList>
#include <QPoint>
#include <QRect>

// The title bar "shows" when a strip of it this many pixels wide (or the whole
// bar, when the window is narrower) and at least half its height lies on one
// screen: enough to take it with the mouse and drag the window.
inline constexpr int kTitleBarGrip = 40;

// The top-left corner for a window whose outer frame would be `frame`, its
// title bar `titleHeight` pixels high at its top, on screens whose available
// areas are `screens`: the stored corner unchanged while the title bar shows,
// otherwise the least move that puts the whole frame on the nearest screen
// (its top-left part, when the frame is larger than that screen).
QPoint placeShowingTitleBar(const QRect& frame, int titleHeight, const QList<QRect>& screens);
