// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_dialog.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>

#include "about_dialog.h"
#include "app_icon.h"
#include "archive_selection.h"
#include "archive_viewer.h"
#include "dialog_controls.h"
#include "dialog_prompter.h"
#include "logo.h"
#include "operations/merge_report.h"
#include "progress_dialog.h"
#include "store/appli_kind.h"
#include "store/archive_limits.h"
#include "store/checked_archive.h"
#include "store/record_comparison.h"
#include "texts.h"
#include "ui/instruction_texts.h"
#include "ui/put_back_question.h"
#include "ui/recent_archives.h"
#include "ui/run_summary.h"
#include "ui/safe_restore_texts.h"
#include "ui/safety_restore_offer.h"
#include "ui/settings.h"
#include "ui/status_messages.h"
#include "ui/verify_report.h"

namespace orgalink::gui {

namespace {

constexpr const char* kBackupDescription =
    "Backs up all your Organizer data into a single\r\narchive file that is stored on your "
    "PC.\r\nYou can later RESTORE this file to an empty\r\nyour Organizer if necessary.\r\nYou "
    "CANNOT view or edit this file.";
constexpr const char* kRestoreDescription =
    "Restores data from a backup file into a\r\nyour Organizer. This will replace any "
    "data\r\nthat may be in your Organizer.";

QPushButton* AddLargeButton(QDialog& dialog, const DialogUnits& units, const char* text,
                            const char* name, UnitRect place) {
  QPushButton* button = AddButton(dialog, units, QString::fromLatin1(text), place);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

QPlainTextEdit* AddDescription(QDialog& dialog, const DialogUnits& units, const char* text,
                               const char* name, UnitRect place) {
  auto* edit = new QPlainTextEdit(&dialog);
  edit->setGeometry(units.Rect(place.x, place.y, place.width, place.height));
  edit->setReadOnly(true);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->document()->setDocumentMargin(1);
  // The texts break their lines the Windows way; the edit wants '\n'.
  edit->setPlainText(
      QString::fromLatin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  return edit;
}

}  // namespace

MainDialog::MainDialog(GuiPaths paths, UserPrompts& prompts, platform::Clock& clock)
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      paths_(std::move(paths)),
      prompts_(prompts),
      clock_(clock),
      settingsFile_(paths_.files),
      settings_(settingsFile_.Values()),
      recent_(ui::ReadRecentArchives(settingsFile_.Path())) {
  const DialogUnits units = SetUpFixedDialog(*this, 226, 182);
  setWindowIcon(AppIcon());

  QPushButton* exit = AddButton(*this, units, QStringLiteral("E&xit"), {169, 161, 50, 14});
  exit->setObjectName(QStringLiteral("exitButton"));
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  connect(AddLargeButton(*this, units, "&Backup", "backupButton", {7, 35, 50, 34}),
          &QPushButton::clicked, this, &MainDialog::OnBackup);
  connect(AddLargeButton(*this, units, "&Restore", "restoreButton", {7, 88, 50, 34}),
          &QPushButton::clicked, this, &MainDialog::OnRestore);
  connect(AddLargeButton(*this, units, "&COM port...", "comPortButton", {7, 141, 50, 34}),
          &QPushButton::clicked, this, &MainDialog::OnComPort);
  // Beside Exit, in the free corner under the descriptions: the archives
  // are looked at more often than the window menu is found.
  connect(AddLargeButton(*this, units, "&View archive...", "viewArchiveButton", {99, 161, 65, 14}),
          &QPushButton::clicked, this, &MainDialog::OnViewArchive);

  // The logo is painted over the place of a hidden control.
  logoRect_ = units.Rect(7, 1, 97, 17);
  logoFont_ = FitLogoFont(*this, logoRect_.width());

  AddDescription(*this, units, kBackupDescription, "backupDescription", {65, 35, 154, 44});
  AddDescription(*this, units, kRestoreDescription, "restoreDescription", {65, 88, 154, 44});

  ui::CreateBackupDir(settings_);
  ui::CreateLogFolder(settingsFile_.Where(), settings_);

  setWindowTitle(QString::fromLatin1(kAppTitle));
}

// Ending on a signal leaves the window without done(); what it changed is
// still kept, though there is no one left to tell of a failure.
MainDialog::~MainDialog() {
  std::string problem;
  settingsFile_.Save(settings_, problem);
}

void MainDialog::done(int result) {
  SaveSettings();
  QDialog::done(result);
}

void MainDialog::SaveSettings() {
  std::string problem;
  if (settingsFile_.Save(settings_, problem)) return;
  prompts_.ShowBox(this,
                   {QString::fromStdString(ui::SettingsNotSavedText(settingsFile_.Path(), problem)),
                    QString::fromLatin1(kCaptionError), BoxIcon::Exclamation});
}

void MainDialog::SetPortLister(ComPortDialog::PortLister lister) {
  portLister_ = std::move(lister);
}

void MainDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  PaintLogo(painter, logoRect_, logoFont_);
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
  // The window menu of other systems: the place of "About".
  QMenu menu(this);
  menu.addAction(QStringLiteral("&View archive..."), this, &MainDialog::ViewArchive);
  if (!recent_.empty()) {
    QMenu* recent = menu.addMenu(QStringLiteral("Recent &archives"));
    AddRecentArchives(*recent);
  }
  menu.addAction(QStringLiteral("&About..."), this, &MainDialog::ShowAbout);
  menu.exec(event->globalPos());
}

void MainDialog::ShowAbout() {
  AboutDialog about(this);
  about.exec();
}

void MainDialog::OnViewArchive() {
  if (recent_.empty()) {
    ViewArchive();
    return;
  }
  QMenu menu(this);
  AddRecentArchives(menu);
  const QWidget* button = findChild<QWidget*>(QStringLiteral("viewArchiveButton"));
  menu.exec(button->mapToGlobal(QPoint(0, button->height())));
}

void MainDialog::AddRecentArchives(QMenu& menu) {
  int number = 0;
  for (const std::string& path : recent_) {
    const QString file = QFile::decodeName(path.c_str());
    const QFileInfo info(file);
    // The file's name to choose by, its folder to tell two alike apart.
    QAction* action =
        menu.addAction(QStringLiteral("&%1 %2   (%3)")
                           .arg(++number)
                           .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath())));
    action->setData(file);
    connect(action, &QAction::triggered, this, [this, file] { OpenViewer(file); });
  }
  if (recent_.empty()) return;
  menu.addSeparator();
  menu.addAction(QStringLiteral("&Other archive..."), this, &MainDialog::ViewArchive);
}

