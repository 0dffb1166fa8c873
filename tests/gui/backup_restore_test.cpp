// SPDX-License-Identifier: GPL-3.0-or-later
// A whole backup and restore started from the main window's buttons, against
// the simulated organizer on a pseudo-terminal, an abort in the middle of a
// later backup, and a restore verified by reading the organizer back.

#include <QComboBox>
#include <QItemSelectionModel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>

#include "archive_viewer.h"
#include "com_port_dialog.h"
#include "gui_fixture.h"
#include "main_dialog.h"
#include "progress_dialog.h"
#include "scripted_prompts.h"
#include "sim/pty_service.h"
#include "sim/state_file.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/checked_archive.h"
#include "support/temp_dir.h"
#include "ui/verify_report.h"

namespace orgalink::guitest {

namespace {

QByteArray Contents(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What `orgalink inspect` prints for an archive, or the failure.
QString Inspect(const std::string& path) {
  QProcess inspect;
  inspect.start(QStringLiteral(ORGALINK_CLI),
                {QStringLiteral("inspect"), QString::fromStdString(path)});
  if (!inspect.waitForFinished(20000) || inspect.exitCode() != 0) {
    return QStringLiteral("failed: ") + QString::fromLocal8Bit(inspect.readAllStandardError());
  }
  return QString::fromLocal8Bit(inspect.readAllStandardOutput());
}

// "Telephone: 24 records" for each application the archive at `path` holds,
// read from the file itself.
QStringList RecordLines(const std::string& path) {
  store::CheckedArchive archive;
  if (store::ReadArchiveFile(path, archive) != store::StoreOk) return {"unreadable"};
  QStringList lines;
  for (const store::ArchiveSection& section : archive.image.sections) {
    lines << QString::fromStdString(store::ApplicationName(section.application)) +
                 QStringLiteral(": %1 record%2")
                     .arg(section.count)
                     .arg(QLatin1String(section.count == 1 ? "" : "s"));
  }
  return lines;
}

// The result box names the archive first, then the records of each
// application it holds, then the time taken.
void CheckSummary(const QString& summary, const QString& firstLine, const std::string& archive) {
  QVERIFY2(summary.startsWith(firstLine + QLatin1Char('\n')), qPrintable(summary));
  const QStringList lines = RecordLines(archive);
  QCOMPARE(lines.size(), 7);
  for (const QString& line : lines) {
    QVERIFY2(summary.contains(QLatin1Char('\n') + line + QLatin1Char('\n')),
             qPrintable(line + QLatin1String(" in ") + summary));
  }
  QVERIFY2(QRegularExpression(QStringLiteral("\nTime taken: \\d+\\.\\d s(\n|$)"))
               .match(summary)
               .hasMatch(),
           qPrintable(summary));
}

// The simulated organizer on a pseudo-terminal, with `faults`, behind COM1
// of `folder`'s settings; null, after saying why, when it cannot start.
std::unique_ptr<sim::PtyService> OrganizerOnCom1(GuiFolder& folder,
                                                 const sim::SimFaults& faults = {}) {
  sim::SimOptions options;
  options.table_directory = folder.Paths().dataDirectory;
  options.faults = faults;
  std::string error;
  auto organizer = sim::PtyService::Start(options, error);
  if (!organizer) {
    qWarning("%s", error.c_str());
    return nullptr;
  }
  folder.AppendSetting("Ports", "COM1", organizer->DevicePath());
  return organizer;
}

// A copy of the sample archive in `folder`: a restore's safety backup goes
// where the archive opened lies, which must not be the source tree.
std::string SampleCopy(const GuiFolder& folder) {
  const std::string archive = folder.File("sample.bkf");
  std::filesystem::copy_file(ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf", archive);
  return archive;
}

}  // namespace

class BackupRestoreTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void backupAndRestoreFromTheButtons();
  void anAbortInTheMiddleOfABackupKeepsTheArchiveBefore();
  void autoDetectFindsTheOrganizerBehindCom3();
  void aFirstRunKeepsTheDeviceChosenForCom1();
  void aVerifiedRestoreReportsWhatTheOrganizerHolds();
  void aRestoreThatFailsAfterDeletingOffersItsSafetyArchive();
  void recordsPutBackFromTheViewerJoinTheOrganizersOwn();
  void cleanupTestCase();

 private:
  // Clicks the button and returns once its flow has ended.
  void Click(const char* button);

  GuiFolder folder_;
  ScriptedPrompts prompts_;
  std::unique_ptr<sim::PtyService> organizer_;
  std::unique_ptr<gui::MainDialog> window_;
};

void BackupRestoreTest::initTestCase() {
  organizer_ = OrganizerOnCom1(folder_);
  QVERIFY(organizer_ != nullptr);
  folder_.AppendSetting("Path", "LogFileName", folder_.File("comm.log"));
  window_ = std::make_unique<gui::MainDialog>(folder_.Paths(), prompts_,
                                              platform::SystemClock::Instance());
  window_->show();
}

void BackupRestoreTest::cleanupTestCase() {
  window_.reset();
  organizer_.reset();
}

void BackupRestoreTest::Click(const char* button) {
  prompts_.Clear();
  Child<QPushButton>(*window_, button)->click();
}

void BackupRestoreTest::backupAndRestoreFromTheButtons() {
  const std::string first = folder_.File("first.bkf");
  QString progressTitle;
  prompts_.OnBox([&progressTitle](const ScriptedPrompts::Shown&) {
    if (auto* dialog = qobject_cast<gui::ProgressDialog*>(QApplication::activeModalWidget())) {
      progressTitle = dialog->windowTitle();
    }
  });
  prompts_.SetSavePath(QString::fromStdString(first));
  Click("backupButton");
  prompts_.OnBox({});
  // With a log the operation's own success note comes first, then the result.
  QCOMPARE(prompts_.Captions(), (QStringList{"Information", "Backup", "Backup"}));
  QVERIFY(prompts_.Boxes()[1].text.startsWith(QLatin1String("SUCCESS Backup\nTime:")));
  CheckSummary(prompts_.Boxes()[2].text,
               QStringLiteral("Backup written to ") + QString::fromStdString(first), first);
  QVERIFY(prompts_.Boxes()[2].icon == gui::BoxIcon::Information);
  // With a log the negotiation tags the dialog with the organizer's model.
  QCOMPARE(progressTitle, QStringLiteral("<M> PC Interface Software for Brelan Pellico (Backup)"));
  const QString listing = Inspect(first);
  QVERIFY2(listing.contains(QLatin1String("Telephone")), qPrintable(listing));
  QVERIFY2(listing.contains(QLatin1String("Memo")), qPrintable(listing));

  prompts_.SetOpenPath(QString::fromStdString(first));
  Click("restoreButton");
  QCOMPARE(prompts_.Captions(), (QStringList{"Restore", "Information", "Restore", "Restore"}));
  QVERIFY(prompts_.Boxes()[2].text.startsWith(QLatin1String("SUCCESS Restore\nTime:")));
  // Before deleting anything the restore kept what the organizer held, and
  // the result says where.
  std::vector<std::string> safetyCopies;
  for (const auto& entry : std::filesystem::directory_iterator(window_->Settings().backupDir)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("before-restore-") && name.ends_with(".bkf")) {
      safetyCopies.push_back(entry.path().string());
    }
  }
  QCOMPARE(safetyCopies.size(), std::size_t{1});
  const QString restored = prompts_.Boxes()[3].text;
  CheckSummary(restored, QStringLiteral("Restored ") + QString::fromStdString(first), first);
  QVERIFY2(
      restored.endsWith(QStringLiteral("\nSafety backup of the organizer before the restore: ") +
                        QString::fromStdString(safetyCopies[0])),
      qPrintable(restored));

