#pragma once
// Late binding: objects created from a programmatic identifier whose members
// are reached by name at run time, with values carried in a variant.
//
// Two kinds of error come out of it: AutomationError, raised by a member of an
// object, with the object's description and a help context number; and every
// other failure (a creation that fails, a member the object lacks, a call on an
// empty reference), a plain Exception with help context 0.
#include <QMap>
#include <QString>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "platform/exception.h"

class Dispatch;

class Variant {
 public:
  Variant() = default;
  Variant(bool b) : v_(b) {}
  Variant(int i) : v_(static_cast<qint32>(i)) {}
  Variant(double d) : v_(d) {}
  Variant(const QString& s) : v_(s) {}
  Variant(const char* s) : v_(QString::fromUtf8(s)) {}
  Variant(std::shared_ptr<Dispatch> d) : v_(std::move(d)) {}

  bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  bool isBool() const { return std::holds_alternative<bool>(v_); }
  bool isInt() const { return std::holds_alternative<qint32>(v_); }
  bool isDouble() const { return std::holds_alternative<double>(v_); }
  bool isString() const { return std::holds_alternative<QString>(v_); }

  // Conversions as automation does them; a value that does not convert raises
  // an Exception ("Type de variant incorrect" style texts are the platform's).
  bool toBool() const;
  qint32 toInt() const;
  double toDouble() const;
  QString toString() const;

  friend Variant operator+(const Variant& a, const Variant& b);
  friend bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_; }

 private:
  std::variant<std::monostate, bool, qint32, double, QString, std::shared_ptr<Dispatch>> v_;
};

// How an argument is passed to a member.
enum class Passing {
  Value,         // a value of its own type (an integer, a string)
  Reference,     // the caller's own variable
  VariantValue,  // a variant holding the value
};

struct Arg {
  Variant value;
  Passing passing = Passing::Value;
};

enum class InvokeKind { Get, Put, Method };

// An automation object's dispatch interface.
class Dispatch {
 public:
  virtual ~Dispatch() = default;
  // Resolves `member` (letter case does not matter) and calls it. Throws
  // AutomationError for an error of the member, Exception for a missing one.
  virtual Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) = 0;
};

// An error raised by a member of an automation object.
class AutomationError : public Exception {
 public:
  AutomationError(QString source, QString description, int helpContext)
      : Exception(description, helpContext), source_(std::move(source)) {}
  const QString& source() const { return source_; }

 private:
  QString source_;
};

// The error of a member that the object lacks.
Exception unknownMember(const QString& member);

// For objects that implement Dispatch: whether `asked` names `member` (letter
// case does not matter), and argument `index`, or "Nombre de paramètres
// incorrect" when the caller gave fewer.
bool isMember(const QString& asked, const char* member);
const Variant& argumentAt(const std::vector<Arg>& args, size_t index);

// A reference to an automation object, empty or not.
class AutomationRef {
 public:
  AutomationRef() = default;
  explicit AutomationRef(std::shared_ptr<Dispatch> object) : object_(std::move(object)) {}

  bool isEmpty() const { return !object_; }
  Dispatch* object() const { return object_.get(); }
  void clear() { object_.reset(); }

  Variant get(const QString& member) const;
  void put(const QString& member, const Variant& value) const;
  void put(const QString& member, const Arg& value) const;  // passed as `value.passing` says
  Variant call(const QString& member, std::vector<Arg> args = {}) const;

 private:
  Dispatch& target() const;  // raises "Le variant ne référence pas un objet Automation"
  std::shared_ptr<Dispatch> object_;
};

// The classes that can be created by identifier, as the system registers them.
class ComRegistry {
 public:
  using Factory = std::function<std::shared_ptr<Dispatch>()>;
  void registerClass(const QString& progId, Factory factory);
  void unregisterClass(const QString& progId);
  bool isRegistered(const QString& progId) const;
  // Creates an object; an unknown identifier raises "Chaîne de classe
  // incorrecte", a factory's failure its own error, both with help context 0.
  AutomationRef CreateOleObject(const QString& progId) const;

 private:
  QMap<QString, Factory> classes_;  // keys in lower case: identifiers ignore letter case
};
