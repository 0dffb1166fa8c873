// SPDX-License-Identifier: GPL-3.0-or-later
// One copy at a time: the lock, the request to come to the front, and the
// program's second start.

#include "single_instance.h"

#include <signal.h>

#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include "bring_to_front.h"

namespace orgalink::guitest {

namespace {

// A home folder of the program's own, with a private runtime folder for its
// socket and the offscreen platform: what a started program sees here.
struct ProgramHome {
  QTemporaryDir home;
  QString runtime = home.filePath(QStringLiteral("runtime"));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

  ProgramHome() {
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }
};

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void laterCopiesFindTheFirstAndAskItToShow();
  void aLaterCopyHandsOverAnArchiveByItsFullPath();
  void aSecondProgramStartWithAnArchiveHandsItOver();
  void aConnectionOpenAtTheEndAsksForNothing();
  void aMinimisedWindowIsRestored();
  void aSecondProgramStartEndsSilentlyAndLeavesTheFirstRunning();
  void sigtermAndSigintEndTheProgramInOrder();
};

void SingleInstanceTest::laterCopiesFindTheFirstAndAskItToShow() {
  QTemporaryDir runtime;
  auto first = std::make_unique<gui::SingleInstance>(runtime.path());
  QVERIFY(first->TryBecomeFirst());
  QCOMPARE(first->ServerName(), runtime.filePath(QStringLiteral("PELLICO_BR")));

  gui::SingleInstance second(runtime.path());
  QVERIFY(!second.TryBecomeFirst());
  // Before the first window is up there is nobody to ask; the second copy
  // just ends.
  QVERIFY(!second.AskFirstToShow());

  QSignalSpy asked(first.get(), &gui::SingleInstance::ShowRequested);
  QVERIFY(first->Listen());
  QVERIFY(second.AskFirstToShow());
  QVERIFY(asked.wait(5000));

  // Once the first copy has gone, the next start is the first again.
  first.reset();
  gui::SingleInstance third(runtime.path());
  QVERIFY(third.TryBecomeFirst());
  QVERIFY(third.Listen());
}

void SingleInstanceTest::aLaterCopyHandsOverAnArchiveByItsFullPath() {
  QTemporaryDir runtime;
  gui::SingleInstance first(runtime.path());
  QVERIFY(first.TryBecomeFirst());
  QVERIFY(first.Listen());
  QSignalSpy shown(&first, &gui::SingleInstance::ShowRequested);
  QSignalSpy opened(&first, &gui::SingleInstance::OpenRequested);

  gui::SingleInstance second(runtime.path());
  QVERIFY(!second.TryBecomeFirst());
  // Given where the later copy was started, which the first copy knows not.
  const QString relative = QStringLiteral("Müller/organizer 2.bkf");
  QVERIFY(second.AskFirstToOpen(relative));
  QVERIFY(opened.wait(5000));
  QCOMPARE(opened.takeFirst().at(0).toString(), QDir::current().absoluteFilePath(relative));

  // A plain start still only asks it to show itself.
  QVERIFY(second.AskFirstToShow());
  QVERIFY(shown.wait(5000));
  QCOMPARE(shown.size(), 1);
  QCOMPARE(opened.size(), 0);
}

// The program itself, started while this test plays the copy already
// running: it hands the archive over and ends; with nobody answering, it
// says that the archive was not opened.
void SingleInstanceTest::aSecondProgramStartWithAnArchiveHandsItOver() {
  const ProgramHome program_home;
  const QTemporaryDir& home = program_home.home;
  const QString& runtime = program_home.runtime;
  const QProcessEnvironment& environment = program_home.environment;
  QVERIFY(QDir(runtime).exists());

  gui::SingleInstance first(runtime);
  QVERIFY(first.TryBecomeFirst());
  QProcess second;
  second.setProcessEnvironment(environment);
  second.setWorkingDirectory(home.path());
  second.start(QStringLiteral(ORGALINK_GUI), {QStringLiteral("week.bkf")});
  QVERIFY(second.waitForFinished(20000));
  QCOMPARE(second.exitCode(), 1);
  QVERIFY2(second.readAllStandardError().contains("week.bkf not opened"),
           "no word of the archive lost");

  QSignalSpy opened(&first, &gui::SingleInstance::OpenRequested);
  QVERIFY(first.Listen());
  second.start(QStringLiteral(ORGALINK_GUI), {QStringLiteral("week.bkf")});
  QVERIFY(opened.wait(20000));
  QCOMPARE(opened.takeFirst().at(0).toString(), home.filePath(QStringLiteral("week.bkf")));
  QVERIFY(second.waitForFinished(20000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
}

// A later copy still connected when the first ends: its connection closes
// with the server, which is no request to a window that is gone.
void SingleInstanceTest::aConnectionOpenAtTheEndAsksForNothing() {
  QTemporaryDir runtime;
  auto first = std::make_unique<gui::SingleInstance>(runtime.path());
  QVERIFY(first->TryBecomeFirst());
  QVERIFY(first->Listen());
  QSignalSpy shown(first.get(), &gui::SingleInstance::ShowRequested);
  QSignalSpy opened(first.get(), &gui::SingleInstance::OpenRequested);
  QLocalSocket later;
  later.connectToServer(first->ServerName());
  QVERIFY(later.waitForConnected(5000));
  later.write("/half/a/path");
  QVERIFY(later.waitForBytesWritten(5000));
  QTest::qWait(100);
  first.reset();
  QCOMPARE(shown.size() + opened.size(), 0);
}

void SingleInstanceTest::aMinimisedWindowIsRestored() {
  QWidget window;
  window.showMinimized();
  QVERIFY(window.isMinimized());
  gui::BringToFront(window);
  QVERIFY(!window.isMinimized());
  QVERIFY(window.isVisible());
}

void SingleInstanceTest::aSecondProgramStartEndsSilentlyAndLeavesTheFirstRunning() {
  const ProgramHome program_home;
  const QTemporaryDir& home = program_home.home;
  const QString& runtime = program_home.runtime;
  const QProcessEnvironment& environment = program_home.environment;
  QVERIFY(QDir(runtime).exists());
  const QStringList arguments = {QStringLiteral("--settings"),
                                 home.filePath(QStringLiteral("Orgalink.ini"))};

  QProcess first;
  first.setProcessEnvironment(environment);
  first.start(QStringLiteral(ORGALINK_GUI), arguments);
  QVERIFY(first.waitForStarted());
  // The first copy answers once its window is up.
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(runtime).filePath(QStringLiteral("PELLICO_BR"))),
                           20000);

  QProcess second;
  second.setProcessEnvironment(environment);
  second.start(QStringLiteral(ORGALINK_GUI), arguments);
  QVERIFY(second.waitForFinished(20000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
  QCOMPARE(second.readAllStandardOutput(), QByteArray());
  QCOMPARE(first.state(), QProcess::Running);

  first.terminate();
  QVERIFY(first.waitForFinished(20000));
}

// Stopped by the session or from a shell, the program ends as after Exit:
// the settings are written back and the socket and lock are gone, so that
// the next start is the first again.
void SingleInstanceTest::sigtermAndSigintEndTheProgramInOrder() {
  const struct {
    int signal;
    int exitCode;
  } cases[] = {{SIGTERM, 143}, {SIGINT, 130}};
  for (const auto& c : cases) {
    const ProgramHome program_home;
    const QTemporaryDir& home = program_home.home;
    const QString& runtime = program_home.runtime;
    const QProcessEnvironment& environment = program_home.environment;
    QVERIFY(QDir(runtime).exists());
    const QString settings = home.filePath(QStringLiteral("Orgalink.ini"));
    const QString socket = QDir(runtime).filePath(QStringLiteral("PELLICO_BR"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORGALINK_GUI), {QStringLiteral("--settings"), settings});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);
    QVERIFY(!QFile::exists(settings));
    kill(static_cast<pid_t>(program.processId()), c.signal);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), c.exitCode);
    QVERIFY(!QFile::exists(socket));
    QVERIFY(!QFile::exists(socket + QStringLiteral(".lock")));
    QVERIFY(QFile::exists(settings));
  }
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::SingleInstanceTest)
#include "single_instance_test.moc"