  // What went back comes out again.
  const std::string again = folder_.File("again.bkf");
  prompts_.SetSavePath(QString::fromStdString(again));
  Click("backupButton");
  QCOMPARE(prompts_.Captions(), (QStringList{"Information", "Backup", "Backup"}));
  QCOMPARE(Contents(again), Contents(first));
  // The archive dialogs open where the last archive went.
  QCOMPARE(window_->Settings().backupDir, std::filesystem::path(again).parent_path().string());
}

void BackupRestoreTest::anAbortInTheMiddleOfABackupKeepsTheArchiveBefore() {
  const std::string target = folder_.File("first.bkf");
  const QByteArray before = Contents(target);
  QVERIFY(!before.isEmpty());
  const QByteArray organizer = Contents(folder_.File("again.bkf"));

  // Abort once the bar is well into the applications.
  QTimer watch;
  int abortedAt = -1;
  connect(&watch, &QTimer::timeout, this, [&] {
    auto* dialog = qobject_cast<gui::ProgressDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || dialog->BarPosition() < 50) return;
    abortedAt = dialog->BarPosition();
    watch.stop();
    Child<QPushButton>(*dialog, "abortButton")->click();
  });
  watch.start(10);
  prompts_.SetSavePath(QString::fromStdString(target));
  Click("backupButton");
  QVERIFY(abortedAt >= 50 && abortedAt < 100);
  QCOMPARE(prompts_.Captions(), (QStringList{"Information", "Abort"}));
  QCOMPARE(prompts_.Boxes()[1].text, QStringLiteral("User aborted."));
  QCOMPARE(Contents(target), before);

