#pragma once
// The registry kept as an INI file: one section per key path, for instance
//   [Software\VB and VBA Program Settings\Quorvane\Settings]
//   PulseTime=12
#include "platform/registry.h"

class FileRegistry : public Registry {
 public:
  // "registry.ini" in the program's configuration folder ($XDG_CONFIG_HOME/trevast).
  static QString defaultPath();
  explicit FileRegistry(QString path = defaultPath()) : path_(std::move(path)) {}
  bool readString(const QString& key, const QString& name, QString& value) const override;

 private:
  QString path_;
};