void MainDialog::RememberArchive(const std::string& path) {
  // Absolute, so that the list means the same whatever folder runs it next.
  const QString absolute = QFileInfo(QFile::decodeName(path.c_str())).absoluteFilePath();
  recent_ = ui::RememberArchive(std::move(recent_), QFile::encodeName(absolute).toStdString());
  // Only a convenience: a settings file that cannot be written is told of
  // when the window closes, not after every archive.
  ui::SaveRecentArchives(settingsFile_.Path(), recent_);
}

void MainDialog::ViewArchive() {
  // Only looking: the folder chosen is not kept as BackupDir.
  std::string folder = settings_.backupDir;
  std::string path;
  if (!SelectBackupFileToOpen(prompts_, this, folder, path)) return;
  OpenViewer(QFile::decodeName(path.c_str()));
}

ArchiveViewer* MainDialog::OpenViewer(const QString& path) {
  RememberArchive(QFile::encodeName(path).toStdString());
  // Owned by this window, so that its modal run leaves the viewer usable.
  ArchiveViewer* viewer = OpenArchiveViewer(this, prompts_, paths_.dataDirectory, path);
  connect(viewer, &ArchiveViewer::PutBackRequested, this, &MainDialog::PutBack);
  return viewer;
}

void MainDialog::PutBack(const PutBackRequest& request) {
  if (!SettingsUsable()) return;
  QWidget* viewer = qobject_cast<QWidget*>(sender());
  QWidget* over = viewer != nullptr ? viewer : this;
  const std::string question = ui::PutBackQuestion(request.applicationName, request.descriptions);
  if (prompts_.ShowBox(over,
                       {QString::fromStdString(question), QString::fromLatin1(ui::kRestoreCaption),
                        BoxIcon::Question, BoxButtons::YesNo}) != BoxAnswer::Yes) {
    return;
  }
  store::ArchiveRecords records;
  if (!RecordsToPutBack(request, records)) return;
  if (!PowerCycleAcknowledged()) return;
  // Every application is read into the safety archive, not only the one
  // merged into: the archive offered after a failure then restores whole.
  session::SessionRequest merge =
      MakeRequest(settings::RunMode::Restore, QFile::encodeName(request.archive).toStdString());
  operations::PlannedRestore planned;
  planned.records = std::move(records);
  merge.planned = std::move(planned);
  const session::SessionOutcome outcome = RunProgressDialog(std::move(merge));
  if (!outcome.Ok()) RestoreInTurn(OfferSafetyArchive(outcome));
}