  // The organizer was released: the next backup goes through.
  const std::string next = folder_.File("next.bkf");
  prompts_.SetSavePath(QString::fromStdString(next));
  Click("backupButton");
  QCOMPARE(prompts_.Captions(), (QStringList{"Information", "Backup", "Backup"}));
  QCOMPARE(Contents(next), organizer);
}

void BackupRestoreTest::autoDetectFindsTheOrganizerBehindCom3() {
  // The user maps COM1 to a device that is not there and COM3 to the
  // organizer's line, and lets the search find it.
  const QString organizer = QString::fromStdString(organizer_->DevicePath());
  QString checked;
  WhenUp<gui::ComPortDialog>(this, [this, organizer, &checked](gui::ComPortDialog& dialog) {
    Child<QComboBox>(dialog, "com1Device")->setEditText(QStringLiteral("/nonexistent/tty"));
    Child<QComboBox>(dialog, "com3Device")->setEditText(organizer);
    WhenUp<gui::AutoDetectDialog>(this, [](gui::AutoDetectDialog& detect) {
      Child<QPushButton>(detect, "proceedButton")->click();
    });
    Child<QPushButton>(dialog, "autoDetectButton")->click();
    checked = Child<QRadioButton>(dialog, "com3Radio")->isChecked() ? "COM3" : "other";
    Child<QPushButton>(dialog, "okButton")->click();
  });
  Click("comPortButton");
  QCOMPARE(prompts_.Captions(), QStringList{"Auto Detect"});
  QCOMPARE(prompts_.Boxes()[0].text, QStringLiteral("Organizer detected on COM3."));
  QCOMPARE(checked, QStringLiteral("COM3"));
  QCOMPARE(window_->Settings().comPort, 3);
  QCOMPARE(folder_.StoredSetting("Ports", "COM3").value_or("none"), organizer_->DevicePath());

  // The next backup goes through COM3.
  const std::string viaCom3 = folder_.File("via-com3.bkf");
  prompts_.SetSavePath(QString::fromStdString(viaCom3));
  Click("backupButton");
  QCOMPARE(prompts_.Captions(), (QStringList{"Information", "Backup", "Backup"}));
  QCOMPARE(Contents(viaCom3), Contents(folder_.File("again.bkf")));
}

