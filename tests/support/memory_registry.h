#pragma once
#include <QMap>

#include "platform/registry.h"

// Values set by a test.
class MemoryRegistry : public Registry {
 public:
  void set(const QString& key, const QString& name, const QString& value) { values_[key.toLower() + '|' + name.toLower()] = value; }
  bool readString(const QString& key, const QString& name, QString& value) const override {
    const auto it = values_.find(key.toLower() + '|' + name.toLower());
    if (it == values_.end()) return false;
    value = *it;
    return true;
  }

 private:
  QMap<QString, QString> values_;
};
