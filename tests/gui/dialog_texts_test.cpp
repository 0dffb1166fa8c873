// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' texts, captions and places, as the user sees them.

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "about_dialog.h"
#include "auto_detect_dialog.h"
#include "com_port_dialog.h"
#include "dialog_controls.h"
#include "gui_fixture.h"
#include "logo.h"
#include "main_dialog.h"
#include "progress_dialog.h"
#include "scripted_prompts.h"
#include "title_fit.h"
#include "user_prompts.h"

namespace orgalink::guitest {

using gui::DialogUnits;

class DialogTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void mainWindowControlsSitOnTheirDialogUnits();
  void mainWindowTextsAndTitle();
  void mainWindowNeitherResizesNorMaximises();
  void logoFontIsTheLargestWholePointSizeThatFits();
  void aboutBoxFromTheContextMenu();
  void progressDialogTextsAndTitlesByRunMode();
  void comPortAndAutoDetectTexts();
  void aLongTitleWidensItsDialogAndCentresTheControls();
  void aBoxShowsItsDetailAsWritten();

 private:
  GuiFolder folder_;
  ScriptedPrompts prompts_;
};

void DialogTextsTest::mainWindowControlsSitOnTheirDialogUnits() {
  gui::MainDialog window(folder_.Paths(), prompts_, platform::SystemClock::Instance());
  const DialogUnits units(window.font());
  QCOMPARE(window.size(), units.Size(226, 182));
  struct Place {
    const char* name;
    int x, y, width, height;
  };
  const Place places[] = {
      {"exitButton", 169, 161, 50, 14},       {"backupButton", 7, 35, 50, 34},
      {"restoreButton", 7, 88, 50, 34},       {"comPortButton", 7, 141, 50, 34},
      {"backupDescription", 65, 35, 154, 44}, {"restoreDescription", 65, 88, 154, 44},
  };
  for (const Place& p : places) {
    QCOMPARE(Child<QWidget>(window, p.name)->geometry(), units.Rect(p.x, p.y, p.width, p.height));
  }
  QCOMPARE(window.LogoRect(), units.Rect(7, 1, 97, 17));
  // One average character is four horizontal units, one line eight vertical.
  QCOMPARE(units.X(4), units.CharWidth());
  QCOMPARE(units.Y(8), units.CharHeight());
}

void DialogTextsTest::mainWindowTextsAndTitle() {
  gui::MainDialog window(folder_.Paths(), prompts_, platform::SystemClock::Instance());
  QCOMPARE(window.windowTitle(), QStringLiteral("PC Interface Software for Brelan Pellico"));
  QCOMPARE(Child<QPushButton>(window, "backupButton")->text(), QStringLiteral("&Backup"));
  QCOMPARE(Child<QPushButton>(window, "restoreButton")->text(), QStringLiteral("&Restore"));
  QCOMPARE(Child<QPushButton>(window, "comPortButton")->text(), QStringLiteral("&COM port..."));
  QCOMPARE(Child<QPushButton>(window, "exitButton")->text(), QStringLiteral("E&xit"));
  QCOMPARE(Child<QPlainTextEdit>(window, "backupDescription")->toPlainText(),
           QStringLiteral("Backs up all your Organizer data into a single\n"
                          "archive file that is stored on your PC.\n"
                          "You can later RESTORE this file to an empty\n"
                          "your Organizer if necessary.\n"
                          "You CANNOT view or edit this file."));
  QCOMPARE(Child<QPlainTextEdit>(window, "restoreDescription")->toPlainText(),
           QStringLiteral("Restores data from a backup file into a\n"
                          "your Organizer. This will replace any data\n"
                          "that may be in your Organizer."));
  QVERIFY(Child<QPlainTextEdit>(window, "backupDescription")->isReadOnly());
}

void DialogTextsTest::mainWindowNeitherResizesNorMaximises() {
  gui::MainDialog window(folder_.Paths(), prompts_, platform::SystemClock::Instance());
  QCOMPARE(window.minimumSize(), window.maximumSize());
  QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
}

