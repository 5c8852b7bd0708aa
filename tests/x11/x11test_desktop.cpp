// The X11 desktop layer under a private Xvfb with a window manager, against a
// second program that shows a known star picture: captures, frames, frame
// moves and the repaint, checked by reading the screen back.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "autofocus/launcher.h"
#include "measure/frame.h"
#include "measure/fwhm.h"
#include "star_picture.h"
#include "platform/clock_system.h"
#include "platform/event_pump_qt.h"
#include "platform/desktop_x11.h"
#include "platform/dialogs_qt.h"

// Xlib's headers come after Qt's.
#include <X11/Xlib.h>

namespace {

const QRgb kRed = qRgb(255, 0, 0);

void xdotool(const QStringList& args) { ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0) << args.join(' ').toStdString(); }

struct OnX11 : ::testing::Test {
  TestPlatform p;
  std::unique_ptr<Desktop> desktop = makeX11Desktop();
  SystemClock clock;
  QtEventPump pump;
  std::unique_ptr<PlatformServices> services;
  std::unique_ptr<TApplication> application;
  std::unique_ptr<TForm1> form;
  QProcess helper;
  QPoint picture;  // screen place of the star picture's top-left pixel
  QPoint star;     // screen place of the star's centre

  void SetUp() override {
    helper.start(QStringLiteral(STAR_WINDOW), {});
    ASSERT_TRUE(helper.waitForReadyRead(10000));
    const QStringList xy = QString::fromLatin1(helper.readLine()).split(' ');
    picture = QPoint(xy.value(0).toInt(), xy.value(1).trimmed().toInt());
    star = picture + QPoint(kStarX, kStarY);

    services = std::make_unique<PlatformServices>(
        PlatformServices{*desktop, clock, p.dialogs, p.com, p.registry, *p.version, p.services->programFolder});
    application = std::make_unique<TApplication>(pump, p.dialogs);
    Application = application.get();
    form = std::make_unique<TForm1>(*services);
    Form1 = form.get();
    form->FormCreate();
    form->show();
    form->xTaille = 30;
    ASSERT_TRUE(waitUntil([this] { return form->windowHandle() && form->windowHandle()->isExposed(); }));
  }

  void TearDown() override {
    xCanvasBureau.reset();
    form.reset();
    Application = p.application.get();
    helper.kill();
    helper.waitForFinished();
  }

  void serve(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) pump.WaitForEvents(10);
  }

  // Serves events until `condition` holds, for at most 30 seconds.
  bool waitUntil(const std::function<bool()>& condition) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
      if (t.elapsed() > 30000) return false;
      serve(20);
    }
    return true;
  }

  QImage screenNow() { return desktop->GetWindowDC()->copy(QRect(QPoint(0, 0), form->screen()->size())); }

  // The screen once every window has redrawn what was exposed.
  QImage settled() {
    QImage last = screenNow();
    for (int i = 0; i < 100; ++i) {
      serve(30);
      QImage now = screenNow();
      if (now == last) return now;
      last = now;
    }
    return last;
  }

  // Pixels that differ from `before` with one red outline of `frame` drawn on
  // it, outside the program's own window, whose readouts change as it measures.
  int differences(const QImage& before, const QImage& now, const QRect& frame) {
    const QRect own = form->frameGeometry().adjusted(-8, -8, 8, 8);
    int n = 0;
    for (int y = 0; y < now.height(); ++y)
      for (int x = 0; x < now.width(); ++x) {
        if (own.contains(x, y)) continue;
        const bool onFrame = frame.contains(x, y) && (x == frame.left() || x == frame.right() ||
                                                      y == frame.top() || y == frame.bottom());
        n += now.pixel(x, y) != (onFrame ? kRed : before.pixel(x, y));
      }
    return n;
  }

  bool buttonBecomes(bool down) {
    return waitUntil([&] { return desktop->leftButtonDown() == down; });
  }
};

}  // namespace

