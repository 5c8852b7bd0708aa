#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <QWindow>
#include <bit>
#include <set>
#include <vector>

#include "platform/desktop_x11.h"

// Xlib's headers come after Qt's: their macros clash with Qt names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Xlib's default error handler ends the process; a capture or a frame that
// the server refuses must cost at most that one picture or frame.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// One channel of a TrueColor visual: where its bits lie in a pixel value.
struct Channel {
  unsigned long mask;
  int shift;
  int bits;
  explicit Channel(unsigned long m)
      : mask(m), shift(m ? std::countr_zero(m) : 0), bits(std::popcount(m)) {}
  int value(unsigned long pixel) const {
    if (bits == 0) return 0;
    const unsigned long v = (pixel & mask) >> shift;
    return bits == 8 ? int(v) : int(v * 255 / ((1ul << bits) - 1));
  }
};

class X11Desktop;

class X11DC : public DesktopDC {
 public:
  explicit X11DC(X11Desktop& desk) : desk_(desk) {}
  QImage copy(const QRect& r) override;
  QRect onScreen(const QRect& r) override;
  void paste(const QImage& block, QPoint topLeft) override;
  void frameRect(const QRect& r, QColor colour) override;

 private:
  X11Desktop& desk_;
};

// The screen of the X server. Under a compositor nothing drawn straight onto
// the root window is seen, so each line of a frame is a small window of its
// own, red, left alone by the window manager, above every other program's
// window but beneath this program's own. Putting a saved block back takes
// away every line drawn since (the frame is the program's only drawing); the
// repaint takes them all away too and has every window redraw itself.
class X11Desktop : public Desktop {
 public:
  X11Desktop() : display_(XOpenDisplay(nullptr)) {
    if (!display_) return;
    XSetErrorHandler(ignoreXError);
    const int screen = DefaultScreen(display_);
    root_ = RootWindow(display_, screen);
    depth_ = DefaultDepth(display_, screen);
    const Visual* visual = DefaultVisual(display_, screen);
    red_ = Channel(visual->red_mask);
    green_ = Channel(visual->green_mask);
    blue_ = Channel(visual->blue_mask);
    XGCValues values{};
    values.subwindow_mode = IncludeInferiors;  // read what other programs' windows show
    values.graphics_exposures = False;         // nothing reads the events it would queue
    gc_ = XCreateGC(display_, root_, GCSubwindowMode | GCGraphicsExposures, &values);
  }

  ~X11Desktop() override {
    if (!display_) return;
    for (const Segment& s : segments_) XDestroyWindow(display_, s.window);
    XFreeGC(display_, gc_);
    XCloseDisplay(display_);
  }

  std::unique_ptr<DesktopDC> GetWindowDC() override { return std::make_unique<X11DC>(*this); }

  void repaint() override {
    if (!display_) return;
    takeAwayAll();
    // A window over the whole screen that draws nothing, mapped and taken away
    // again, makes every window beneath it redraw.
    const QRect all = screenRect();
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixmap = None;
    const Window cover = XCreateWindow(display_, root_, 0, 0, unsigned(all.width()), unsigned(all.height()), 0,
                                       CopyFromParent, InputOutput, CopyFromParent,
                                       CWOverrideRedirect | CWBackPixmap, &a);
    XMapRaised(display_, cover);
    XSync(display_, False);
    XUnmapWindow(display_, cover);
    XDestroyWindow(display_, cover);
    XSync(display_, False);
  }

  QPoint GetCursorPos() override { return pointer().first; }
  bool leftButtonDown() override { return pointer().second & Button1Mask; }

  QRect frameOnScreen(const QWidget* window) override {
    const QWindow* handle = window->windowHandle();
    if (!display_ || !handle || !handle->handle()) return window->frameGeometry();
    // The window manager's frame is a child of the root, so its place is in
    // screen coordinates.
    const Window frame = topAncestor(Window(handle->winId()));
    XWindowAttributes a{};
    if (!frame || !XGetWindowAttributes(display_, frame, &a)) return window->frameGeometry();
    return QRect(a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width);
  }

  void bringToFront(QWidget* window) override {
    if (!window) return;
    window->raise();
    window->activateWindow();
    if (!display_) return;
    // Asked as a pager asks, which window managers grant even to a program
    // that does not have the focus.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = Window(window->winId());
    e.xclient.message_type = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2;
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(display_);
  }

  // The pixels shown in `r`; those beyond the screen come out black.
  QImage capture(const QRect& r) {
    QImage out(std::max(r.width(), 0), std::max(r.height(), 0), QImage::Format_RGB32);
    out.fill(Qt::black);
    if (!display_ || out.isNull()) return out;
    const QRect part = r & screenRect();
    if (part.isEmpty()) return out;
    const unsigned w = unsigned(part.width()), h = unsigned(part.height());
    const Pixmap pixmap = XCreatePixmap(display_, root_, w, h, unsigned(depth_));
    XCopyArea(display_, root_, pixmap, gc_, part.x(), part.y(), w, h, 0, 0);
    XImage* image = XGetImage(display_, pixmap, 0, 0, w, h, AllPlanes, ZPixmap);
    XFreePixmap(display_, pixmap);
    if (!image) return out;
    const QPoint at = part.topLeft() - r.topLeft();
    for (int y = 0; y < int(h); ++y) {
      auto* line = reinterpret_cast<QRgb*>(out.scanLine(at.y() + y));
      for (int x = 0; x < int(w); ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        line[at.x() + x] = qRgb(red_.value(p), green_.value(p), blue_.value(p));
      }
    }
    XDestroyImage(image);
    return out;
  }

