#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app_fixture.h"
#include "autofocus_fixture.h"
#include "fake_ascom.h"
#include "platform/desktop.h"
#include "platform/instance_lock_folder.h"
#include "text_room.h"

TEST(MainWindow, CreationSetsTheStateRecordBeforeTheFirstShow) {
  TestPlatform p;
  p.writeIni("[Autofocus]\nLowSpeed=5\n");
  auto form = makeForm(p, false);
  EXPECT_EQ(form->MemoLog->Lines(), QStringList{"Trevast version 1.3.3.7"});
  EXPECT_EQ(form->xTaille, 30);
  EXPECT_EQ(form->xDelaiAutofocus, 3);
  EXPECT_EQ(form->xLimiteBasse, 0);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  EXPECT_EQ(form->xPosition, 0);
  EXPECT_EQ(form->xPositionMap, 0);
  EXPECT_EQ(form->xPasLent, 0) << "the file is read at the first show";
  EXPECT_FALSE(form->xIsEtoile);
  EXPECT_FALSE(form->AscomOK);
  EXPECT_TRUE(IsFirstTime);
  EXPECT_EQ(OrigX, 0);
  EXPECT_EQ(OrigY, 0);
  EXPECT_EQ(form->Image2->Picture().size(), QSize(30, 30));
  EXPECT_EQ(form->TimerSuivi->Interval(), 3000);
  EXPECT_FALSE(form->TimerSuivi->Enabled());
  EXPECT_FALSE(form->BoutonAVRapide->isEnabled());
  EXPECT_FALSE(form->BoutonRERapide->isEnabled());
  EXPECT_FALSE(form->BoutonRappelMAP->isEnabled());
  EXPECT_EQ(form->LabelPosition->text(), "");
  ASSERT_NE(xCanvasBureau, nullptr);
  EXPECT_EQ(xCanvasBureau->BrushColor, QColor(Qt::red));
  EXPECT_EQ(xHBureau, &p.desktop);

  form->show();
  EXPECT_EQ(form->xPasLent, 5);
  EXPECT_EQ(form->xTaille, 20) << "the file's default wins over the creation value";
}

TEST(MainWindow, TheWindowIsATopmostToolWindowOfFixedWidth) {
  TestPlatform p;
  auto form = makeForm(p);
  EXPECT_EQ(form->windowTitle(), "Trevast");
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ((form->windowFlags() & Qt::WindowType_Mask), Qt::Tool);
  EXPECT_EQ(form->size(), QSize(167, 330));
  EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "the user cannot resize it";
}

TEST(MainWindow, AfficherLogShowsAndHidesTheLog) {
  TestPlatform p;
  auto form = makeForm(p);
  EXPECT_FALSE(form->ShowLog->isChecked());
  form->ShowLog->setChecked(true);
  EXPECT_EQ(form->size(), QSize(167, 420));
  EXPECT_TRUE(form->rect().contains(form->MemoLog->geometry()));
  form->ShowLog->setChecked(false);
  EXPECT_EQ(form->size(), QSize(167, 330));
  EXPECT_FALSE(form->rect().intersects(form->MemoLog->geometry()));

  // On the 800 x 800 screen, where the shown window's frame adds 2 pixels on
  // each side (424 high with the log): the grown frame is moved up as far as
  // it needs, hidden again it stays where it stands, and the close stores
  // that place.
  const struct {
    int top;
    int shownAt, hiddenAt;
  } cases[] = {{300, 300, 300}, {400, 376, 376}, {446, 376, 376}, {0, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.top);
    form = makeForm(p);
    form->move(100, c.top);
    form->ShowLog->setChecked(true);
    EXPECT_EQ(form->pos(), QPoint(100, c.shownAt));
    form->ShowLog->setChecked(false);
    EXPECT_EQ(form->pos(), QPoint(100, c.hiddenAt));
    form->close();
    EXPECT_TRUE(p.readIni().contains(QStringLiteral("Gauche=100\r\nHaut=%1\r\n").arg(c.hiddenAt).toLatin1()));
  }
}

TEST(MainWindow, TheDebugMemoLiesOutsideTheClientArea) {
  TestPlatform p;
  auto form = makeForm(p);
  form->ShowLog->setChecked(true);
  EXPECT_FALSE(form->rect().intersects(form->Memo1->geometry()));
}

