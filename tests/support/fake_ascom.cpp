#include "fake_ascom.h"

#include "app_fixture.h"

std::vector<RecordedCall> CallLog::of(const QString& member) const {
  std::vector<RecordedCall> out;
  for (const RecordedCall& c : calls)
    if (c.member.compare(member, Qt::CaseInsensitive) == 0) out.push_back(c);
  return out;
}

QStringList CallLog::members() const {
  QStringList out;
  for (const RecordedCall& c : calls) out << (c.kind == InvokeKind::Put ? c.member + QLatin1Char('=') : c.member);
  return out;
}

namespace {

void raiseIfAsked(const QMap<QString, std::function<void(InvokeKind)>>& raise, const QString& member,
                  InvokeKind kind) {
  for (auto it = raise.begin(); it != raise.end(); ++it)
    if (it.key().compare(member, Qt::CaseInsensitive) == 0 && it.value()) it.value()(kind);
}

// A platform object answering through `handler`, recording into `log`.
class FakeObject : public Dispatch {
 public:
  using Handler = std::function<Variant(const QString&, InvokeKind, std::vector<Arg>&)>;
  FakeObject(QString id, CallLog& log, Handler handler) : id_(std::move(id)), log_(log), handler_(std::move(handler)) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    log_.calls.push_back({id_, member, kind, args});
    return handler_(member, kind, args);
  }

 private:
  QString id_;
  CallLog& log_;
  Handler handler_;
};

}  // namespace

Variant RecordingFocuser::invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) {
  log.calls.push_back({id_, member, kind, args});
  if (onCall) onCall(log.calls.back());
  raiseIfAsked(raise, member, kind);
  if (isMember(member, "Link")) {
    if (kind == InvokeKind::Put && linkFollowsWrites) link = argumentAt(args, 0).toBool();
    return link;
  }
  if (isMember(member, "Absolute")) return absolute;
  if (isMember(member, "StepSize")) return stepSize;
  if (isMember(member, "MaxIncrement")) return maxIncrement;
  if (isMember(member, "Position")) return position;
  if (isMember(member, "IsMoving")) {
    if (movingLeft_ > 0) {
      --movingLeft_;
      return true;
    }
    if (pendingTarget_) position = *pendingTarget_;
    pendingTarget_.reset();
    return false;
  }
  if (isMember(member, "Move")) {
    const int value = argumentAt(args, 0).toInt();
    const int target = absolute ? value : pendingTarget_.value_or(position) + value;
    movingLeft_ = movingAnswers;
    if (movingLeft_ == 0)
      position = target;
    else
      pendingTarget_ = target;
    return {};
  }
  if (isMember(member, "Halt")) {
    // Stops where it stands: short of the target.
    movingLeft_ = 0;
    pendingTarget_.reset();
    return {};
  }
  if (isMember(member, "SetupDialog")) return {};
  throw unknownMember(member);
}

std::vector<Arg> RecordingFocuser::moves() const {
  std::vector<Arg> out;
  for (const RecordedCall& c : log.of(QStringLiteral("Move"))) out.push_back(c.args.at(0));
  return out;
}

void FakeAscom::install(ComRegistry& com) {
  com.registerClass(QStringLiteral("ASCOM.Utilities.Util"), [this] {
    return std::make_shared<FakeObject>(QStringLiteral("ASCOM.Utilities.Util"), log,
                                        [this](const QString&, InvokeKind, std::vector<Arg>&) -> Variant {
                                          if (versionError) versionError();
                                          return version;
                                        });
  });
  com.registerClass(QStringLiteral("DriverHelper.Util"), [this] {
    return std::make_shared<FakeObject>(QStringLiteral("DriverHelper.Util"), log,
                                        [](const QString&, InvokeKind, std::vector<Arg>&) { return Variant(); });
  });
  com.registerClass(QStringLiteral("DriverHelper.Profile"), [this] {
    return std::make_shared<FakeObject>(QStringLiteral("DriverHelper.Profile"), log,
                                        [this](const QString& member, InvokeKind, std::vector<Arg>& args) -> Variant {
                                          if (!isMember(member, "GetValue")) return {};
                                          if (getValueError) getValueError();
                                          return names.value(args.at(0).value.toString());
                                        });
  });
  com.registerClass(QStringLiteral("DriverHelper.Chooser"), [this] {
    return std::make_shared<FakeObject>(QStringLiteral("DriverHelper.Chooser"), log,
                                        [this](const QString& member, InvokeKind, std::vector<Arg>&) -> Variant {
                                          if (!isMember(member, "Choose")) return {};
                                          return chooserAnswers.isEmpty() ? QString() : chooserAnswers.takeFirst();
                                        });
  });
}

std::shared_ptr<RecordingFocuser> FakeAscom::addDriver(ComRegistry& com, const QString& id, const QString& name) {
  auto driver = std::make_shared<RecordingFocuser>(id);
  com.registerClass(id, [driver] { return driver; });
  names.insert(id, name);
  return driver;
}

std::unique_ptr<InstalledSimulator> installSimulator(TestPlatform& p, const FocusSimSettings& settings) {
  auto installed = std::make_unique<InstalledSimulator>();
  AscomConfig config;
  config.simulator = settings;
  InstalledSimulator* counter = installed.get();
  installed->motor =
      InstallAscomPlatform(p.com, p.dialogs, p.time, config, [counter](FocusSimMotor&) { ++counter->setupOpened; });
  return installed;
}
