// SPDX-License-Identifier: GPL-3.0-or-later
// Renders every dialog of orgalink-gui to PNG files for review:
//   render_dialogs OUTPUT-FOLDER
// Run under QT_QPA_PLATFORM=offscreen (tools/render-dialogs does).

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <cstdio>

#include "about_dialog.h"
#include "app_icon.h"
#include "archive_viewer.h"
#include "auto_detect_dialog.h"
#include "com_port_dialog.h"
#include "gui_fixture.h"
#include "main_dialog.h"
#include "platform/clock.h"
#include "progress_dialog.h"
#include "scripted_prompts.h"
#include "texts.h"
#include "ui/required_files.h"

namespace {

using namespace orgalink;

bool Save(QWidget& widget, const QDir& folder, const char* name) {
  widget.ensurePolished();
  const QString path = folder.filePath(QString::fromLatin1(name));
  const bool saved = widget.grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  return saved;
}

// Reports `event` as a worker would and lets the dialog handle it.
void Deliver(gui::LinkDialog& dialog, const link::ProgressEvent& event) {
  dialog.Bridge().Report(event);
  QCoreApplication::sendPostedEvents(&dialog);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_dialogs OUTPUT-FOLDER\n");
    return 2;
  }
  QDir folder(QString::fromLocal8Bit(argv[1]));
  folder.mkpath(QStringLiteral("."));
  guitest::GuiFolder files;
  guitest::ScriptedPrompts prompts;
  platform::Clock& clock = platform::SystemClock::Instance();
  bool ok = true;

  gui::MainDialog main(files.Paths(), prompts, clock);
  ok &= Save(main, folder, "main-window.png");

  gui::AboutDialog about(&main);
  ok &= Save(about, folder, "about.png");

  gui::ProgressDialog progress(&main, prompts, clock);
  settings::RunSettings backup;
  backup.runMode = settings::RunMode::Backup;
  progress.ConfigureRun(backup);
  Deliver(progress, {link::ProgressKind::Status, 100, link::ProgressScope::Operation});
  Deliver(progress, {link::ProgressKind::Progress, 55, link::ProgressScope::Operation});
  ok &= Save(progress, folder, "progress.png");
  // The longest application name the status line can carry.
  Deliver(progress, {link::ProgressKind::Progress, 90, link::ProgressScope::Operation});
  ok &= Save(progress, folder, "progress-last-application.png");

  gui::ComPortDialog comPort(&main, prompts, clock);
  comPort.Configure(main.Settings());
  comPort.SetPortLister([] { return std::vector<std::string>{"/dev/ttyUSB0"}; });
  comPort.show();
  ok &= Save(comPort, folder, "com-port.png");
  comPort.hide();

  gui::AutoDetectDialog& detect = comPort.AutoDetect();
  detect.show();
  ok &= Save(detect, folder, "auto-detect.png");
  Deliver(detect, {link::ProgressKind::DetectChecking, 2});
  ok &= Save(detect, folder, "auto-detect-checking.png");
  detect.hide();

  gui::ArchiveViewer* viewer =
      main.OpenViewer(QStringLiteral(ORGALINK_SOURCE_DIR "/data/sample_organizer.bkf"));
  ok &= Save(*viewer, folder, "archive-viewer.png");
  viewer->close();

  QMessageBox reinstall(QMessageBox::NoIcon, QString::fromLatin1(gui::kAppTitle),
                        QString::fromLatin1(ui::kReinstallMessage), QMessageBox::Ok);
  ok &= Save(reinstall, folder, "reinstall-message.png");

  // The installed icons (data/icons/) are these two.
  for (const int size : {48, 256}) {
    ok &= gui::DrawAppIcon(size).save(folder.filePath(QStringLiteral("icon-%1.png").arg(size)));
  }
  return ok ? 0 : 1;
}
