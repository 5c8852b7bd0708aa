#include "platform/toolkit_french.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

QTranslator* installToolkitFrench(QCoreApplication& app, const QString& folder) {
  const QString where = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_fr"), where) && app.installTranslator(translator)) return translator;
  delete translator;
  std::fprintf(stderr, "%s\n",
               qUtf8Printable(QStringLiteral("Trevast : traduction française de Qt (qtbase_fr) introuvable dans %1 "
                                             "(paquet qt6-translations-l10n) ; les dialogues standard restent en "
                                             "anglais.")
                                  .arg(where)));
  return nullptr;
}
