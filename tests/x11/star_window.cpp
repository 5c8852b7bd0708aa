// A second program for the X11 tests: shows a known star picture in a window
// of its own, as a camera program would, and prints where the picture's
// top-left pixel lies on the screen once it is shown. Redraws on every expose.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "star_picture.h"

int main() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const int screen = DefaultScreen(d);
  const Window root = RootWindow(d, screen);
  const Window w = XCreateSimpleWindow(d, root, 100, 100, kStarPictureWidth, kStarPictureHeight, 0,
                                       BlackPixel(d, screen), BlackPixel(d, screen));
  XSizeHints hints{};
  hints.flags = USPosition | PPosition | PMinSize | PMaxSize;
  hints.x = 100;
  hints.y = 100;
  hints.min_width = hints.max_width = kStarPictureWidth;
  hints.min_height = hints.max_height = kStarPictureHeight;
  XSetWMNormalHints(d, w, &hints);
  XStoreName(d, w, "star");
  XSelectInput(d, w, ExposureMask);

  Visual* visual = DefaultVisual(d, screen);
  XImage* image = XCreateImage(d, visual, unsigned(DefaultDepth(d, screen)), ZPixmap, 0, nullptr,
                               kStarPictureWidth, kStarPictureHeight, 32, 0);
  image->data = static_cast<char*>(std::malloc(size_t(image->bytes_per_line) * kStarPictureHeight));
  for (int y = 0; y < kStarPictureHeight; ++y)
    for (int x = 0; x < kStarPictureWidth; ++x) {
      const unsigned long v = starPictureGrey(x, y);
      XPutPixel(image, x, y, (v << 16) | (v << 8) | v);
    }
  const GC gc = XCreateGC(d, w, 0, nullptr);

  XMapWindow(d, w);
  bool told = false;
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != Expose) continue;
    const XExposeEvent& x = e.xexpose;
    XPutImage(d, w, gc, image, x.x, x.y, x.x, x.y, unsigned(x.width), unsigned(x.height));
    XSync(d, False);
    if (!told) {
      int rx = 0, ry = 0;
      Window child;
      XTranslateCoordinates(d, w, root, 0, 0, &rx, &ry, &child);
      std::printf("%d %d\n", rx, ry);
      std::fflush(stdout);
      told = true;
    }
  }
}
