// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's flows: what each button asks before anything starts, and
// the settings it keeps.

#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <fstream>

#include "gui_fixture.h"
#include "main_dialog.h"
#include "platform/clock.h"
#include "progress_dialog.h"
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
  void aFirstRunWritesEveryDefaultAtExit();
  void aComPortChoiceThatCannotBeStoredIsShown();
  void theQuietWindowReachesTheEngine();
  void theProposedNameNeverReplacesABackup();
  void aPortThatIsNotThereIsExplainedInTheFailureBox();
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

// At exit only what the window changed goes into the file: the folder the
// archive dialogs last opened in. Keys it did not change stay as they are,
// and none is added.
void MainWindowTest::settingsAreReadAtStartAndWrittenAtExit() {
  GuiFolder folder;
  ScriptedPrompts prompts;
  folder.AppendSetting("Settings", "TOCommand", "45");
  folder.AppendSetting("Settings", "FileScramble", "5");
  testsupport::TempDir elsewhere;
  {
    gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
    QCOMPARE(window.Settings().toCommand, 45000L);
    QVERIFY(QDir(QString::fromStdString(folder.Paths().files.backupDir)).exists());
    prompts.SetSavePath(QString::fromStdString(elsewhere.File("mine.bkf")));
    prompts.QueueAnswers({gui::BoxAnswer::Cancel});
    Child<QPushButton>(window, "backupButton")->click();
    Child<QPushButton>(window, "exitButton")->click();
  }
  QCOMPARE(testsupport::ReadFile(folder.Paths().files.settingsFile),
           "[Settings]\nTOCommand=45\nFileScramble=5\n[Path]\nBackupDir=" +
               elsewhere.path().string() + "\n");
}

void MainWindowTest::aFirstRunWritesEveryDefaultAtExit() {
  GuiFolder folder("config/orgalink/Orgalink.ini");
  ScriptedPrompts prompts;
  {
    gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
    Child<QPushButton>(window, "exitButton")->click();
  }
  QVERIFY(prompts.Boxes().empty());
  QCOMPARE(folder.StoredSetting("Path", "BackupDir").value_or("none"),
           folder.Paths().files.backupDir);
  for (const auto& [key, value] : {std::pair{"COMPort", "1"},
                                   {"EchoBack", "1"},
                                   {"DeviceCode", "2"},
                                   {"TOCommand", "30"},
                                   {"TODataPacket", "30"},
                                   {"TOMultiplier", "0"},
                                   {"BKTelRecordsMin", "1"}}) {
    QCOMPARE(folder.StoredSetting("Settings", key).value_or("none"), std::string(value));
  }
  QVERIFY(!folder.StoredSetting("Path", "LogFileName"));
  QVERIFY(!folder.StoredSetting("Settings", "FileScramble"));
}

// A file stands where the settings folder would be made.
void MainWindowTest::aComPortChoiceThatCannotBeStoredIsShown() {
  GuiFolder folder("blocked/Orgalink.ini");
  std::ofstream(folder.File("blocked")) << "not a folder";
  ScriptedPrompts prompts;
  gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
  WhenUp<gui::ComPortDialog>(&window, [](gui::ComPortDialog& dialog) {
    Child<QComboBox>(dialog, "com1Device")->setEditText(QStringLiteral("/dev/ttyUSB0"));
    Child<QPushButton>(dialog, "okButton")->click();
  });
  Child<QPushButton>(window, "comPortButton")->click();
  QCOMPARE(prompts.Captions(), QStringList{"Error"});
  QVERIFY2(prompts.Boxes()[0].text.startsWith(
               QStringLiteral("The settings could not be saved in ") +
               QString::fromStdString(folder.Paths().files.settingsFile) + QStringLiteral(": ")),
           qPrintable(prompts.Boxes()[0].text));
  QCOMPARE(prompts.Boxes()[0].icon, gui::BoxIcon::Exclamation);
  // The choice still holds for this session.
  QCOMPARE(window.Settings().comDevices.For(1), std::string("/dev/ttyUSB0"));
}

