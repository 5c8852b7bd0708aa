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

struct TestPlatform;

struct RecordedCall {
  QString object;  // the identifier the object was created from
  QString member;
  InvokeKind kind;
  std::vector<Arg> args;
};

struct CallLog {
  std::vector<RecordedCall> calls;
  std::vector<RecordedCall> of(const QString& member) const;  // any letter case
  int count(const QString& member) const { return static_cast<int>(of(member).size()); }
};

// A focuser driver. A Move takes `movingAnswers` IsMoving questions to end;
// until then Position reports where the motor started, as a driver that takes
// time to move does.
class RecordingFocuser : public Dispatch {
 public:
  explicit RecordingFocuser(QString id = QStringLiteral("Fake.Focuser")) : id_(std::move(id)) {}

  bool absolute = true;
  int position = 0;  // for a relative driver, the steps it made
  int stepSize = 5;
  int maxIncrement = 1000;
  bool link = false;
  bool linkFollowsWrites = true;  // false: Link keeps reading what it read
  int movingAnswers = 0;
  // Raised in place of an answer, by member name (any letter case).
  QMap<QString, std::function<void(InvokeKind)>> raise;
  CallLog log;

  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override;
  std::vector<Arg> moves() const;  // the argument of each Move

 private:
  QString id_;
  std::optional<int> pendingTarget_;  // where a move under way ends
  int movingLeft_ = 0;
};

// The four platform objects, registered into a class registry.
struct FakeAscom {
  QString version = QStringLiteral("6.0");
  std::function<void()> versionError;   // raised by PlatformVersion
  std::function<void()> getValueError;  // raised by GetValue
  QMap<QString, QString> names;         // GetValue's answers by exact identifier
  QStringList chooserAnswers;           // Choose's answers in order; then ""
  CallLog log;

  void install(ComRegistry& com);
  // A driver that every creation from `id` gives.
  std::shared_ptr<RecordingFocuser> addDriver(ComRegistry& com, const QString& id, const QString& name);
  std::vector<RecordedCall> boxes() const { return log.of(QStringLiteral("MessageBox")); }
};

// The real platform objects with the simulator, on the test's virtual clock
// and scripted dialogs.
std::shared_ptr<FocusSimMotor> installSimulator(TestPlatform& p, const FocusSimSettings& settings = {});

// The simulator's driver with each Move's argument and each Halt noted, in
// order ("25130", "Halt"), in place of the simulator installed in `p`.
void noteSimulatorCalls(TestPlatform& p, std::shared_ptr<FocusSimMotor> motor, QStringList& notes);
