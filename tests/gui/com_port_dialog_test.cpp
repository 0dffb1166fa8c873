// SPDX-License-Identifier: GPL-3.0-or-later
// The COM port dialog's OK and Cancel, and the Auto Detect dialog's runs.

#include "com_port_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <fstream>

#include "gui_fixture.h"
#include "link/negotiation.h"
#include "scripted_prompts.h"

namespace orgalink::guitest {

using link::ProgressEvent;
using link::ProgressKind;

namespace {

QRadioButton* Radio(const QWidget& dialog, int port) {
  return Child<QRadioButton>(dialog, qPrintable(QStringLiteral("com%1Radio").arg(port)));
}

int CheckedPort(const QWidget& dialog) {
  for (int port = 1; port <= 4; ++port) {
    if (Radio(dialog, port)->isChecked()) return port;
  }
  return 0;
}

}  // namespace

class ComPortDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void okKeepsTheSelectionCancelThePortItStartedWith();
  void detectionShowsEachPortAndOnlyOkKeepsTheFind();
  void cancelTurnsIntoAbortWhileTheSearchRuns();
  void devicesChangeOnOkOnly();
  void aPortRefusedToTheUserNamesItsGroup();
  void openingWithALogStartsItAfresh();

 private:
  std::unique_ptr<gui::ComPortDialog> MakeDialog(int comPort);
  // Clicks "Auto Detect..." and runs `inside` once the Auto Detect dialog is up.
  void AutoDetect(gui::ComPortDialog& dialog,
                  const std::function<void(gui::AutoDetectDialog&)>& inside);

  GuiFolder folder_;
  ScriptedPrompts prompts_;
};

std::unique_ptr<gui::ComPortDialog> ComPortDialogTest::MakeDialog(int comPort) {
  auto dialog =
      std::make_unique<gui::ComPortDialog>(nullptr, prompts_, platform::SystemClock::Instance());
  settings::RunSettings settings;
  settings.comPort = comPort;
  settings.comDevices.Set(3, "/dev/ttyUSB3");
  dialog->Configure(settings);
  dialog->show();
  return dialog;
}

void ComPortDialogTest::AutoDetect(gui::ComPortDialog& dialog,
                                   const std::function<void(gui::AutoDetectDialog&)>& inside) {
  QTimer::singleShot(0, &dialog, [&dialog, inside] { inside(dialog.AutoDetect()); });
  Child<QPushButton>(dialog, "autoDetectButton")->click();
}

void ComPortDialogTest::okKeepsTheSelectionCancelThePortItStartedWith() {
  const struct {
    int configured;
    int shown;
    int clicked;  // 0: none
    bool ok;
    int result;
  } cases[] = {
      {2, 2, 0, true, 2}, {2, 2, 4, true, 4},  {2, 2, 4, false, 2},
      {7, 1, 0, true, 1}, {7, 1, 0, false, 7}, {7, 1, 3, false, 7},
  };
  for (const auto& c : cases) {
    auto dialog = MakeDialog(c.configured);
    QCOMPARE(CheckedPort(*dialog), c.shown);
    if (c.clicked != 0) Radio(*dialog, c.clicked)->click();
    Child<QPushButton>(*dialog, c.ok ? "okButton" : "cancelButton")->click();
    QCOMPARE(dialog->result(), c.result);
  }
  // Esc is Cancel.
  auto dialog = MakeDialog(3);
  Radio(*dialog, 1)->click();
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  QCOMPARE(dialog->result(), 3);
}

void ComPortDialogTest::detectionShowsEachPortAndOnlyOkKeepsTheFind() {
  for (const bool ok : {false, true}) {
    prompts_.Clear();
    auto dialog = MakeDialog(1);
    QStringList labels;
    prompts_.OnBox([&](const ScriptedPrompts::Shown& box) {
      if (box.text != QLatin1String("probe")) return;
      const auto& detect = dialog->AutoDetect();
      labels << Child<QLabel>(detect, "progressLabel")->text() + " / " +
                    Child<QLabel>(detect, "portLabel")->text();
    });
    // A note the worker asks for is shown only after the port it reported.
    gui::WorkerBridge& bridge = dialog->AutoDetect().Bridge();
    dialog->AutoDetect().SetDetection([&bridge](session::Session&, link::ProgressSink& progress) {
      for (int port = 1; port <= 3; ++port) {
        progress.Report({ProgressKind::DetectChecking, port});
        bridge.Inform("probe", "");
      }
      return link::DetectResult{3, {}};
    });
    AutoDetect(*dialog, [](gui::AutoDetectDialog& detect) {
      QVERIFY(Child<QLabel>(detect, "progressLabel")->text().isEmpty());
      Child<QPushButton>(detect, "proceedButton")->click();
    });
    QCOMPARE(labels, (QStringList{"Auto Detect in progress... / Checking COM1",
                                  "Auto Detect in progress... / Checking COM2",
                                  "Auto Detect in progress... / Checking COM3"}));
    const ScriptedPrompts::Shown& found = prompts_.Boxes().back();
    QCOMPARE(found.text, QStringLiteral("Organizer detected on COM3."));
    QCOMPARE(found.caption, QStringLiteral("Auto Detect"));
    QCOMPARE(found.icon, gui::BoxIcon::Information);
    QCOMPARE(dialog->AutoDetect().result(), 3);
    QCOMPARE(CheckedPort(*dialog), 3);
    Child<QPushButton>(*dialog, ok ? "okButton" : "cancelButton")->click();
    QCOMPARE(dialog->result(), ok ? 3 : 1);
  }
  prompts_.OnBox({});
}

