#pragma once
// Fakes of the ASCOM objects: a focuser driver and the four platform objects,
// each recording every member call with its arguments and how they passed.
#include <QMap>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ascom_platform.h"
#include "platform/automation.h"

struct TestPlatform;

struct RecordedCall {
  QString object;  // the identifier the object was created from
  QString member;
  InvokeKind kind;
  std::vector<Arg> args;
};

// What an object was asked, in order.
struct CallLog {
  std::vector<RecordedCall> calls;
  // The calls of `member` (any letter case).
  std::vector<RecordedCall> of(const QString& member) const;
  int count(const QString& member) const { return static_cast<int>(of(member).size()); }
  // "Move", "IsMoving", ... in order; a write is "Link=".
  QStringList members() const;
};

// A focuser driver. A Move takes `movingAnswers` IsMoving questions to end;
// until then Position still reports where the motor started, as a driver that
// takes time to move does.
class RecordingFocuser : public Dispatch {
 public:
  explicit RecordingFocuser(QString id = QStringLiteral("Fake.Focuser")) : id_(std::move(id)) {}

  bool absolute = true;
  int position = 0;          // the motor's position; for a relative driver the steps it made
  int stepSize = 5;
  int maxIncrement = 1000;
  bool link = false;
  bool linkFollowsWrites = true;  // false: Link keeps reading what it read before
  int movingAnswers = 0;          // IsMoving answers True this many times after each Move
  // Raised in place of an answer, by member name (any letter case).
  QMap<QString, std::function<void(InvokeKind)>> raise;
  // Runs after each call is recorded, as a user could act while the program waits.
  std::function<void(const RecordedCall&)> onCall;
  CallLog log;

  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override;
  // The argument of each Move.
  std::vector<Arg> moves() const;

 private:
  QString id_;
  std::optional<int> pendingTarget_;  // where a move under way ends
  int movingLeft_ = 0;
};

// The four platform objects, registered into a class registry.
struct FakeAscom {
  QString version = QStringLiteral("6.0");
  std::function<void()> versionError;  // raised by PlatformVersion when set
  QMap<QString, QString> names;        // GetValue's answers by exact identifier
  QStringList chooserAnswers;          // Choose's answers in order; "" once none is left
  std::function<void()> getValueError; // raised by GetValue when set
  CallLog log;

  void install(ComRegistry& com);
  // A RecordingFocuser created from `id`; every creation gives the same object.
  std::shared_ptr<RecordingFocuser> addDriver(ComRegistry& com, const QString& id,
                                              const QString& name = QStringLiteral("Focuser de test"));
  // The texts, icon flags and captions of the message boxes shown.
  std::vector<RecordedCall> boxes() const { return log.of(QStringLiteral("MessageBox")); }
};

// The real platform objects with the simulator, on the test's virtual clock
// and scripted dialogs. The simulator's setup window counts its openings.
struct InstalledSimulator {
  std::shared_ptr<FocusSimMotor> motor;
  int setupOpened = 0;
};
std::unique_ptr<InstalledSimulator> installSimulator(TestPlatform& p, const FocusSimSettings& settings = {});
