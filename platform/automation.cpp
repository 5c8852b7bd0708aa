#include "platform/automation.h"

#include <cmath>

namespace {
[[noreturn]] void badType() { throw Exception(QStringLiteral("Type de variant incorrect")); }
}  // namespace

bool Variant::toBool() const {
  if (auto b = std::get_if<bool>(&v_)) return *b;
  if (auto i = std::get_if<qint32>(&v_)) return *i != 0;
  if (auto d = std::get_if<double>(&v_)) return *d != 0;
  if (auto s = std::get_if<QString>(&v_)) {
    if (s->compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (s->compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double d = s->toDouble(&ok);
    if (ok) return d != 0;
  }
  if (isEmpty()) return false;
  badType();
}

qint32 Variant::toInt() const {
  if (auto b = std::get_if<bool>(&v_)) return *b ? -1 : 0;
  if (auto i = std::get_if<qint32>(&v_)) return *i;
  if (auto d = std::get_if<double>(&v_)) {
    if (*d < INT32_MIN - 0.5 || *d > INT32_MAX + 0.5) badType();
    return static_cast<qint32>(std::nearbyint(*d));  // automation rounds half to even
  }
  if (auto s = std::get_if<QString>(&v_)) {
    bool ok = false;
    const int i = s->trimmed().toInt(&ok);
    if (ok) return i;
  }
  if (isEmpty()) return 0;
  badType();
}

double Variant::toDouble() const {
  if (auto i = std::get_if<qint32>(&v_)) return *i;
  if (auto d = std::get_if<double>(&v_)) return *d;
  if (auto b = std::get_if<bool>(&v_)) return *b ? -1 : 0;
  if (auto s = std::get_if<QString>(&v_)) {
    bool ok = false;
    const double d = s->trimmed().toDouble(&ok);
    if (ok) return d;
  }
  if (isEmpty()) return 0;
  badType();
}

QString Variant::toString() const {
  if (auto s = std::get_if<QString>(&v_)) return *s;
  if (auto b = std::get_if<bool>(&v_)) return *b ? QStringLiteral("True") : QStringLiteral("False");
  if (auto i = std::get_if<qint32>(&v_)) return QString::number(*i);
  if (auto d = std::get_if<double>(&v_)) return QString::number(*d, 'g', 15);
  if (isEmpty()) return QString();
  badType();
}

Variant operator+(const Variant& a, const Variant& b) {
  if (a.isInt() && b.isInt()) {
    const qint64 sum = qint64(a.toInt()) + qint64(b.toInt());
    if (sum >= INT32_MIN && sum <= INT32_MAX) return Variant(static_cast<int>(sum));
    return Variant(static_cast<double>(sum));
  }
  if (a.isString() && b.isString()) return Variant(a.toString() + b.toString());
  return Variant(a.toDouble() + b.toDouble());
}

Exception unknownMember(const QString& member) {
  return Exception(QStringLiteral("Nom inconnu : %1").arg(member));
}

bool isMember(const QString& asked, const char* member) {
  return asked.compare(QLatin1String(member), Qt::CaseInsensitive) == 0;
}

const Variant& argumentAt(const std::vector<Arg>& args, size_t index) {
  if (index >= args.size()) throw Exception(QStringLiteral("Nombre de paramètres incorrect"));
  return args[index].value;
}

Dispatch& AutomationRef::target() const {
  if (!object_) throw Exception(QStringLiteral("Le variant ne référence pas un objet Automation"));
  return *object_;
}

Variant AutomationRef::get(const QString& member) const {
  std::vector<Arg> none;
  return target().invoke(member, InvokeKind::Get, none);
}

void AutomationRef::put(const QString& member, const Variant& value) const {
  std::vector<Arg> args{{value, Passing::Value}};
  target().invoke(member, InvokeKind::Put, args);
}

void AutomationRef::put(const QString& member, const Arg& value) const {
  std::vector<Arg> args{value};
  target().invoke(member, InvokeKind::Put, args);
}

Variant AutomationRef::call(const QString& member, std::vector<Arg> args) const {
  return target().invoke(member, InvokeKind::Method, args);
}

void ComRegistry::registerClass(const QString& progId, Factory factory) {
  classes_.insert(progId.toLower(), std::move(factory));
}

void ComRegistry::unregisterClass(const QString& progId) { classes_.remove(progId.toLower()); }

bool ComRegistry::isRegistered(const QString& progId) const { return classes_.contains(progId.toLower()); }

AutomationRef ComRegistry::CreateOleObject(const QString& progId) const {
  const auto it = classes_.find(progId.toLower());
  if (progId.isEmpty() || it == classes_.end()) throw Exception(QStringLiteral("Chaîne de classe incorrecte"));
  std::shared_ptr<Dispatch> object = (*it)();
  if (!object) throw Exception(QStringLiteral("Chaîne de classe incorrecte"));
  return AutomationRef(std::move(object));
}