  QRect onScreen(const QRect& r) const { return display_ ? r & screenRect() : QRect(); }

  // Takes away every frame line.
  void takeAwayAll() {
    if (!display_ || segments_.empty()) return;
    for (const Segment& s : segments_) XDestroyWindow(display_, s.window);
    segments_.clear();
    XSync(display_, False);
  }

  // A one-pixel outline along the inner border of `r`, as four lines.
  void outline(const QRect& r, QColor colour) {
    if (!display_ || r.width() <= 0 || r.height() <= 0) return;
    const unsigned long pixel = pixelOf(colour);
    const QRect lines[] = {
        QRect(r.left(), r.top(), r.width(), 1),
        QRect(r.left(), r.bottom(), r.width(), 1),
        QRect(r.left(), r.top() + 1, 1, r.height() - 2),
        QRect(r.right(), r.top() + 1, 1, r.height() - 2),
    };
    const QRect screen = screenRect();
    for (const QRect& line : lines) addSegment(line & screen, pixel);
    stackBeneathOwnWindows();
    XSync(display_, False);
  }

 private:
  struct Segment {
    QRect rect;
    unsigned long pixel;
    Window window;
  };

  // A line already shown is kept rather than doubled, since each measurement
  // frames the same square anew.
  void addSegment(const QRect& rect, unsigned long pixel) {
    if (rect.isEmpty()) return;
    for (const Segment& s : segments_)
      if (s.rect == rect && s.pixel == pixel) return;
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = pixel;
    const Window w = XCreateWindow(display_, root_, rect.x(), rect.y(), unsigned(rect.width()),
                                   unsigned(rect.height()), 0, CopyFromParent, InputOutput, CopyFromParent,
                                   CWOverrideRedirect | CWBackPixel, &a);
    XMapWindow(display_, w);
    segments_.push_back({rect, pixel, w});
  }

  // The child of the root that holds `w`: the window manager's frame around
  // it, or the window itself.
  Window topAncestor(Window w) const {
    for (;;) {
      Window root = 0, parent = 0, *children = nullptr;
      unsigned n = 0;
      if (!XQueryTree(display_, w, &root, &parent, &children, &n)) return 0;
      if (children) XFree(children);
      if (parent == root_ || parent == 0) return w;
      w = parent;
    }
  }

  // The lines go right beneath the program's own windows that stand at the
  // top of the stack (the main window, the settings dialog, a box), so they
  // cover the other programs' windows but none of the program's own.
  void stackBeneathOwnWindows() {
    if (segments_.empty()) return;
    std::set<Window> own;
    for (QWindow* window : QGuiApplication::topLevelWindows())
      if (window->isVisible() && window->handle()) own.insert(topAncestor(Window(window->winId())));
    std::set<Window> lines;
    for (const Segment& s : segments_) lines.insert(s.window);

    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(display_, root_, &root, &parent, &children, &n)) return;
    const QRect screen = screenRect();
    Window lowestOwn = 0;
    for (unsigned i = n; i-- > 0;) {
      const Window w = children[i];
      if (lines.count(w)) continue;
      XWindowAttributes a{};
      if (!XGetWindowAttributes(display_, w, &a) || a.map_state != IsViewable || a.c_class == InputOnly) continue;
      if (!screen.intersects(QRect(a.x, a.y, a.width, a.height))) continue;  // shown nowhere
      if (!own.count(w)) break;
      lowestOwn = w;
    }
    if (children) XFree(children);

    std::vector<Window> order;
    if (lowestOwn) order.push_back(lowestOwn);
    for (const Segment& s : segments_) order.push_back(s.window);
    if (!lowestOwn) XRaiseWindow(display_, order.front());
    XRestackWindows(display_, order.data(), int(order.size()));
  }

  unsigned long pixelOf(QColor colour) const {
    auto scale = [](int v, const Channel& c) {
      if (c.bits == 0) return 0ul;
      return ((static_cast<unsigned long>(v) * ((1ul << c.bits) - 1) / 255) << c.shift) & c.mask;
    };
    return scale(colour.red(), red_) | scale(colour.green(), green_) | scale(colour.blue(), blue_);
  }

  QRect screenRect() const {
    Window root;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, depth = 0;
    if (!XGetGeometry(display_, root_, &root, &x, &y, &w, &h, &border, &depth)) return {};
    return QRect(0, 0, int(w), int(h));
  }

  std::pair<QPoint, unsigned> pointer() {
    if (!display_) return {{}, 0};
    Window root, child;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(display_, root_, &root, &child, &rx, &ry, &wx, &wy, &mask);
    return {QPoint(rx, ry), mask};
  }

  Display* display_;
  Window root_ = 0;
  int depth_ = 24;
  Channel red_{0}, green_{0}, blue_{0};
  GC gc_ = nullptr;
  std::vector<Segment> segments_;
};

QImage X11DC::copy(const QRect& r) { return desk_.capture(r); }
QRect X11DC::onScreen(const QRect& r) { return desk_.onScreen(r); }
void X11DC::paste(const QImage&, QPoint) { desk_.takeAwayAll(); }
void X11DC::frameRect(const QRect& r, QColor colour) { desk_.outline(r, colour); }

}  // namespace

std::unique_ptr<Desktop> makeX11Desktop() { return std::make_unique<X11Desktop>(); }
