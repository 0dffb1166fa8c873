// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "archive_viewer.h"
#include "com_port_dialog.h"
#include "gui_paths.h"
#include "platform/clock.h"
#include "session/session_outcome.h"
#include "session/session_request.h"
#include "settings/run_settings.h"
#include "store/record_comparison.h"
#include "ui/settings_file.h"
#include "user_prompts.h"

class QMenu;
class QPushButton;

namespace orgalink::gui {

// The program's window: Backup, Restore and COM port, with the painted
// title. It holds the settings from start to exit: read when it is made,
// written back when the user closes it, and the COM port dialog's choice
// at once, so that no backup can run with a choice the file does not hold.
// A write that fails is shown.
class MainDialog : public QDialog {
  Q_OBJECT

 public:
  MainDialog(GuiPaths paths, UserPrompts& prompts, platform::Clock& clock);
  ~MainDialog() override;

  const settings::RunSettings& Settings() const { return settings_; }
  // Offered for the COM port dialog's device lists.
  void SetPortLister(ComPortDialog::PortLister lister);

  void OnBackup();
  void OnRestore();
  void OnComPort();
  void ShowAbout();
  // "View archive...": offers the archives opened or written last, when
  // there are any, else asks for an archive; opens a viewer on it.
  void OnViewArchive();
  // Asks for an archive and opens a viewer on it.
  void ViewArchive();
  // The archives opened or written last, newest first.
  const std::vector<std::string>& RecentArchives() const { return recent_; }
  // A viewer on the archive at `path`, in front; owned by this window.
  ArchiveViewer* OpenViewer(const QString& path);
  // Put back on organizer...: after the user confirms the list, merges the
  // records of `request` into the organizer, which keeps what it holds.
  void PutBack(const PutBackRequest& request);
  // The recent archives as actions that open a viewer on them, then "Other
  // archive..."; nothing when there are none.
  void AddRecentArchives(QMenu& menu);

  // The font the logo is painted in; none when no size fits its rectangle.
  const std::optional<QFont>& LogoFont() const { return logoFont_; }
  const QRect& LogoRect() const { return logoRect_; }

 protected:
  void done(int result) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // False, after saying why, when the archive at `path` is one the
  // organizer could not take; its records go to `records` when given.
  bool ArchiveUsable(const std::string& path, store::ArchiveRecords* records);
  // False, after saying why, when the settings file holds values no run can use.
  bool SettingsUsable();
  // The power-cycle instructions before a run; false unless answered OK.
  bool PowerCycleAcknowledged();
  // What the run left, after telling a successful one's result.
  // `numbered`: the archive's name is the proposed dated one.
  session::SessionOutcome RunProgressDialog(settings::RunMode runMode, const std::string& path,
                                            bool numbered = false);
  // The same of a request made already.
  session::SessionOutcome RunProgressDialog(session::SessionRequest request);
  // The records of `request` as they lie in its archive, for a merge; false
  // after saying why when the archive cannot be had.
  bool RecordsToPutBack(const PutBackRequest& request, store::ArchiveRecords& records);
  // `asked`: the archive the run was asked to write or restore.
  void ShowSummary(settings::RunMode runMode, const session::SessionOutcome& outcome,
                   const std::string& asked);
  // The restore flow from the archive at `path` on; the safety archive to
  // restore next when a failed restore offered it and the user said yes,
  // else empty.
  std::string RestoreArchive(const std::string& path);
  // Restores `path` (nothing when empty), then each safety archive the user
  // takes up after a failure.
  void RestoreInTurn(std::string path);
  // After a failed restore: where the organizer's contents are, offered
  // for restoring at once when the restore had begun to delete; the path
  // the user chose to restore, else empty.
  std::string OfferSafetyArchive(const session::SessionOutcome& failed);
  // After a restore with VerifyRestore=1: reads the organizer back in a
  // second communication and shows whether it holds the archive at `path`.
  void VerifyRestore(const std::string& path);
  session::SessionRequest MakeRequest(settings::RunMode runMode, const std::string& path) const;
  void SaveSettings();
  // Puts `path` first among the recent archives.
  void RememberArchive(const std::string& path);

  GuiPaths paths_;
  UserPrompts& prompts_;
  platform::Clock& clock_;
  ui::SettingsFile settingsFile_;
  settings::RunSettings settings_;
  ComPortDialog::PortLister portLister_;
  std::vector<std::string> recent_;
  QRect logoRect_;
  std::optional<QFont> logoFont_;
};

}  // namespace orgalink::gui
