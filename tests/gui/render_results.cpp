// SPDX-License-Identifier: GPL-3.0-or-later
// Draws how runs end, for review: a backup from the main window against the
// simulated organizer (its result box and the viewer of the archive it
// wrote, also as the program started with it shows it) and a backup
// through a port that does not exist (its failure box with the cause and
// advice):
//   render_results OUTPUT-FOLDER
// Run under a display or QT_QPA_PLATFORM=offscreen (tools/render-dialogs).

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <memory>

#include "archive_viewer.h"
#include "gui_fixture.h"
#include "main_dialog.h"
#include "platform/clock.h"
#include "scripted_prompts.h"
#include "sim/pty_service.h"
#include "viewer_first.h"

namespace {

using namespace orgalink;

bool Save(QWidget& widget, const QDir& folder, const char* name) {
  widget.show();
  QCoreApplication::processEvents();
  const QString path = folder.filePath(QString::fromLatin1(name));
  const bool saved = widget.grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  widget.hide();
  return saved;
}

// Draws the last box the run showed, as the program itself would show it.
bool SaveLastBox(QWidget& over, const guitest::ScriptedPrompts& prompts, const QDir& folder,
                 const char* name) {
  if (prompts.Boxes().empty()) {
    std::printf("FAILED %s: no box was shown\n", name);
    return false;
  }
  const guitest::ScriptedPrompts::Shown& shown = prompts.Boxes().back();
  const std::unique_ptr<QMessageBox> box = gui::MakeMessageBox(
      &over, {shown.text, shown.caption, shown.icon, shown.buttons, shown.detail});
  return Save(*box, folder, name);
}

// Backup from the main window's button into `archive`; the boxes it showed
// are in `prompts`.
void Backup(gui::MainDialog& window, guitest::ScriptedPrompts& prompts,
            const std::string& archive) {
  prompts.Clear();
  prompts.SetSavePath(QString::fromStdString(archive));
  guitest::Child<QPushButton>(window, "backupButton")->click();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_results OUTPUT-FOLDER\n");
    return 2;
  }
  QDir folder(QString::fromLocal8Bit(argv[1]));
  folder.mkpath(QStringLiteral("."));
  platform::Clock& clock = platform::SystemClock::Instance();
  bool ok = true;

  guitest::GuiFolder files;
  sim::SimOptions options;
  options.table_directory = files.Paths().dataDirectory;
  std::string error;
  const std::unique_ptr<sim::PtyService> organizer = sim::PtyService::Start(options, error);
  if (organizer == nullptr) {
    std::fprintf(stderr, "render_results: cannot start the simulated organizer: %s\n",
                 error.c_str());
    return 1;
  }
  files.AppendSetting("Ports", "COM1", organizer->DevicePath());
  guitest::ScriptedPrompts prompts;
  gui::MainDialog window(files.Paths(), prompts, clock);
  window.show();
  const std::string archive = files.File("20261211.bkf");
  Backup(window, prompts, archive);
  ok &= SaveLastBox(window, prompts, folder, "backup-result.png");
  gui::ArchiveViewer* viewer = window.OpenViewer(QString::fromStdString(archive));
  viewer->resize(760, 480);
  ok &= Save(*viewer, folder, "backup-viewer.png");
  viewer->close();
  // Started with that archive, the viewer stands alone and offers the
  // main window.
  window.hide();
  gui::ViewerFirst first(window);
  gui::ArchiveViewer* alone = first.Open(QString::fromStdString(archive));
  alone->resize(760, 480);
  ok &= Save(*alone, folder, "started-with-archive-viewer.png");
  alone->close();

  guitest::GuiFolder broken;
  broken.AppendSetting("Ports", "COM1", broken.File("no-such-tty"));
  guitest::ScriptedPrompts failing;
  gui::MainDialog unplugged(broken.Paths(), failing, clock);
  unplugged.show();
  Backup(unplugged, failing, broken.File("lost.bkf"));
  ok &= SaveLastBox(unplugged, failing, folder, "failure-box.png");
  return ok ? 0 : 1;
}