// QuietWindow from the settings file reaches the engine of a backup. COM1
// leads nowhere, so the backup ends at once with its port error.
void MainWindowTest::theQuietWindowReachesTheEngine() {
  GuiFolder folder;
  folder.AppendSetting("Settings", "QuietWindow", "25");
  folder.AppendSetting("Ports", "COM1", folder.File("no-such-tty"));
  ScriptedPrompts prompts;
  gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
  long quietWindow = -1;
  prompts.OnBox([&quietWindow](const ScriptedPrompts::Shown&) {
    if (auto* dialog = qobject_cast<gui::ProgressDialog*>(QApplication::activeModalWidget())) {
      quietWindow = dialog->Engine().Link().QuietWindow();
    }
  });
  prompts.SetSavePath(QString::fromStdString(folder.File("q.bkf")));
  Child<QPushButton>(window, "backupButton")->click();
  QCOMPARE(prompts.Captions(), (QStringList{"Information", "Error"}));
  QCOMPARE(quietWindow, 25L);
}

// Today's archive is there already (and its first numbered successor): the
// dialog offers the next free name, so that Enter does not replace it.
void MainWindowTest::theProposedNameNeverReplacesABackup() {
  GuiFolder folder;
  ScriptedPrompts prompts;
  platform::VirtualClock clock;
  clock.SetLocalTime("20261211");
  gui::MainDialog window(folder.Paths(), prompts, clock);
  const std::string backupDir = folder.Paths().files.backupDir;
  const struct {
    const char* existing;  // made before the dialog opens; nullptr: none
    const char* proposed;
  } steps[] = {
      {nullptr, "20261211.bkf"},
      {"20261211.bkf", "20261211-2.bkf"},
      {"20261211-2.bkf", "20261211-3.bkf"},
  };
  for (const auto& step : steps) {
    if (step.existing != nullptr) std::ofstream(backupDir + "/" + step.existing) << "kept";
    prompts.Clear();
    Child<QPushButton>(window, "backupButton")->click();
    QCOMPARE(prompts.FileRequests().size(), std::size_t{1});
    QCOMPARE(prompts.FileRequests()[0].proposedName, QString::fromLatin1(step.proposed));
  }
}

// The box after a failed run tells what the system said about the port and
// what to try, as the command line does, below the status text.
void MainWindowTest::aPortThatIsNotThereIsExplainedInTheFailureBox() {
  GuiFolder folder;
  const std::string device = folder.File("no-such-tty");
  folder.AppendSetting("Settings", "COMPort", "2");
  folder.AppendSetting("Ports", "COM2", device);
  ScriptedPrompts prompts;
  gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
  prompts.SetSavePath(QString::fromStdString(folder.File("never.bkf")));
  Child<QPushButton>(window, "backupButton")->click();
  QCOMPARE(prompts.Captions(), (QStringList{"Information", "Error"}));
  const ScriptedPrompts::Shown& box = prompts.Boxes()[1];
  QCOMPARE(box.text, QStringLiteral("Error opening COM2."));
  QVERIFY2(box.detail.startsWith(QStringLiteral("Cause: ")), qPrintable(box.detail));
  QVERIFY2(box.detail.contains(QString::fromStdString(device) +
                               QStringLiteral(": No such file or directory")),
           qPrintable(box.detail));
  QVERIFY2(box.detail.contains(QStringLiteral("Try: check the port")), qPrintable(box.detail));
  // A dialog has no options to give: its advice names its own controls.
  QVERIFY2(box.detail.contains(QStringLiteral("COM port...")), qPrintable(box.detail));
  QVERIFY2(!box.detail.contains(QStringLiteral("--")), qPrintable(box.detail));
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::MainWindowTest)
#include "main_window_test.moc"
