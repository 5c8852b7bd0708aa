// Prints the names of the managed windows from bottom to top, as the window
// manager stacks them (_NET_CLIENT_LIST_STACKING), one per line; with -i,
// their ids instead.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  const bool ids = argc > 1 && std::strcmp(argv[1], "-i") == 0;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const Atom stacking = XInternAtom(d, "_NET_CLIENT_LIST_STACKING", True);
  if (stacking == None) return 1;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(d, DefaultRootWindow(d), stacking, 0, 1024, False, XA_WINDOW, &type, &format, &count,
                         &after, &data) != Success || !data)
    return 1;
  const Window* windows = reinterpret_cast<Window*>(data);
  for (unsigned long i = 0; i < count; ++i) {
    if (ids) {
      std::printf("%lu\n", windows[i]);
      continue;
    }
    char* name = nullptr;
    if (XFetchName(d, windows[i], &name) && name) {
      std::printf("%s\n", name);
      XFree(name);
    }
  }
  XFree(data);
  XCloseDisplay(d);
  return 0;
}