TEST_F(OnX11, ACaptureReadsWhatTheOtherProgramShows) {
  settled();
  const QImage square = desktop->GetWindowDC()->copy(QRect(star - QPoint(15, 15), QSize(30, 30)));
  int wrong = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const int v = starPictureGrey(kStarX - 15 + x, kStarY - 15 + y);
      wrong += square.pixel(x, y) != qRgb(v, v, v);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_NEAR(mesureEtoile(square, 30).fwhm, 5.171, 0.001);
}

TEST_F(OnX11, PickingFramesTheStarMovesTheFrameWithoutTracesAndUntickingErasesIt) {
  // The other program is active while the user presses on its picture, and
  // its window manager's decoration shows it.
  xdotool({QStringLiteral("mousemove"), QString::number(star.x()), QString::number(star.y()), QStringLiteral("click"),
           QStringLiteral("1")});
  const QImage before = settled();
  form->CheckBox1->setChecked(true);
  form->TimerSouris->setEnabled(false);  // the test gives the ticks

  xdotool({QStringLiteral("mousemove"), QString::number(star.x()), QString::number(star.y())});
  xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
  ASSERT_TRUE(buttonBecomes(true));
  EXPECT_EQ(desktop->GetCursorPos(), star);
  form->TimerSourisTimer();
  EXPECT_EQ(form->MemoLog->Lines().last(), QStringLiteral("  +-- fwhm = 5.17"));
  EXPECT_EQ(differences(before, settled(), QRect(star - QPoint(16, 16), QSize(32, 32))), 0);

  // Dragged by a few pixels, so the new frame overlaps the old.
  const QPoint moved = star + QPoint(7, 5);
  xdotool({QStringLiteral("mousemove"), QString::number(moved.x()), QString::number(moved.y())});
  form->TimerSourisTimer();
  EXPECT_EQ(differences(before, settled(), QRect(moved - QPoint(16, 16), QSize(32, 32))), 0);
  EXPECT_EQ(form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile")).size(), 2);

  xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
  EXPECT_TRUE(buttonBecomes(false));
  form->CheckBox1->setChecked(false);
  const QImage after = settled();
  EXPECT_EQ(differences(before, after, QRect()), 0);
}

// The box an autofocus that cannot start shows, wider than the main window and
// dragged clear of it: a press on its OK, held over a tick, is no pick.
TEST_F(OnX11, APressOnOneOfTheProgramsBoxesIsNoPick) {
  form->CheckBox1->setChecked(true);
  form->TimerSouris->setEnabled(false);  // the test gives the ticks
  const QPoint picked = star - QPoint(15, 15);
  OrigX = picked.x();
  OrigY = picked.y();
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    struct Closer {  // a failed step leaves no box waiting for a click
      QMessageBox* box;
      ~Closer() { box->reject(); }
    } closer{box};
    box->move(form->frameGeometry().right() + 40, form->frameGeometry().top());
    QAbstractButton* button = box->button(QMessageBox::Ok);
    QPoint ok;
    // The X server shows the button there, above every other window.
    ASSERT_TRUE(waitUntil([&] {
      ok = button->mapToGlobal(button->rect().center());
      return box->windowHandle()->isExposed() && QApplication::widgetAt(ok) == button;
    }));
    ASSERT_FALSE(form->frameGeometry().adjusted(0, 0, 1, 1).contains(ok));
    xdotool({QStringLiteral("mousemove"), QString::number(ok.x()), QString::number(ok.y()),
             QStringLiteral("mousedown"), QStringLiteral("1")});
    ASSERT_TRUE(buttonBecomes(true));
    form->TimerSourisTimer();
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    EXPECT_TRUE(waitUntil([&] { return !box->isVisible(); })) << "the click on OK did not close the box";
  });
  QtDialogs boxes;
  boxes.setOwner(form.get());
  const BoiteAutofocus b = boiteFinAutofocus(FinAutofocus::MoteurNonConnecte, false, false, 0.0);
  boxes.AscomMessageBox(b.texte, b.icone, b.titre);

  EXPECT_EQ(form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile")).size(), 0);
  EXPECT_EQ(QPoint(OrigX, OrigY), picked);
}

