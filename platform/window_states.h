#pragma once
// The program's windows have no taskbar entry and no place to be restored
// from: a window the window manager minimises would be lost, and a modal one
// would leave the program waiting on a window nobody sees.
class QApplication;

// From here on every window of `app` that is minimised, maximised or made
// full-screen is given back its normal state, shown, at once.
void keepWindowsNormal(QApplication& app);
