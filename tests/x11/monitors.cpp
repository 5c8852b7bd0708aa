// Splits the X screen into monitors, as two screens side by side show it:
// each WIDTHxHEIGHT+X+Y given becomes one RandR monitor, the first the
// primary. Xvfb draws one screen, and its Xinerama heads would all lie at 0,0.
// The first monitor takes the screen's output, so the monitor that the server
// makes of that output over the whole screen gives way.
//   monitors GEOMETRY...
#include <cstdio>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/extensions/randrproto.h>

namespace {

// Xlib's request macros name the display "dpy".

// The first output of the screen, or None.
CARD32 firstOutput(Display* dpy, int opcode, Window root) {
  LockDisplay(dpy);
  xRRGetScreenResourcesCurrentReq* req = nullptr;
  GetReq(RRGetScreenResourcesCurrent, req);
  req->reqType = opcode;
  req->randrReqType = X_RRGetScreenResourcesCurrent;
  req->window = root;
  xRRGetScreenResourcesCurrentReply reply;
  CARD32 output = None;
  if (_XReply(dpy, reinterpret_cast<xReply*>(&reply), 0, xFalse)) {
    std::vector<CARD32> data(reply.length);
    _XRead(dpy, reinterpret_cast<char*>(data.data()), reply.length * 4);
    if (reply.nOutputs > 0) output = data[reply.nCrtcs];  // the crtcs come first
  }
  UnlockDisplay(dpy);
  SyncHandle();
  return output;
}

void setMonitor(Display* dpy, int opcode, Window root, const std::string& name, bool primary, CARD32 output,
                int x, int y, unsigned width, unsigned height) {
  const Atom atom = XInternAtom(dpy, name.c_str(), False);  // before the lock, which it takes too
  LockDisplay(dpy);
  xRRSetMonitorReq* req = nullptr;
  GetReq(RRSetMonitor, req);
  req->reqType = opcode;
  req->randrReqType = X_RRSetMonitor;
  req->window = root;
  req->monitor.name = atom;
  req->monitor.primary = primary;
  req->monitor.automatic = False;
  req->monitor.noutput = output == None ? 0 : 1;
  req->monitor.x = x;
  req->monitor.y = y;
  req->monitor.width = width;
  req->monitor.height = height;
  req->monitor.widthInMillimeters = width / 4;  // about 100 pixels an inch
  req->monitor.heightInMillimeters = height / 4;
  if (output != None) {
    req->length += 1;
    const long value = output;  // Xlib packs its longs into 32 bits
    Data32(dpy, &value, 4);
  }
  UnlockDisplay(dpy);
  SyncHandle();
}

}  // namespace

int main(int argc, char** argv) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  int opcode = 0, event = 0, error = 0;
  if (!XQueryExtension(d, "RANDR", &opcode, &event, &error)) {
    std::fprintf(stderr, "no RandR\n");
    XCloseDisplay(d);
    return 1;
  }
  const Window root = DefaultRootWindow(d);
  const CARD32 output = firstOutput(d, opcode, root);
  for (int i = 1; i < argc; ++i) {
    unsigned width = 0, height = 0;
    int x = 0, y = 0;
    if (std::sscanf(argv[i], "%ux%u+%d+%d", &width, &height, &x, &y) != 4) {
      std::fprintf(stderr, "not a geometry: %s\n", argv[i]);
      XCloseDisplay(d);
      return 2;
    }
    setMonitor(d, opcode, root, "screen" + std::to_string(i), i == 1, i == 1 ? output : None, x, y, width, height);
  }
  XSync(d, False);
  XCloseDisplay(d);
  return 0;
}
