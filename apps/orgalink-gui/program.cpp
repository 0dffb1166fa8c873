// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>

#include "app_icon.h"
#include "bring_to_front.h"
#include "main_dialog.h"
#include "platform/program_directory.h"
#include "platform/serial_port_list.h"
#include "signal_quit.h"
#include "single_instance.h"
#include "texts.h"
#include "ui/exit_status.h"
#include "ui/file_locations.h"
#include "ui/port_map.h"
#include "ui/required_files.h"
#include "user_prompts.h"
#include "viewer_first.h"

#ifndef ORGALINK_VERSION
#define ORGALINK_VERSION "unknown"
#endif

namespace orgalink::gui {

namespace {

struct Options {
  QString settingsFile;
  QString archive;  // to view; empty for none
  bool exitNow = false;
  int exitCode = 0;
};

// Read before the window system is opened, so that --help and --version work
// without a display.
Options ParseOptions(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Back up and restore a Brelan Pellico organizer over a serial cable."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version(QStringLiteral("version"),
                                   QStringLiteral("Show the version and exit."));
  const QCommandLineOption settings(
      QStringLiteral("settings"),
      QStringLiteral("Settings file (default: Orgalink.ini beside the program if one is there, "
                     "else in ~/.config/orgalink/)."),
      QStringLiteral("file"));
  parser.addOptions({help, version, settings});
  parser.addPositionalArgument(QStringLiteral("ARCHIVE"),
                               QStringLiteral("An archive (.bkf) to view; a copy already running "
                                              "opens it."),
                               QStringLiteral("[ARCHIVE]"));
  Options options;
  if (!parser.parse(arguments) || parser.positionalArguments().size() > 1) {
    const QString problem = parser.errorText().isEmpty()
                                ? QStringLiteral("more than one archive given")
                                : parser.errorText();
    std::fprintf(stderr, "orgalink-gui: %s\n", qPrintable(problem));
    return {{}, {}, true, 2};
  }
  if (parser.isSet(help)) {
    std::printf("Usage: orgalink-gui [options] [ARCHIVE]\n%s",
                qPrintable(parser.helpText().section(QLatin1Char('\n'), 1)));
    return {{}, {}, true, 0};
  }
  if (parser.isSet(version)) {
    std::printf("orgalink-gui %s\n", ORGALINK_VERSION);
    return {{}, {}, true, 0};
  }
  options.settingsFile = parser.value(settings);
  if (!parser.positionalArguments().isEmpty()) {
    options.archive = parser.positionalArguments().constFirst();
  }
  return options;
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

// A copy is already running: it comes to the front, or opens the archive.
// Only a lost archive is worth a word; a plain start ends silently.
int HandOver(const SingleInstance& instance, const QString& archive) {
  if (archive.isEmpty()) {
    instance.AskFirstToShow();
    return 0;
  }
  if (instance.AskFirstToOpen(archive)) return 0;
  std::fprintf(stderr, "orgalink-gui: the copy already running did not answer; %s not opened\n",
               qPrintable(archive));
  return 1;
}

}  // namespace

int RunProgram(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  if (options.exitNow) return options.exitCode;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orgalink-gui"));
  QApplication::setApplicationVersion(QStringLiteral(ORGALINK_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("orgalink-gui"));
  QApplication::setWindowIcon(AppIcon());
  SignalQuit quit;
  if (!quit.Failure().empty()) {
    std::fprintf(stderr, "orgalink-gui: cannot watch for SIGINT and SIGTERM: %s\n",
                 quit.Failure().c_str());
    return ui::kExitInternalFault;
  }

  SingleInstance instance(UserRuntimeFolder());
  if (!instance.TryBecomeFirst()) return HandOver(instance, options.archive);

  QtPrompts prompts;
  const GuiPaths paths = FindPaths(options);
  if (!RequiredFilesPresent(prompts, paths)) return 0;

  MainDialog window(paths, prompts, platform::SystemClock::Instance());
  window.SetPortLister([] { return ui::OfferedDevices(platform::ListSerialPorts()); });
  ViewerFirst viewers(window);
  QObject::connect(&instance, &SingleInstance::ShowRequested, &window, [&window, &viewers] {
    if (viewers.Waiting()) {
      viewers.RequestMainWindow();
    } else {
      BringToFront(window);
    }
  });
  QObject::connect(&instance, &SingleInstance::OpenRequested, &window,
                   [&window, &viewers](const QString& path) {
                     if (viewers.Waiting()) {
                       viewers.Open(path);
                       return;
                     }
                     BringToFront(window);
                     window.OpenViewer(path);
                   });
  // Later copies are answered once the first window is up.
  QTimer::singleShot(0, &window, [&instance] { instance.Listen(); });
  // Started with an archive, the program is its viewer until the user asks
  // for the main window.
  if (!options.archive.isEmpty()) {
    viewers.Open(options.archive);
    if (!viewers.Run() || quit.ExitStatus() != 0) return quit.ExitStatus();
  }
  window.exec();
  return quit.ExitStatus();
}

}  // namespace orgalink::gui