// A user who starts with the dialogs has no settings file, nor its folder.
// The device chosen for COM1 is in the file as soon as the COM port dialog
// closes, and the first backup goes through it.
void BackupRestoreTest::aFirstRunKeepsTheDeviceChosenForCom1() {
  GuiFolder fresh("config/orgalink/Orgalink.ini");
  gui::MainDialog window(fresh.Paths(), prompts_, platform::SystemClock::Instance());
  window.show();
  const QString organizer = QString::fromStdString(organizer_->DevicePath());
  WhenUp<gui::ComPortDialog>(this, [organizer](gui::ComPortDialog& dialog) {
    Child<QComboBox>(dialog, "com1Device")->setEditText(organizer);
    Child<QPushButton>(dialog, "okButton")->click();
  });
  prompts_.Clear();
  Child<QPushButton>(window, "comPortButton")->click();
  QVERIFY(prompts_.Boxes().empty());
  QCOMPARE(fresh.StoredSetting("Ports", "COM1").value_or("none"), organizer_->DevicePath());
  QCOMPARE(fresh.StoredSetting("Settings", "COMPort").value_or("none"), std::string("1"));

  const std::string archive = fresh.File("first-run.bkf");
  prompts_.SetSavePath(QString::fromStdString(archive));
  prompts_.Clear();
  Child<QPushButton>(window, "backupButton")->click();
  // Without a log only the result follows the instructions.
  QCOMPARE(prompts_.Captions(), (QStringList{"Information", "Backup"}));
  QCOMPARE(Contents(archive), Contents(folder_.File("again.bkf")));
}

// With VerifyRestore=1 a restore is followed by a read-back, and the user
// is told whether the organizer holds what the archive holds: against an
// organizer that keeps everything, and one that acknowledges the first
// record it takes but loses it.
void BackupRestoreTest::aVerifiedRestoreReportsWhatTheOrganizerHolds() {
  const struct {
    int dropRecord;
    QString report;
    gui::BoxIcon icon;
  } cases[] = {
      {0, QStringLiteral("Verified: 58 records in 7 applications match"),
       gui::BoxIcon::Information},
      {1,
       QStringLiteral("Telephone differs: 24 records in the archive, 23 on the organizer; 1 only "
                      "in the archive, 0 only on the organizer\nVerify failed: the organizer does "
                      "not hold what the archive holds."),
       gui::BoxIcon::Exclamation},
  };
  for (const auto& c : cases) {
    GuiFolder folder;
    sim::SimFaults faults;
    faults.drop_record = c.dropRecord;
    const auto organizer = OrganizerOnCom1(folder, faults);
    QVERIFY(organizer != nullptr);
    folder.AppendSetting("Settings", "VerifyRestore", "1");
    gui::MainDialog window(folder.Paths(), prompts_, platform::SystemClock::Instance());
    window.show();
    prompts_.SetOpenPath(QString::fromStdString(SampleCopy(folder)));
    prompts_.Clear();
    Child<QPushButton>(window, "restoreButton")->click();
    QCOMPARE(prompts_.Captions(),
             (QStringList{"Restore", "Information", "Restore", "Restore", "Restore"}));
    QVERIFY(prompts_.Boxes()[2].text.startsWith(QLatin1String("Restored ")));
    QCOMPARE(prompts_.Boxes()[3].text, QString::fromLatin1(ui::kVerifyInstruction));
    QCOMPARE(prompts_.Boxes().back().text, c.report);
    QVERIFY(prompts_.Boxes().back().icon == c.icon);
  }
}

// An organizer that answers the eighth ACK with NACK fails every restore
// once its applications are deleted. The box after the failure names the
// safety archive and offers it; Yes restores that file without asking for
// one, and the offer after the next failure names that run's own copy.
void BackupRestoreTest::aRestoreThatFailsAfterDeletingOffersItsSafetyArchive() {
  GuiFolder folder;
  sim::SimFaults faults;
  faults.nack_at_ack = 8;
  const auto organizer = OrganizerOnCom1(folder, faults);
  QVERIFY(organizer != nullptr);
  gui::MainDialog window(folder.Paths(), prompts_, platform::SystemClock::Instance());
  window.show();
  const std::string archive = SampleCopy(folder);
  prompts_.SetOpenPath(QString::fromStdString(archive));
  prompts_.Clear();
  using gui::BoxAnswer;
  prompts_.QueueAnswers({BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::Ok, BoxAnswer::Yes,
                         BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::Ok, BoxAnswer::No});
  Child<QPushButton>(window, "restoreButton")->click();

  QCOMPARE(prompts_.Captions(), (QStringList{"Restore", "Information", "Error", "Restore",
                                             "Restore", "Information", "Error", "Restore"}));
  QCOMPARE(prompts_.FileRequests().size(), std::size_t{1});
  const QRegularExpression offer(QStringLiteral(
      "^The restore failed after it began to empty the organizer\\. Its contents before the "
      "restore are in the safety backup (.*before-restore-[0-9-]+\\.bkf)\nRestore that safety "
      "backup now\\?$"));
  const auto first = offer.match(prompts_.Boxes()[3].text);
  const auto second = offer.match(prompts_.Boxes()[7].text);
  QVERIFY2(first.hasMatch(), qPrintable(prompts_.Boxes()[3].text));
  QVERIFY2(second.hasMatch(), qPrintable(prompts_.Boxes()[7].text));
  QVERIFY(prompts_.Boxes()[3].buttons == gui::BoxButtons::YesNo);
  QVERIFY(std::filesystem::exists(first.captured(1).toStdString()));
  QVERIFY(first.captured(1) != second.captured(1));
}