TEST(MainWindow, TheLogsTakeNoTypedTextKeepTheirLinesCopyableAndLetTabMoveOn) {
  TestPlatform p;
  auto form = makeForm(p);
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  form->ShowLog->setFocus();
  for (bool shown : {false, true}) {  // Tab and Shift+Tab never stop at a log
    form->ShowLog->setChecked(shown);
    for (int i = 0; i < 40; ++i) {
      QTest::keyClick(QApplication::focusWidget(), i < 20 ? Qt::Key_Tab : Qt::Key_Backtab);
      ASSERT_FALSE(qobject_cast<TMemo*>(QApplication::focusWidget())) << shown << " " << i;
    }
  }
  QTest::mouseClick(form->MemoLog->viewport(), Qt::LeftButton);
  ASSERT_EQ(QApplication::focusWidget(), form->MemoLog);
  for (TMemo* memo : {form->MemoLog, form->Memo1}) {
    memo->Add(QStringLiteral("STOP demandé"));
    const QStringList lines = memo->Lines();
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(memo, "x");
    QTest::keyClick(memo, Qt::Key_Backspace);
    EXPECT_EQ(memo->Lines(), lines);
    QTest::keyClick(memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().split(QLatin1Char('\n')), lines);
  }
  QTest::keyClick(form->MemoLog, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), form->MemoLog);
}

namespace {

// What the close then stores of the focuser: the "Position" line of the file.
QByteArray storedPosition(const QByteArray& ini) {
  const qsizetype at = ini.indexOf("\r\nPosition=");
  return at < 0 ? QByteArray() : ini.mid(at + 2, ini.indexOf('\r', at + 2) - at - 2);
}

}  // namespace

// "Limite basse" from 25090 to 23090 at 100 steps a second, and the window
// closed 5 s into the 20 s move: the close waits for the move's end, which a
// STOP may bring sooner, and only then writes the file and ends the program.
// An autofocus run is still cut short at once.
TEST(MainWindow, ACloseDuringAMoveEndsTheProgramOnceTheMoveHasEnded) {
  const QString kWaits = QStringLiteral("Fermeture à la fin du déplacement en cours.");
  struct Case {
    bool absolute;
    uint32_t stopAt;  // ms into the move, 0: no STOP
    int motorEnd;
    QByteArray stored;
  };
  for (const Case& c : {Case{false, 0, 23090, "Position=23090"}, Case{true, 0, 23090, "Position=23090"},
                        Case{false, 8000, 24290, "Position=0"}, Case{true, 8000, 24290, "Position=24290"}}) {
    SCOPED_TRACE(testing::Message() << (c.absolute ? "absolute" : "relative") << ", STOP at " << c.stopAt);
    TestPlatform p;
    FocusSimSettings settings;
    settings.absolute = c.absolute;
    settings.speed = 100;
    settings.startPosition = 25090;
    auto motor = installSimulator(p, settings);
    const QByteArray before = "[Focuser]\r\nDriver=FocusSim.Focuser\r\nPosition=25090\r\nLimite basse=23090\r\n";
    p.writeIni(before);
    auto form = makeForm(p);
    const uint32_t t0 = p.time.GetTickCount();
    p.time.at(t0 + 5000, [&] {
      form->BoutonAVLentMouseDown();  // waits its turn: the close drops it
      form->close();
      form->close();  // a second request changes nothing
      form->BoutonAVLentMouseDown();  // refused
      EXPECT_TRUE(form->isVisible());
      EXPECT_FALSE(Application->Terminated());
      EXPECT_EQ(form->MemoLog->Lines().count(kWaits), 1);
      EXPECT_TRUE(form->ShowLog->isChecked()) << "the log shows why the window stays";
      EXPECT_EQ(p.readIni(), before);
    });
    if (c.stopAt) p.time.at(t0 + c.stopAt, [&] { QTest::mouseClick(form->BoutonSTOP, Qt::LeftButton); });
    form->GoLimiteBasseClick();
    EXPECT_EQ(motor->position(), c.motorEnd);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(storedPosition(p.readIni()), c.stored);
  }

  {  // A move that ends on a driver error: the window stays for its error box.
    TestPlatform p;
    auto form = makeForm(p);
    auto driver = std::make_shared<RecordingFocuser>();
    prepareAutofocus(*form, driver);
    driver->movingAnswers = 3;
    p.time.onPass = [&, done = false]() mutable {
      if (done || !form->MoveUnderWay()) return;
      done = true;
      form->close();
      driver->raise[QStringLiteral("IsMoving")] = [](InvokeKind) {
        throw AutomationError(QStringLiteral("Fake"), QStringLiteral("Câble débranché"), 9);
      };
    };
    EXPECT_THROW(form->Moteur(100, false), AutomationError);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(form->MemoLog->Lines().mid(form->MemoLog->Lines().size() - 2),
              (QStringList{kWaits, QStringLiteral("Fermeture annulée : le déplacement a pris fin sur une erreur.")}));
  }
  {  // An autofocus run closed during one of its moves ends at once, as a
     // close during its measures does: no further move, no report.
    TestPlatform p;
    auto form = makeForm(p);
    FakeAscom ascom;
    ascom.install(p.com);
    auto driver = std::make_shared<RecordingFocuser>();
    prepareAutofocus(*form, driver);
    driver->movingAnswers = 3;
    form->autofocusMeasure = [](bool) { return 8.0; };
    p.time.onPass = [&, done = false]() mutable {
      if (!done && driver->moves().size() == 2 && form->MoveUnderWay()) done = true, form->close();
    };
    form->BoutonAutofocusClick();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(driver->moves().size(), 2u);
    EXPECT_TRUE(ascom.boxes().empty());
  }
}