void DialogTextsTest::logoFontIsTheLargestWholePointSizeThatFits() {
  gui::MainDialog window(folder_.Paths(), prompts_, platform::SystemClock::Instance());
  QVERIFY(window.LogoFont().has_value());
  QFont font = *window.LogoFont();
  QVERIFY(font.bold());
  QVERIFY(font.italic());
  const QString line = QString::fromLatin1(gui::kLogoSecondLine);
  const int width = window.LogoRect().width();
  QVERIFY(QFontMetrics(font, &window).horizontalAdvance(line) < width);
  if (font.pointSizeF() < 16.0) {
    font.setPointSizeF(font.pointSizeF() + 1.0);
    QVERIFY(QFontMetrics(font, &window).horizontalAdvance(line) >= width);
  }
  // A rectangle too narrow for 1 pt leaves the logo without a font of its own.
  QVERIFY(!gui::FitLogoFont(window, 1).has_value());
}

void DialogTextsTest::aboutBoxFromTheContextMenu() {
  gui::MainDialog window(folder_.Paths(), prompts_, platform::SystemClock::Instance());
  window.show();
  QStringList items;
  QTimer::singleShot(0, this, [&items] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (const QAction* action : menu->actions()) items << action->text();
    menu->close();
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 100),
                          window.mapToGlobal(QPoint(10, 100)));
  QCoreApplication::sendEvent(&window, &event);
  QCOMPARE(items, (QStringList{QStringLiteral("&View archive..."), QStringLiteral("&About...")}));

  gui::AboutDialog about(&window);
  QCOMPARE(about.windowTitle(), QStringLiteral("About"));
  QCOMPARE(about.size(), DialogUnits(about.font()).Size(313, 55));
  const QStringList labels = LabelTexts(about);
  QVERIFY(
      labels.contains(QStringLiteral("PC Interface Software for Pellico, Pellico-M Version 1.10")));
  // The program's own version appears once, on its own line.
  QVERIFY(labels.contains(gui::ProgramVersionLine()));
  QCOMPARE(labels.filter(QStringLiteral(ORGALINK_VERSION)).size(), 1);
  QVERIFY(labels.contains(gui::LicenceLine()));
  const auto buttons = about.findChildren<QPushButton*>();
  QCOMPARE(buttons.size(), 1);
  QCOMPARE(buttons[0]->text(), QStringLiteral("OK"));
  QVERIFY(buttons[0]->isDefault());
}

void DialogTextsTest::progressDialogTextsAndTitlesByRunMode() {
  const struct {
    int runMode;
    const char* title;
  } cases[] = {
      {1, "PC Interface Software for Brelan Pellico (Backup)"},
      {2, "PC Interface Software for Brelan Pellico (Restore)"},
  };
  for (const auto& c : cases) {
    gui::ProgressDialog dialog(nullptr, prompts_, platform::SystemClock::Instance());
    settings::RunSettings settings;
    settings.runMode = static_cast<settings::RunMode>(c.runMode);
    dialog.ConfigureRun(settings);
    QCOMPARE(dialog.size(), DialogUnits(dialog.font()).Size(212, 120));
    QCOMPARE(dialog.StatusText(), QStringLiteral("Waiting for Organizer"));
    QSignalSpy ended(&dialog, &QDialog::finished);
    dialog.SetCommunication([](link::FrontEnd) { return link::LinkOk; });
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString::fromLatin1(c.title));
    // The status text starts empty once the run starts.
    QCOMPARE(dialog.StatusText(), QString());
    QVERIFY(ended.wait(5000));
  }
  gui::ProgressDialog dialog(nullptr, prompts_, platform::SystemClock::Instance());
  QCOMPARE(Child<QPushButton>(dialog, "abortButton")->text(), QStringLiteral("&Abort"));
  const QStringList labels = LabelTexts(dialog);
  for (const char* text : {"Status :", "1. Make sure the cable is connected to your Organizer",
                           "    and your PC.", "2. Press the [PC-LINK] button.", "0%", "100%"}) {
    QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
  }
  QCOMPARE(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("Instructions"));
  QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
}

