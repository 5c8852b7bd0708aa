#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
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

TEST(StandardDialogs, TheOpenDialogTakesOnlyAFileThatExists) {
  const std::unique_ptr<QTranslator> french(installToolkitFrench(*qApp));
  ASSERT_NE(french, nullptr);
  QTemporaryDir dir;
  QFile(dir.filePath("profil.trv")).open(QIODevice::WriteOnly);
  QStringList warning;
  bool openAfterTheTypo = false;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    QTest::keyClicks(name, QStringLiteral("nexistepas"));
    // A refused name is told in a box of its own, read and closed while it is open.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box || box == dialog) return;
      warning = textsOfModal();
      box->close();
    });
    watch.start(1);
    QTest::keyClick(name, Qt::Key_Return);
    openAfterTheTypo = dialog->isVisible();
    if (!openAfterTheTypo) return;
    // The name typed over the wrong one, as a user corrects it.
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("profil.trv"));
    QTest::keyClick(name, Qt::Key_Return);
    // A dialog left open fails the test rather than holding it.
    if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();
  });
  EXPECT_EQ(QtDialogs().OpenFileName({{}, "Fichiers Trevast (*.trv)|*.trv", "trv", dir.path(), {}, false}),
            dir.filePath("profil.trv"));
  EXPECT_TRUE(openAfterTheTypo);
  EXPECT_EQ(warning, (QStringList{"Ouvrir",
                                  "nexistepas.trv\nFichier introuvable.\n"
                                  "Veuillez vérifier que le nom du fichier est correct.",
                                  "OK"}));
}

TEST(StandardDialogs, WithoutTheFrenchTranslationTheProgramRunsOnAndSaysSo) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(installToolkitFrench(*qApp, "/nonexistent"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Trevast : traduction française de Qt (qtbase_fr) introuvable dans /nonexistent (paquet "
            "qt6-translations-l10n) ; les dialogues standard restent en anglais.\n");
}

}  // namespace