// The faint star picked with a 20-pixel square, then tracked with a 30-pixel
// one: it reads as with no frame ever drawn, and one frame stays, the new one.
TEST_F(OnX11, AFrameLeftAtAnotherSizeIsNeverMeasured) {
  const QImage before = settled();
  const QPoint faint = picture + QPoint(kFaintX, kFaintY);
  form->xTaille = 20;
  OrigX = faint.x() - 10;
  OrigY = faint.y() - 10;
  const double clean = mesureEtoile(before.copy(QRect(OrigX, OrigY, 30, 30)), 30).fwhm;
  DessineCadre(OrigX - 1, OrigY - 1, OrigX + 21, OrigY + 21, false);
  CalculeFWHM(false);
  form->xTaille = 30;
  EXPECT_DOUBLE_EQ(CalculeFWHM(false), clean);
  EXPECT_NEAR(clean, 5.171, 0.001);
  EXPECT_EQ(differences(before, settled(), QRect(OrigX - 1, OrigY - 1, 32, 32)), 0);
}

// A window of the program over part of the frame hides that part.
TEST_F(OnX11, TheFrameStaysBeneathTheProgramsOwnWindows) {
  QWidget own;
  own.setWindowTitle(QStringLiteral("Trevast - Paramétrage"));
  own.setGeometry(star.x() - 60, star.y() - 60, 80, 120);
  own.show();
  QElapsedTimer waited;
  waited.start();
  while (!own.isVisible() || own.frameGeometry().width() <= 80) {
    ASSERT_LT(waited.elapsed(), 10000) << "the window did not appear";
    serve(20);
  }
  const QImage before = settled();
  const QRect covered = own.frameGeometry();
  const QRect frame(covered.center() - QPoint(0, 20), QSize(covered.width(), 40));  // half under the window
  DessineRectangle(frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1, false);
  const QImage after = settled();
  int changed = 0;
  for (int y = covered.top(); y <= covered.bottom(); ++y)
    for (int x = covered.left(); x <= covered.right(); ++x) changed += after.pixel(x, y) != before.pixel(x, y);
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(after.pixel(frame.right(), frame.center().y()), kRed);
  RafraichitBureau();
}

TEST_F(OnX11, SquaresAtTheScreenCornersAreClampedAndErased) {
  const QImage before = settled();
  const QSize screen = form->screen()->size();
  for (QPoint corner : {QPoint(-10, -10), QPoint(screen.width() - 20, screen.height() - 20)}) {
    OrigX = corner.x();
    OrigY = corner.y();
    DessineCadre(OrigX - 1, OrigY - 1, OrigX + 31, OrigY + 31, false);
    CalculeFWHM(false);
    const QImage square = form->Image1->Picture();
    ASSERT_EQ(square.size(), QSize(30, 30));
    // Inside the screen the square is what is shown; beyond the edge, black.
    const QPoint inside = corner.x() < 0 ? QPoint(15, 15) : QPoint(5, 5);
    const QPoint beyond = corner.x() < 0 ? QPoint(5, 5) : QPoint(25, 25);
    EXPECT_EQ(square.pixel(inside), before.pixel(corner + inside));
    EXPECT_EQ(square.pixel(beyond), qRgb(0, 0, 0));
  }
  // Rectangles wholly off the screen, or far beyond what X coordinates hold.
  auto dc = desktop->GetWindowDC();
  EXPECT_EQ(dc->onScreen(QRect(-10, -10, 30, 30)), QRect(0, 0, 20, 20));
  EXPECT_TRUE(dc->onScreen(QRect(-100000, -100000, 3, 3)).isEmpty());
  EXPECT_EQ(dc->copy(QRect(-100000, -100000, 3, 3)).pixel(1, 1), qRgb(0, 0, 0));
  dc->frameRect(QRect(40000, 40000, 10, 10), Qt::red);
  dc->frameRect(QRect(5, 5, 0, 0), Qt::red);
  dc->paste(QImage(3, 3, QImage::Format_RGB32), QPoint(-70000, 70000));
  RafraichitBureau();
  EXPECT_EQ(differences(before, settled(), QRect()), 0);
}