bool MainDialog::RecordsToPutBack(const PutBackRequest& request, store::ArchiveRecords& records) {
  store::ArchiveRecords archive;
  if (!ArchiveUsable(QFile::encodeName(request.archive).toStdString(), &archive)) return false;
  const store::RecordList* section = archive.Find(request.application);
  store::RecordList chosen;
  for (const std::size_t record : request.records) {
    // The file changed since the viewer read it: nothing is guessed.
    if (section == nullptr || record >= section->size()) {
      prompts_.ShowBox(this, {QStringLiteral("%1 has changed since it was opened; open it again.")
                                  .arg(request.archive),
                              QString::fromLatin1(kCaptionError), BoxIcon::Exclamation});
      return false;
    }
    chosen.push_back((*section)[record]);
  }
  records.device = archive.device;
  records.sections.emplace_back(request.application, std::move(chosen));
  return true;
}

// A settings file holding a value no run can use (a time-out of "abc", a
// DeviceCode of 7) stops the run before anything is asked, naming the key.
bool MainDialog::SettingsUsable() {
  const std::string problems = ui::SettingsProblemsText(settingsFile_);
  if (problems.empty()) return true;
  prompts_.ShowBox(this, {QString::fromStdString(problems), QString::fromLatin1(kCaptionError),
                          BoxIcon::Exclamation});
  return false;
}

void MainDialog::OnBackup() {
  if (!SettingsUsable()) return;
  std::string path;
  bool dated = false;
  if (!SelectBackupFileToSave(prompts_, this, clock_, settings_.backupDir, path, &dated)) return;
  if (!PowerCycleAcknowledged()) return;
  // The dated name was free when proposed; should another backup take it
  // meanwhile, this one moves on to the next number instead of replacing it.
  RunProgressDialog(settings::RunMode::Backup, path, dated);
}

// The archive chosen for a restore is judged as every command judges it
// before anything is asked: one the organizer could not take (a foreign
// file, an application over its limits) is refused with why. One that
// cannot be read at all is left to the restore, which offers Retry.
bool MainDialog::ArchiveUsable(const std::string& path, store::ArchiveRecords* records) {
  store::CheckedArchive checked;
  const store::StoreResult read = store::ReadArchiveFile(path, checked, &store::ArchiveDeviceCode);
  if (read == store::StoreOk) {
    if (records != nullptr) store::ReadArchiveRecords(checked.image, *records);
    return true;
  }
  if (read == store::StoreFailed && !checked.read && records == nullptr) return true;
  prompts_.ShowBox(this, {QString::fromLatin1(ui::StatusMessages(link::LinkFileIncompatible)),
                          QString::fromLatin1(kCaptionError), BoxIcon::Exclamation, BoxButtons::Ok,
                          QString::fromStdString(checked.message)});
  return false;
}

void MainDialog::OnRestore() {
  if (!SettingsUsable()) return;
  std::string path;
  if (!SelectBackupFileToOpen(prompts_, this, settings_.backupDir, path)) return;
  RestoreInTurn(path);
}

// A restore that fails half way may offer its safety archive, which is
// restored in turn, and so on until the user declines or one goes through.
void MainDialog::RestoreInTurn(std::string path) {
  while (!path.empty()) path = RestoreArchive(path);
}

std::string MainDialog::RestoreArchive(const std::string& path) {
  if (!ArchiveUsable(path, nullptr)) return {};
  if (!DialogPrompter(this, prompts_).Confirm(ui::kRestoreQuestion, ui::kRestoreCaption)) return {};
  if (!PowerCycleAcknowledged()) return {};
  RememberArchive(path);
  const session::SessionOutcome restored = RunProgressDialog(settings::RunMode::Restore, path);
  if (restored.Ok()) {
    if (settings_.verifyRestore != 0) VerifyRestore(path);
    return {};
  }
  return OfferSafetyArchive(restored);
}

std::string MainDialog::OfferSafetyArchive(const session::SessionOutcome& failed) {
  const ui::SafetyCopy copy = session::SafetyCopyOf(failed);
  const std::string question = ui::SafetyRestoreQuestion(copy);
  if (!question.empty()) {
    const BoxAnswer answer = prompts_.ShowBox(
        this, {QString::fromStdString(question), QString::fromLatin1(ui::kRestoreCaption),
               BoxIcon::Question, BoxButtons::YesNo});
    return answer == BoxAnswer::Yes ? copy.writtenTo : std::string();
  }
  const std::string note = ui::SafetyNote(copy, ui::RestoreFront::Dialog);
  if (!note.empty()) {
    prompts_.ShowBox(this, {QString::fromStdString(note), QString::fromLatin1(ui::kRestoreCaption),
                            BoxIcon::Exclamation});
  }
  return {};
}