void ComPortDialogTest::cancelTurnsIntoAbortWhileTheSearchRuns() {
  prompts_.Clear();
  auto dialog = MakeDialog(2);
  gui::AutoDetectDialog& detect = dialog->AutoDetect();

  // Before a search, Cancel closes at once with nothing found.
  AutoDetect(*dialog,
             [](gui::AutoDetectDialog& d) { Child<QPushButton>(d, "cancelButton")->click(); });
  QCOMPARE(detect.result(), -1);
  QVERIFY(prompts_.Boxes().empty());

  std::atomic<bool> aborted{false};
  detect.SetDetection([&aborted](session::Session& search, link::ProgressSink& progress) {
    progress.Report({ProgressKind::Variant, link::VariantEPlus});
    progress.Report({ProgressKind::DetectChecking, 1});
    aborted = WaitForAbort(search.Engine().Link().AbortToken());
    return link::DetectResult{0, link::Cause::Aborted()};
  });
  // Twice: the second run starts as fresh as the first.
  for (int run = 0; run < 2; ++run) {
    prompts_.Clear();
    AutoDetect(*dialog, [](gui::AutoDetectDialog& d) {
      QCOMPARE(d.windowTitle(), QStringLiteral("Auto Detect"));
      auto* cancel = Child<QPushButton>(d, "cancelButton");
      auto* proceed = Child<QPushButton>(d, "proceedButton");
      QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
      QVERIFY(proceed->isEnabled());
      proceed->click();
      QCOMPARE(cancel->text(), QStringLiteral("&Abort"));
      QVERIFY(!proceed->isEnabled());
      QTRY_COMPARE(Child<QLabel>(d, "portLabel")->text(), QStringLiteral("Checking COM1"));
      QCOMPARE(d.windowTitle(), QStringLiteral("<E+> Auto Detect"));
      QTest::keyClick(&d, Qt::Key_Escape);
      QVERIFY(d.isVisible());
    });
    QVERIFY(aborted);
    QCOMPARE(detect.result(), -1);
    QCOMPARE(prompts_.Boxes().size(), std::size_t{1});
    QCOMPARE(prompts_.Boxes()[0].text,
             QStringLiteral("Auto Detect was unable to detect your Organizer."));
    QCOMPARE(prompts_.Boxes()[0].caption, QStringLiteral("Error"));
    // The user asked for the stop: there is nothing to explain.
    QVERIFY(prompts_.Boxes()[0].detail.isEmpty());
    QCOMPARE(CheckedPort(*dialog), 2);
  }
}

// A search whose ports would not open tells why and what to try, as the
// command line's search does: for a refused port, joining its group.
void ComPortDialogTest::aPortRefusedToTheUserNamesItsGroup() {
  auto dialog = MakeDialog(1);
  gui::AutoDetectDialog& detect = dialog->AutoDetect();
  detect.SetSettingsFile("/home/u/Orgalink.ini");
  detect.SetDetection([](session::Session&, link::ProgressSink&) {
    return link::DetectResult{
        0, link::Cause::System("opening the ports", 0,
                               "COM1: Permission denied; COM2: No such file or directory")};
  });
  prompts_.Clear();
  AutoDetect(*dialog,
             [](gui::AutoDetectDialog& d) { Child<QPushButton>(d, "proceedButton")->click(); });
  QCOMPARE(prompts_.Captions(), QStringList{"Error"});
  const QString detail = prompts_.Boxes()[0].detail;
  QVERIFY2(detail.startsWith(QStringLiteral("Cause: opening the ports: COM1: Permission denied")),
           qPrintable(detail));
  QVERIFY2(detail.contains(QStringLiteral("usually dialout")), qPrintable(detail));
  QVERIFY2(detail.contains(QStringLiteral("[Ports] in /home/u/Orgalink.ini")), qPrintable(detail));
}

// The main window stores what OK gives (its own test).
void ComPortDialogTest::devicesChangeOnOkOnly() {
  for (const bool ok : {false, true}) {
    auto dialog = MakeDialog(1);
    auto* com2 = Child<QComboBox>(*dialog, "com2Device");
    QCOMPARE(com2->currentText(), QStringLiteral("/dev/ttyS1"));
    QCOMPARE(Child<QComboBox>(*dialog, "com3Device")->currentText(),
             QStringLiteral("/dev/ttyUSB3"));
    com2->setEditText(QStringLiteral("/dev/ttyUSB0"));
    Child<QPushButton>(*dialog, ok ? "okButton" : "cancelButton")->click();
    QCOMPARE(dialog->Devices()[1], ok ? std::string("/dev/ttyUSB0") : std::string("/dev/ttyS1"));
    QCOMPARE(dialog->Devices()[2], std::string("/dev/ttyUSB3"));
  }
}

void ComPortDialogTest::openingWithALogStartsItAfresh() {
  const std::string log = folder_.File("detect.log");
  std::ofstream(log) << "an earlier search\n";
  gui::ComPortDialog dialog(nullptr, prompts_, platform::SystemClock::Instance());
  settings::RunSettings settings;
  settings.logFileName = log;
  dialog.Configure(settings);
  QVERIFY(!std::ifstream(log).is_open());
  QCOMPARE(dialog.AutoDetect().Engine().Log().FileName(), log);
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::ComPortDialogTest)
#include "com_port_dialog_test.moc"