TEST_F(OnX11, TheRepaintRedrawsTheWholeScreen) {
  const QImage before = settled();
  DessineRectangle(star.x() - 20, star.y() - 20, star.x() + 20, star.y() + 20, false);
  DessineRectangle(2, 2, 12, 12, false);
  EXPECT_GT(differences(before, settled(), QRect()), 0);
  RafraichitBureau();
  EXPECT_EQ(differences(before, settled(), QRect()), 0);
}

TEST_F(OnX11, BringingToFrontActivatesTheProgramsWindow) {
  const auto xdotoolSays = [](const QStringList& args) {
    QProcess q;
    q.start(QStringLiteral("xdotool"), args);
    q.waitForFinished();
    return QString::fromLatin1(q.readAllStandardOutput()).trimmed();
  };
  const auto active = [&] { return xdotoolSays({QStringLiteral("getactivewindow")}); };
  const QString starWindow = xdotoolSays({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^star$")});
  xdotool({QStringLiteral("mousemove"), QString::number(star.x()), QString::number(star.y()), QStringLiteral("click"),
           QStringLiteral("1")});
  ASSERT_TRUE(waitUntil([&] { return active() == starWindow; }));
  desktop->bringToFront(form.get());
  waitUntil([&] { return active() == QString::number(form->winId()); });
  EXPECT_EQ(active(), QString::number(form->winId()));
}

TEST_F(OnX11, AnXErrorDoesNotEndTheProgram) {
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  XDestroyWindow(d, 0x1fffffff);  // no such window
  XSync(d, False);
  XCloseDisplay(d);
  EXPECT_EQ(desktop->GetWindowDC()->copy(QRect(star, QSize(1, 1))).pixel(0, 0), qRgb(250, 250, 250));
}

// The main window dragged by its title bar about 100 pixels to the left, in
// steps, with picking on and its timer ticking: the press began on the
// program's window, so no tick of the drag picks, though the program learns
// the window's new place only after the window manager moved it.
TEST_F(OnX11, DraggingTheWindowByItsTitleBarPicksNothing) {
  int ticks = 0;
  QObject::connect(form->TimerSouris, &TTimer::OnTimer, [&] { ++ticks; });
  const auto shownLeft = [&] { return desktop->frameOnScreen(form.get()).left(); };
  // Below the other program's window, whose edges would hold the window back.
  form->move(700, 500);
  ASSERT_TRUE(waitUntil(
      [&] { return shownLeft() == 700 && desktop->frameOnScreen(form.get()) == form->frameGeometry(); }));
  form->CheckBox1->setChecked(true);
  const QRect frame = form->frameGeometry();
  const QPoint bar(frame.left() + 40, (frame.top() + form->geometry().top()) / 2);
  xdotool({QStringLiteral("mousemove"), QString::number(bar.x()), QString::number(bar.y()),
           QStringLiteral("mousedown"), QStringLiteral("1")});
  struct Release {  // a failed step leaves no button held
    ~Release() { QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")}); }
  } release;
  ASSERT_TRUE(buttonBecomes(true));
  // The first move starts the window manager's drag; each later one moves the
  // window under the pointer. A tick of picking comes after each.
  for (int step = 0; step <= 10; ++step) {
    const int left = step == 0 ? 2 : 10 * step;
    xdotool({QStringLiteral("mousemove"), QString::number(bar.x() - left), QString::number(bar.y())});
    if (step > 0) {
      ASSERT_TRUE(waitUntil([&] { return shownLeft() == frame.left() - left; })) << "step " << step;
    }
    const int before = ticks;
    ASSERT_TRUE(waitUntil([&] { return ticks > before; }));
  }
  xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
  ASSERT_TRUE(buttonBecomes(false));
  EXPECT_EQ(form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile")), QStringList());
}
