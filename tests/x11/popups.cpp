// Prints the ids of the pop-ups a program shows, such as the list of a combo
// box, which takes every click until it closes: the windows of the class given
// that are mapped without the window manager (override-redirect) and are no
// tooltips. Prints nothing when none is open.
//   popups CLASS
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

namespace {

bool hasType(Display* d, Window w, Atom wanted) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom types = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
  if (XGetWindowProperty(d, w, types, 0, 16, False, XA_ATOM, &actual, &format, &count, &after, &data) != Success ||
      !data)
    return false;
  bool found = false;
  for (unsigned long i = 0; i < count; ++i) found = found || reinterpret_cast<Atom*>(data)[i] == wanted;
  XFree(data);
  return found;
}

bool ofClass(Display* d, Window w, const char* name) {
  XClassHint hint{};
  if (!XGetClassHint(d, w, &hint)) return false;
  const bool same = (hint.res_name && std::strcmp(hint.res_name, name) == 0) ||
                    (hint.res_class && std::strcmp(hint.res_class, name) == 0);
  XFree(hint.res_name);
  XFree(hint.res_class);
  return same;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  // A window may go between the listing and the questions about it.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const Atom tooltip = XInternAtom(d, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);
  Window root = None, parent = None, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return 1;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, children[i], &a) || !a.override_redirect || a.map_state != IsViewable) continue;
    if (ofClass(d, children[i], argv[1]) && !hasType(d, children[i], tooltip)) std::printf("%lu\n", children[i]);
  }
  if (children) XFree(children);
  XCloseDisplay(d);
  return 0;
}