void MainDialog::VerifyRestore(const std::string& path) {
  store::ArchiveRecords archive;
  if (!ArchiveUsable(path, &archive)) return;
  if (prompts_.ShowBox(this, {QString::fromLatin1(ui::kVerifyInstruction),
                              QString::fromLatin1(ui::kRestoreCaption), BoxIcon::Information}) !=
      BoxAnswer::Ok) {
    return;
  }
  ProgressDialog dialog(this, prompts_, clock_, paths_.dataDirectory);
  session::SessionRequest readBack = MakeRequest(settings::RunMode::Backup, {});
  readBack.verifyAgainst = std::move(archive);
  dialog.ConfigureRun(settings_, std::move(readBack));
  const session::SessionOutcome outcome = dialog.Run();
  if (!outcome.verified) return;
  const auto& compared = *outcome.verified;
  prompts_.ShowBox(this, {QString::fromStdString(ui::VerifyReport(compared)),
                          QString::fromLatin1(ui::kRestoreCaption),
                          ui::AllMatch(compared) ? BoxIcon::Information : BoxIcon::Exclamation});
}

bool MainDialog::PowerCycleAcknowledged() {
  return prompts_.ShowBox(this, {QString::fromLatin1(ui::kPowerCycleInstructions),
                                 QString::fromLatin1(kCaptionInformation), BoxIcon::Information}) ==
         BoxAnswer::Ok;
}

session::SessionOutcome MainDialog::RunProgressDialog(settings::RunMode runMode,
                                                      const std::string& path, bool numbered) {
  session::SessionRequest request = MakeRequest(runMode, path);
  request.numberedArchive = numbered;
  return RunProgressDialog(std::move(request));
}

session::SessionOutcome MainDialog::RunProgressDialog(session::SessionRequest request) {
  const settings::RunMode runMode = request.runMode;
  const std::string asked = request.archive;
  ProgressDialog dialog(this, prompts_, clock_, paths_.dataDirectory);
  dialog.ConfigureRun(settings_, std::move(request));
  const session::SessionOutcome outcome = dialog.Run();
  if (!outcome.Ok()) return outcome;
  if (runMode == settings::RunMode::Backup && !outcome.archive.empty()) {
    RememberArchive(outcome.archive);
  }
  ShowSummary(runMode, outcome, asked);
  return outcome;
}

// The progress dialog closes on success without a word; the box after it
// tells what the command line prints: where the archive is, what it holds,
// how long it took and where a restore kept the organizer's former contents.
void MainDialog::ShowSummary(settings::RunMode runMode, const session::SessionOutcome& outcome,
                             const std::string& asked) {
  ui::RunFacts facts;
  facts.restore = runMode == settings::RunMode::Restore;
  // A merge reads its archive before the communication and names none to it.
  facts.archive = outcome.archive.empty() ? asked : outcome.archive;
  facts.elapsedMs = outcome.elapsedMs;
  facts.safetyArchive = session::SafetyCopyOf(outcome).writtenTo;
  // The session's counts are those of the file as it lies on disk: what
  // the user will restore one day.
  facts.counts = outcome.counts;
  facts.readBackProblem = outcome.countsUnread;
  if (outcome.plan) facts.mergeLines = operations::RestorePlanLines(*outcome.plan, true);
  const char* caption = facts.restore ? ui::kRestoreCaption : kCaptionBackup;
  prompts_.ShowBox(this,
                   {QString::fromStdString(ui::RunSummary(facts)), QString::fromLatin1(caption),
                    facts.readBackProblem.empty() ? BoxIcon::Information : BoxIcon::Exclamation});
}

// What this window asks for a backup or a restore: every application, and
// for a restore a safety archive first unless SafetyBackup=0.
session::SessionRequest MainDialog::MakeRequest(settings::RunMode runMode,
                                                const std::string& path) const {
  session::SessionRequest request;
  request.runMode = runMode;
  request.application = "ALL";
  request.archive = path;
  request.safetyBackup = runMode == settings::RunMode::Restore;
  request.dataDirectory = paths_.dataDirectory;
  return request;
}

void MainDialog::OnComPort() {
  ComPortDialog dialog(this, prompts_, clock_);
  dialog.SetPortLister(portLister_);
  dialog.AutoDetect().SetSettingsFile(settingsFile_.Path());
  dialog.Configure(settings_);
  settings_.comPort = dialog.exec();
  ui::SetPortMap(settings_.comDevices, dialog.Devices());
  SaveSettings();
}

}  // namespace orgalink::gui
