// The main window's flows: what each button asks before anything starts, and
// the settings it keeps.

#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "gui_fixture.h"
#include "main_dialog.h"
#include "platform/profile.h"
#include "scripted_prompts.h"
#include "support/temp_dir.h"

namespace orgalink::guitest {

namespace {
const QString kInstructions = QStringLiteral(
    "1. Press the [ON/OFF] button to turn OFF.\n2. Connect the cable to your Organizer and your "
    "PC.\n3. Press the [ON/OFF] button to turn ON.");
}

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void backupAsksForADatedArchiveAndStopsOnCancel();
  void restoreStopsUnlessTheUserConfirms();
  void settingsAreReadAtStartAndWrittenAtExit();
};

void MainWindowTest::backupAsksForADatedArchiveAndStopsOnCancel() {
  GuiFolder folder;
  ScriptedPrompts prompts;
  gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
  const QString backupDir = QString::fromStdString(folder.Paths().files.backupDir);

  // The file dialog cancelled: nothing else is asked.
  Child<QPushButton>(window, "backupButton")->click();
  QCOMPARE(prompts.FileRequests().size(), std::size_t{1});
  QCOMPARE(prompts.FileRequests()[0].folder, backupDir);
  QVERIFY(QRegularExpression(QStringLiteral("^\\d{8}\\.bkf$"))
              .match(prompts.FileRequests()[0].proposedName)
              .hasMatch());
  QVERIFY(prompts.Boxes().empty());

  // A name chosen, the instructions declined: the chosen folder is kept for
  // the next dialog, and no communication starts.
  testsupport::TempDir elsewhere;
  prompts.SetSavePath(QString::fromStdString(elsewhere.File("mine.txt")));
  prompts.QueueAnswers({gui::BoxAnswer::Cancel});
  Child<QPushButton>(window, "backupButton")->click();
  QCOMPARE(prompts.Boxes().size(), std::size_t{1});
  QCOMPARE(prompts.Boxes()[0].text, kInstructions);
  QCOMPARE(prompts.Boxes()[0].caption, QStringLiteral("Information"));
  QCOMPARE(prompts.Boxes()[0].icon, gui::BoxIcon::Information);
  QCOMPARE(window.Settings().backupDir, elsewhere.path().string());
}

void MainWindowTest::restoreStopsUnlessTheUserConfirms() {
  GuiFolder folder;
  ScriptedPrompts prompts;
  gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());

  Child<QPushButton>(window, "restoreButton")->click();
  QVERIFY(prompts.Boxes().empty());

  prompts.SetOpenPath(QString::fromStdString(folder.File("old.bkf")));
  prompts.QueueAnswers({gui::BoxAnswer::No});
  Child<QPushButton>(window, "restoreButton")->click();
  QCOMPARE(prompts.Boxes().size(), std::size_t{1});
  QCOMPARE(prompts.Boxes()[0].text,
           QStringLiteral("This operation will overwrite ALL applications on your "
                          "Organizer.\nContinue restore?"));
  QCOMPARE(prompts.Boxes()[0].caption, QStringLiteral("Restore"));
  QCOMPARE(prompts.Boxes()[0].icon, gui::BoxIcon::Question);
  QCOMPARE(prompts.Boxes()[0].buttons, gui::BoxButtons::YesNo);

  prompts.Clear();
  prompts.QueueAnswers({gui::BoxAnswer::Yes, gui::BoxAnswer::Cancel});
  Child<QPushButton>(window, "restoreButton")->click();
  QCOMPARE(prompts.Captions(), (QStringList{"Restore", "Information"}));
  QCOMPARE(prompts.Boxes()[1].text, kInstructions);
}

void MainWindowTest::settingsAreReadAtStartAndWrittenAtExit() {
  GuiFolder folder;
  ScriptedPrompts prompts;
  folder.AppendSetting("Settings", "TOCommand", "45");
  folder.AppendSetting("Settings", "FileScramble", "5");
  const std::string& ini = folder.Paths().files.settingsFile;
  {
    gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
    QCOMPARE(window.Settings().toCommand, 45000L);
    QVERIFY(QDir(QString::fromStdString(folder.Paths().files.backupDir)).exists());
  }
  QCOMPARE(platform::GetProfileString(ini, "Path", "BackupDir", ""),
           folder.Paths().files.backupDir);
  QCOMPARE(platform::GetProfileInt(ini, "Settings", "TOCommand", 0), 45);
  QCOMPARE(platform::GetProfileInt(ini, "Settings", "COMPort", 0), 1);
  QCOMPARE(platform::GetProfileInt(ini, "Settings", "FileScramble", 0), 5);
  QCOMPARE(platform::GetProfileString(ini, "Path", "LogFileName", "none"), std::string("none"));
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::MainWindowTest)
#include "main_window_test.moc"