TEST(MainWindow, EveryTextShowsWholeInItsControl) {
  TestPlatform p;
  auto form = makeForm(p);
  // Besides what the window shows at start: the widest texts a run, the
  // countdown, the simulator, the readouts and the position write later.
  const QList<LaterText> later = {
      {form->LabelMesure, QStringLiteral("Mesure 10/10")}, {form->Label1, QStringLiteral("Sens moteur")},
      {form->LabelChrono, QStringLiteral("00:00")},        {form->EditFocuser, QStringLiteral("Simulateur de focuser")},
      {form->LabelFWHM, QStringLiteral("28.9")},           {form->LabelIntMax, QStringLiteral("255")},
      {form->LabelPosition, QStringLiteral("99999")},      {form->BarrePO, QStringLiteral("100%")}};
  EXPECT_EQ(textsCutOff(*form, later), QStringList());
  form->EditFocuser->setLabelText(QStringLiteral("Moteur MAP non connecté"));
  EXPECT_EQ(textsCutOff(*form), QStringList());
}

TEST(MainWindow, CloseRepaintsTheDesktopFreesTheCanvasAndEndsTheProgram) {
  TestPlatform p;
  auto form = makeForm(p);
  EXPECT_EQ(p.desktop.openContexts, 1) << "the canvas holds the desktop's context";
  form->close();
  EXPECT_EQ(p.desktop.repaints, 1);
  EXPECT_EQ(p.desktop.openContexts, 0);
  EXPECT_EQ(xCanvasBureau, nullptr);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(p.readIni().isEmpty());
  // A second close request writes nothing again.
  QFile::remove(p.iniPath());
  form->close();
  EXPECT_TRUE(p.readIni().isEmpty());
}

// A copy of the program in a child process holds its folder until it is
// killed outright, as a crash would end it.
TEST(MainWindow, OneRunningCopyPerSettingsFileAndAKilledCopyBlocksNoStart) {
  QTemporaryDir folder, otherFolder;
  FolderInstanceLock childsLock(folder.path());  // made before the fork: the child only calls the system
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    const char held = childsLock.TryLock() ? 'y' : 'n';
    if (write(ready[1], &held, 1) == 1)
      for (;;) pause();
    _exit(1);
  }
  char held = 0;
  const bool answered = read(ready[0], &held, 1) == 1;
  FolderInstanceLock here(folder.path()), elsewhere(otherFolder.path());
  const bool refused = !here.TryLock(), startedElsewhere = elsewhere.TryLock();
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  for (int fd : ready) close(fd);
  EXPECT_TRUE(answered && held == 'y');
  EXPECT_TRUE(refused) << "a copy runs from this folder";
  EXPECT_TRUE(startedElsewhere) << "another folder has its own settings file";
  EXPECT_TRUE(here.TryLock()) << "the killed copy's lock went with it";
}