void DialogTextsTest::comPortAndAutoDetectTexts() {
  gui::ComPortDialog dialog(nullptr, prompts_, platform::SystemClock::Instance());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("COM port"));
  QCOMPARE(Child<QPushButton>(dialog, "okButton")->text(), QStringLiteral("&OK"));
  QVERIFY(Child<QPushButton>(dialog, "okButton")->isDefault());
  QCOMPARE(Child<QPushButton>(dialog, "cancelButton")->text(), QStringLiteral("&Cancel"));
  QCOMPARE(Child<QPushButton>(dialog, "autoDetectButton")->text(),
           QStringLiteral("&Auto Detect..."));
  const DialogUnits units(dialog.font());
  for (int port = 1; port <= 4; ++port) {
    const auto* radio =
        Child<QRadioButton>(dialog, qPrintable(QStringLiteral("com%1Radio").arg(port)));
    QCOMPARE(radio->text(), QStringLiteral("COM&%1").arg(port));
    QCOMPARE(radio->geometry(), units.Rect(24, 19 + 16 * (port - 1), 35, 10));
  }
  QCOMPARE(Child<QGroupBox>(dialog, "settingGroup")->title(), QStringLiteral("Setting"));

  gui::AutoDetectDialog& detect = dialog.AutoDetect();
  QCOMPARE(detect.windowTitle(), QStringLiteral("Auto Detect"));
  QCOMPARE(detect.size(), DialogUnits(detect.font()).Size(225, 143));
  QCOMPARE(Child<QPushButton>(detect, "proceedButton")->text(), QStringLiteral("&Proceed"));
  QCOMPARE(Child<QPushButton>(detect, "cancelButton")->text(), QStringLiteral("&Cancel"));
  const QStringList expected = {
      "1. Connect your Organizer to your PC with the cable supplied.",
      "2. Press the [PC-LINK] button on your Organizer.",
      "3. Press the [Proceed] button below.",
      "If Auto Detection appears to take a long time or your wish to",
      "abort, press the [ESC] key.",
      "WARNING: This process may cause your computer to crash if",
      "you have any incorrectly configured hardware. If this happens,",
      "you may have to reset your computer.",
      "",
      "",
  };
  QCOMPARE(LabelTexts(detect), expected);
  // No fixed text is cut off, whatever face stands in for the original.
  for (const QLabel* label : detect.findChildren<QLabel*>()) {
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
             qPrintable(label->text()));
  }
}

// The progress dialog's title ("<M> PC Interface ... (Restore)") is far
// wider than its 212 units: the dialog grows to show it, the controls keep
// their places relative to each other in the middle, and a shorter title
// later neither narrows the dialog nor moves them again.
void DialogTextsTest::aLongTitleWidensItsDialogAndCentresTheControls() {
  QDialog dialog;
  const DialogUnits units = gui::SetUpFixedDialog(dialog, 212, 120);
  QPushButton* abort = gui::AddButton(dialog, units, QStringLiteral("&Abort"), {155, 99, 50, 14});
  const QPoint builtAt = abort->pos();
  const int builtWidth = dialog.width();
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  const QString longTitle =
      QStringLiteral("<M> PC Interface Software for Brelan Pellico (Restore)");
  QVERIFY(metrics.horizontalAdvance(longTitle) > builtWidth / 2);

  const struct {
    QString title;
    bool wider;  // than the dialog was built
  } steps[] = {
      {QStringLiteral("Auto Detect"), false},
      {longTitle.mid(4), true},
      {longTitle, true},
      {QStringLiteral("Auto Detect"), true},
  };
  int width = builtWidth;
  for (const auto& step : steps) {
    gui::SetFittingTitle(dialog, step.title);
    QCOMPARE(dialog.windowTitle(), step.title);
    QCOMPARE(dialog.width() > builtWidth, step.wider);
    QVERIFY(dialog.width() >= width);
    width = dialog.width();
    QVERIFY(width > metrics.horizontalAdvance(step.title) || !step.wider);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.height(), units.Size(212, 120).height());
    QVERIFY(qAbs(abort->x() - (builtAt.x() + (width - builtWidth) / 2)) <= 1);
    QCOMPARE(abort->y(), builtAt.y());
  }
}

// A cause quotes names the user chose; one that looks like markup is still
// only a name.
void DialogTextsTest::aBoxShowsItsDetailAsWritten() {
  const QString detail = QStringLiteral("Cause: reading <b>x</b>.bkf: Permission denied.");
  const std::unique_ptr<QMessageBox> box =
      gui::MakeMessageBox(nullptr, {QStringLiteral("Error"), QStringLiteral("Error"),
                                    gui::BoxIcon::Exclamation, gui::BoxButtons::Ok, detail});
  bool shownAsWritten = false;
  for (const QLabel* label : box->findChildren<QLabel*>()) {
    if (label->text() == detail) shownAsWritten = label->textFormat() == Qt::PlainText;
  }
  QVERIFY(shownAsWritten);
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::DialogTextsTest)
#include "dialog_texts_test.moc"