// The organizer lost two Telephone entries that the sample archive holds.
// Chosen in the viewer and put back, they join the 22 it kept; nothing else
// on the organizer changes.
void BackupRestoreTest::recordsPutBackFromTheViewerJoinTheOrganizersOwn() {
  GuiFolder folder;
  const sim::TelephoneSort sort = sim::TelephoneSort::FromDirectory(folder.Paths().dataDirectory);
  const std::string archive = SampleCopy(folder);
  sim::OrganizerContents sample;
  std::string error;
  QVERIFY2(sim::LoadOrganizerFile(archive, sort, sample, error), error.c_str());
  const std::vector<sim::Record> telephone = sample.Records(store::Telephone);
  sim::OrganizerContents lost = sample;
  lost.Clear(store::Telephone);
  for (std::size_t i = 0; i < telephone.size(); ++i) {
    if (i != 2 && i != 4) lost.Add(store::Telephone, telephone[i], sort);
  }
  const std::string before = folder.File("organizer.bkf");
  QVERIFY2(sim::SaveOrganizerFile(before, lost, error), error.c_str());

  sim::SimOptions options;
  options.table_directory = folder.Paths().dataDirectory;
  options.sample_file = before;
  options.state_file = folder.File("state.bkf");
  auto organizer = sim::PtyService::Start(options, error);
  QVERIFY2(organizer != nullptr, error.c_str());
  folder.AppendSetting("Ports", "COM1", organizer->DevicePath());
  gui::MainDialog window(folder.Paths(), prompts_, platform::SystemClock::Instance());
  gui::ArchiveViewer* viewer = window.OpenViewer(QString::fromStdString(archive));

  auto* applications = Child<QTreeWidget>(*viewer, "applications");
  QCOMPARE(applications->currentItem()->text(0), QStringLiteral("Telephone"));
  auto* table = Child<QTableView>(*viewer, "records");
  for (const int row : {2, 4}) {
    table->selectionModel()->select(table->model()->index(row, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  prompts_.Clear();
  using gui::BoxAnswer;
  prompts_.QueueAnswers({BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::Ok});
  Child<QPushButton>(*viewer, "putBackButton")->click();

  QCOMPARE(prompts_.Captions(), (QStringList{"Restore", "Information", "Restore"}));
  QVERIFY2(prompts_.Boxes()[0].text.startsWith(
               QStringLiteral("Put 2 records back into Telephone on the organizer?")),
           qPrintable(prompts_.Boxes()[0].text));
  const QString result = prompts_.Boxes()[2].text;
  QVERIFY2(result.startsWith(QStringLiteral("Merged ") + QString::fromStdString(archive)),
           qPrintable(result));
  QVERIFY2(result.contains(QStringLiteral("Telephone: 22 kept, 2 added")), qPrintable(result));

  organizer.reset();  // the organizer keeps its contents in the state file
  sim::OrganizerContents after;
  QVERIFY2(sim::LoadOrganizerFile(options.state_file, sort, after, error), error.c_str());
  QVERIFY(after == sample);
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::BackupRestoreTest)
#include "backup_restore_test.moc"
