// Asks the window manager to minimise a window, as its title bar's button
// does, then waits: exits 0 once the window manager has changed the window's
// state and the window is back in its normal state, whole on the screen; 1
// when it is not back after the seconds given; 2 when its state never changed.
//   minimise WINDOW SECONDS
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/select.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool normalState(Display* d, Window w, Atom wmState) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool normal = XGetWindowProperty(d, w, wmState, 0, 2, False, wmState, &type, &format, &count, &after,
                                         &data) == Success &&
                      data && count > 0 && reinterpret_cast<long*>(data)[0] == NormalState;
  if (data) XFree(data);
  return normal;
}

// The window is mapped and the window manager's frame, which it grows back
// from the title bar once it has mapped the window, holds it whole: a click
// before that lands beside it.
bool whole(Display* d, Window w, Window frame) {
  XWindowAttributes a{}, f{};
  return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && XGetWindowAttributes(d, frame, &f) &&
         f.width >= a.width && f.height >= a.height;
}

}  // namespace

int main(int argc, char** argv) {
  Display* d = argc == 3 ? XOpenDisplay(nullptr) : nullptr;
  if (!d) return 3;
  const Window w = std::strtoul(argv[1], nullptr, 0);
  const Atom wmState = XInternAtom(d, "WM_STATE", False);
  Window root = None, frame = None, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(d, w, &root, &frame, &children, &count)) {
    XCloseDisplay(d);
    return 3;
  }
  if (children) XFree(children);
  XSelectInput(d, w, PropertyChangeMask | StructureNotifyMask);
  XSelectInput(d, frame, StructureNotifyMask);
  XIconifyWindow(d, w, DefaultScreen(d));
  XFlush(d);
  bool changed = false;
  timeval left{std::atoi(argv[2]), 0};
  fd_set fds;
  do {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      changed = changed || (e.type == PropertyNotify && e.xproperty.atom == wmState);
      if (changed && normalState(d, w, wmState) && whole(d, w, frame)) {
        XCloseDisplay(d);
        return 0;
      }
    }
    FD_ZERO(&fds);
    FD_SET(ConnectionNumber(d), &fds);
  } while (select(ConnectionNumber(d) + 1, &fds, nullptr, nullptr, &left) > 0);
  XCloseDisplay(d);
  std::printf("%s\n", changed ? "still minimised" : "never minimised");
  return changed ? 1 : 2;
}
