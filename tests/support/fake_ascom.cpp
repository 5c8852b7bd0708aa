#include "fake_ascom.h"

#include "app_fixture.h"

std::vector<RecordedCall> CallLog::of(const QString& member) const {
  std::vector<RecordedCall> out;
  for (const RecordedCall& c : calls)
    if (c.member.compare(member, Qt::CaseInsensitive) == 0) out.push_back(c);
  return out;
}

Variant RecordingFocuser::invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) {
  log.calls.push_back({id_, member, kind, args});
  for (auto it = raise.begin(); it != raise.end(); ++it)
    if (isMember(member, qPrintable(it.key()))) it.value()(kind);
  if (isMember(member, "Link")) {
    if (kind == InvokeKind::Put && linkFollowsWrites) link = argumentAt(args, 0).toBool();
    return link;
  }
  if (isMember(member, "Absolute")) return absolute;
  if (isMember(member, "StepSize")) return stepSize;
  if (isMember(member, "MaxIncrement")) return maxIncrement;
  if (isMember(member, "Position")) return position;
  if (isMember(member, "IsMoving")) {
    if (movingLeft_ > 0) return --movingLeft_, true;
    position = pendingTarget_.value_or(position);
    pendingTarget_.reset();
    return false;
  }
  if (isMember(member, "Move")) {
    const int value = argumentAt(args, 0).toInt();
    pendingTarget_ = absolute ? value : pendingTarget_.value_or(position) + value;
    movingLeft_ = movingAnswers;
    return {};
  }
  if (isMember(member, "Halt")) {  // stops short of the target
    movingLeft_ = 0;
    pendingTarget_.reset();
    return {};
  }
  throw unknownMember(member);
}

std::vector<Arg> RecordingFocuser::moves() const {
  std::vector<Arg> out;
  for (const RecordedCall& c : log.of(QStringLiteral("Move"))) out.push_back(c.args.at(0));
  return out;
}

namespace {
// A platform object answering through `answer`, recording into `log`.
class FakeObject : public Dispatch {
 public:
  using Answer = std::function<Variant(const QString&, std::vector<Arg>&)>;
  FakeObject(QString id, CallLog& log, Answer answer) : id_(std::move(id)), log_(log), answer_(std::move(answer)) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    log_.calls.push_back({id_, member, kind, args});
    return answer_(member, args);
  }

 private:
  QString id_;
  CallLog& log_;
  Answer answer_;
};
}  // namespace

void FakeAscom::install(ComRegistry& com) {
  const QMap<QString, FakeObject::Answer> objects{
      {QStringLiteral("ASCOM.Utilities.Util"),
       [this](const QString&, std::vector<Arg>&) -> Variant {
         if (versionError) versionError();
         return version;
       }},
      {QStringLiteral("DriverHelper.Util"), [](const QString&, std::vector<Arg>&) { return Variant(); }},
      {QStringLiteral("DriverHelper.Profile"),
       [this](const QString& member, std::vector<Arg>& args) -> Variant {
         if (!isMember(member, "GetValue")) return {};
         if (getValueError) getValueError();
         return names.value(args.at(0).value.toString());
       }},
      {QStringLiteral("DriverHelper.Chooser"),
       [this](const QString& member, std::vector<Arg>&) -> Variant {
         if (!isMember(member, "Choose")) return {};
         return chooserAnswers.isEmpty() ? QString() : chooserAnswers.takeFirst();
       }},
  };
  for (auto it = objects.begin(); it != objects.end(); ++it)
    com.registerClass(it.key(), [this, id = it.key(), answer = it.value()] {
      return std::make_shared<FakeObject>(id, log, answer);
    });
}

std::shared_ptr<RecordingFocuser> FakeAscom::addDriver(ComRegistry& com, const QString& id, const QString& name) {
  auto driver = std::make_shared<RecordingFocuser>(id);
  com.registerClass(id, [driver] { return driver; });
  names.insert(id, name);
  return driver;
}

std::shared_ptr<FocusSimMotor> installSimulator(TestPlatform& p, const FocusSimSettings& settings) {
  AscomConfig config;
  config.simulator = settings;
  return InstallAscomPlatform(p.com, p.dialogs, p.time, config, {});
}

namespace {
class NotingDriver : public Dispatch {
 public:
  NotingDriver(std::shared_ptr<FocusSimMotor> motor, QStringList& notes) : driver_(std::move(motor), {}), notes_(notes) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    if (isMember(member, "Move")) notes_ << QString::number(argumentAt(args, 0).toInt());
    if (isMember(member, "Halt")) notes_ << QStringLiteral("Halt");
    return driver_.invoke(member, kind, args);
  }

 private:
  FocusSimDriver driver_;
  QStringList& notes_;
};
}  // namespace

void noteSimulatorCalls(TestPlatform& p, std::shared_ptr<FocusSimMotor> motor, QStringList& notes) {
  p.com.registerClass(kFocusSimId, [motor, &notes] { return std::make_shared<NotingDriver>(motor, notes); });
}
