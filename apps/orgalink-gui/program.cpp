#include "program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "app_icon.h"
#include "bring_to_front.h"
#include "main_dialog.h"
#include "platform/program_directory.h"
#include "single_instance.h"
#include "texts.h"
#include "ui/file_locations.h"
#include "ui/required_files.h"
#include "user_prompts.h"

#ifndef ORGALINK_VERSION
#define ORGALINK_VERSION "unknown"
#endif

namespace orgalink::gui {

namespace {

struct Options {
  QString settingsFile;
};

Options ParseOptions(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Back up and restore a Brelan Pellico organizer over a serial cable."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption settings(
      QStringLiteral("settings"),
      QStringLiteral("Settings file (default: Orgalink.ini beside the program if one is there, "
                     "else in ~/.config/orgalink/)."),
      QStringLiteral("file"));
  parser.addOption(settings);
  parser.process(app);
  return {parser.value(settings)};
}

GuiPaths FindPaths(const Options& options) {
  GuiPaths paths;
  paths.programDirectory = platform::ProgramDirectory();
  paths.dataDirectory = platform::DataDirectory();
  paths.files = ui::LocateFiles(ui::CurrentUserEnvironment(), options.settingsFile.toStdString());
  return paths;
}

bool RequiredFilesPresent(UserPrompts& prompts, const GuiPaths& paths) {
  if (!ui::FirstMissingRequiredFile({paths.programDirectory, paths.dataDirectory})) return true;
  prompts.ShowBox(nullptr, {QString::fromLatin1(ui::kReinstallMessage),
                            QString::fromLatin1(kAppTitle), BoxIcon::None});
  return false;
}

}  // namespace

int RunProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orgalink-gui"));
  QApplication::setApplicationVersion(QStringLiteral(ORGALINK_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("orgalink-gui"));
  QApplication::setWindowIcon(AppIcon());
  const Options options = ParseOptions(app);

  SingleInstance instance(UserRuntimeFolder());
  if (!instance.TryBecomeFirst()) {
    instance.AskFirstToShow();
    return 0;
  }

  QtPrompts prompts;
  const GuiPaths paths = FindPaths(options);
  if (!RequiredFilesPresent(prompts, paths)) return 0;

  MainDialog window(paths, prompts, platform::SystemClock::Instance());
  QObject::connect(&instance, &SingleInstance::ShowRequested, &window,
                   [&window] { BringToFront(window); });
  // Later copies are answered once the window is up.
  QTimer::singleShot(0, &window, [&instance] { instance.Listen(); });
  window.exec();
  return 0;
}

}  // namespace orgalink::gui
