// Prints a digest of the pixels of a rectangle of a window, or "blank" when
// they are all of one colour, for the X11 tests to see a display change:
//   window_pixels WINDOW X Y WIDTH HEIGHT
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 6) return 2;
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const Window w = std::strtoul(argv[1], nullptr, 0);
  const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
  const unsigned width = unsigned(std::atoi(argv[4])), height = unsigned(std::atoi(argv[5]));
  XImage* image = XGetImage(d, w, x, y, width, height, AllPlanes, ZPixmap);
  if (!image) return 1;
  uint64_t digest = 1469598103934665603u;  // FNV-1a
  const unsigned long first = XGetPixel(image, 0, 0);
  bool blank = true;
  for (unsigned j = 0; j < height; ++j)
    for (unsigned i = 0; i < width; ++i) {
      const unsigned long pixel = XGetPixel(image, int(i), int(j));
      blank = blank && pixel == first;
      digest = (digest ^ pixel) * 1099511628211u;
    }
  if (blank)
    std::printf("blank\n");
  else
    std::printf("%016llx\n", static_cast<unsigned long long>(digest));
  XDestroyImage(image);
  XCloseDisplay(d);
  return 0;
}
