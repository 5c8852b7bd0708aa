#pragma once
// Read access to the user's part of the registry that other programs keep.
#include <QString>

class Registry {
 public:
  virtual ~Registry() = default;
  // The string value `name` under the current user's `key`; false when the key
  // or the value does not exist. Nothing is ever created or written.
  virtual bool readString(const QString& key, const QString& name, QString& value) const = 0;
};
