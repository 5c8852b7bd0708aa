#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <memory>

#include "platform/dialogs_qt.h"
#include "platform/toolkit_french.h"

namespace {

// The title of the active modal window, then its labels and buttons.
QStringList textsOfModal() {
  QWidget* window = QApplication::activeModalWidget();
  QStringList texts{window->windowTitle()};
  for (QLabel* l : window->findChildren<QLabel*>()) texts << l->text();
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) texts << b->text();
  texts.removeAll(QString());
  return texts;
}

TEST(StandardDialogs, TheFileDialogAndItsOverwriteQuestionReadFrench) {
  const std::unique_ptr<QTranslator> french(installToolkitFrench(*qApp));
  ASSERT_NE(french, nullptr);
  QTemporaryDir dir;
  QFile(dir.filePath("profil.trv")).open(QIODevice::WriteOnly);
  QStringList save, question;
  QTimer::singleShot(0, [&] {
    auto* dialog = static_cast<QDialog*>(QApplication::activeModalWidget());
    save = textsOfModal();
    // Saving over the existing profile asks first; "Non" leaves the dialog open.
    QTimer::singleShot(0, [&] {
      question = textsOfModal();
      QApplication::activeModalWidget()->findChildren<QAbstractButton*>().last()->click();
    });
    dialog->accept();
    dialog->reject();
  });
  EXPECT_EQ(QtDialogs().SaveFileName({{}, "Fichiers Trevast (*.trv)|*.trv", "trv", dir.path(), "profil.trv", true}),
            QString());
  EXPECT_EQ(save, (QStringList{"Enregistrer sous", "Voir dans :", "&Nom de fichier :", "Fichiers de type :",
                               "&Enregistrer", "Annuler"}));
  EXPECT_EQ(question, (QStringList{"Enregistrer sous", "Le fichier profil.trv existe déjà\nVoulez-vous l'écraser ?",
                                   "&Oui", "&Non"}));
}

TEST(StandardDialogs, WithoutTheFrenchTranslationTheProgramRunsOnAndSaysSo) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(installToolkitFrench(*qApp, "/nonexistent"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Trevast : traduction française de Qt (qtbase_fr) introuvable dans /nonexistent (paquet "
            "qt6-translations-l10n) ; les dialogues standard restent en anglais.\n");
}

}  // namespace
