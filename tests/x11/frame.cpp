// Prints where the window manager's frame of a window stands and the size of
// the window inside it: "left top width height clientwidth clientheight". The
// frame is the window's ancestor that is a child of the root window.
//   frame WINDOW
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window gone: told by the results below
  const Window client = std::strtoul(argv[1], nullptr, 0);
  Window frame = client, root = None, parent = None, *children = nullptr;
  unsigned count = 0;
  bool found = false;
  while (XQueryTree(d, frame, &root, &parent, &children, &count)) {
    if (children) XFree(children);
    if (parent == root) {
      found = true;
      break;
    }
    frame = parent;
  }
  XWindowAttributes outer, inner;
  const bool known = found && XGetWindowAttributes(d, frame, &outer) && XGetWindowAttributes(d, client, &inner);
  if (known) {
    const int border = 2 * outer.border_width;  // the frame's own border lies outside its size
    std::printf("%d %d %d %d %d %d\n", outer.x, outer.y, outer.width + border, outer.height + border, inner.width,
                inner.height);
  }
  XCloseDisplay(d);
  return known ? 0 : 1;
}
