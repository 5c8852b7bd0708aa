#include "platform/registry_file.h"

#include <QStandardPaths>

#include "platform/ini_file.h"

QString FileRegistry::defaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/trevast/registry.ini";
}

bool FileRegistry::readString(const QString& key, const QString& name, QString& value) const {
  const IniFile file(path_);
  if (!file.hasKey(key, name)) return false;
  value = file.ReadString(key, name, QString());
  return true;
}
