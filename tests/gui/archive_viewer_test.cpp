// SPDX-License-Identifier: GPL-3.0-or-later
// The archive viewer: what it shows of an archive, the filter, Export...,
// a damaged archive, and how the main window opens it.

#include "archive_viewer.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "exchange/archive_json.h"
#include "gui_fixture.h"
#include "main_dialog.h"
#include "platform/charset.h"
#include "scripted_prompts.h"
#include "store/code_tables.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "viewer_first.h"

namespace orgalink::guitest {

namespace {

const std::string kData = std::string(ORGALINK_SOURCE_DIR) + "/data/";
const QString kSample = QString::fromStdString(kData + "sample_organizer.bkf");

// The viewer's window, closed and deleted at the end of the scope.
using Viewer = std::unique_ptr<gui::ArchiveViewer>;

// The texts of one column of the records table, top to bottom.
QStringList Column(const gui::ArchiveViewer& viewer, int column) {
  const QAbstractItemModel* model = Child<QTableView>(viewer, "records")->model();
  QStringList texts;
  for (int row = 0; row < model->rowCount(); ++row) {
    texts << model->index(row, column).data().toString();
  }
  return texts;
}

// The archive that the JSON at `path` imports into.
std::vector<std::uint8_t> Imported(const std::string& path) {
  store::ReadableArchive archive;
  std::string charset;
  std::string problem;
  if (!exchange::ArchiveFromJson(testsupport::ReadFile(path), archive, charset, problem)) {
    qWarning("%s", problem.c_str());
    return {};
  }
  store::CodeTable outgoing{};
  store::CodeTable incoming{};
  store::LoadCodeTables(kData, outgoing, incoming);
  platform::Charset set(charset);
  store::RecordCodec codec(incoming, outgoing, set);
  std::vector<std::uint8_t> file;
  if (!store::BuildArchive(archive, codec, file, &problem)) qWarning("%s", problem.c_str());
  return file;
}

}  // namespace

class ArchiveViewerTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheSampleWithKarinUnderTelephone();
  void theFilterNarrowsTheRowsAsOneTypes();
  void exportWritesWhatImportTurnsBackIntoTheArchive();
  void aDamagedArchiveShowsWhatInspectSays();
  void theMainWindowOpensTheArchiveChosen();
  void startedWithAnArchiveTheProgramEndsWithItsViewer();

 private:
  Viewer Open(const QString& path) {
    return Viewer(gui::OpenArchiveViewer(nullptr, prompts_, kData, path));
  }

  ScriptedPrompts prompts_;
};

void ArchiveViewerTest::showsTheSampleWithKarinUnderTelephone() {
  const Viewer viewer = Open(kSample);
  QCOMPARE(viewer->windowTitle(), QStringLiteral("sample_organizer.bkf"));
  QVERIFY(viewer->findChild<QPlainTextEdit*>(QStringLiteral("damageReport")) == nullptr);

  auto* applications = Child<QTreeWidget>(*viewer, "applications");
  QCOMPARE(applications->topLevelItemCount(), 7);
  QTreeWidgetItem* telephone = applications->topLevelItem(0);
  QCOMPARE(telephone->text(0), QStringLiteral("Telephone"));
  QCOMPARE(telephone->text(1), QStringLiteral("24"));
  QCOMPARE(applications->currentItem(), telephone);

  const QAbstractItemModel* model = Child<QTableView>(*viewer, "records")->model();
  QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Binary (hex)"));
  QCOMPARE(model->columnCount(), 5);
  const QStringList names = Column(*viewer, 1);
  QCOMPARE(names.size(), 24);
  const qsizetype karin = names.indexOf(QStringLiteral("Müller, Karin"));
  QVERIFY(karin >= 0);
  QCOMPARE(model->headerData(static_cast<int>(karin), Qt::Vertical).toInt(), karin + 1);
  QCOMPARE(model->index(static_cast<int>(karin), 2).data().toString(),
           QStringLiteral("+1 555 1740"));

  // Another application brings its own records and columns.
  applications->setCurrentItem(applications->topLevelItem(6));
  QCOMPARE(model->rowCount(), 8);
  QCOMPARE(Column(*viewer, 0).constFirst().size(), 33 * 2);
}

void ArchiveViewerTest::theFilterNarrowsTheRowsAsOneTypes() {
  const Viewer viewer = Open(kSample);
  auto* filter = Child<QLineEdit>(*viewer, "filter");
  QTest::keyClicks(filter, QStringLiteral("m"));
  QCOMPARE(Column(*viewer, 1).size(), 24);  // in every e-mail address
  // As an input method types what the keyboard has no key for.
  filter->insert(QStringLiteral("ü"));
  QCOMPARE(Column(*viewer, 1), QStringList{QStringLiteral("Müller, Karin")});
  QTest::keyClicks(filter, QStringLiteral("x"));
  QCOMPARE(Column(*viewer, 1), QStringList());
  QCOMPARE(Child<QTableView>(*viewer, "records")->model()->columnCount(), 5);
  filter->clear();
  QCOMPARE(Column(*viewer, 1).size(), 24);
}

void ArchiveViewerTest::exportWritesWhatImportTurnsBackIntoTheArchive() {
  const Viewer viewer = Open(kSample);
  testsupport::TempDir dir;
  const std::string json = dir.File("sample.json");
  prompts_.Clear();
  prompts_.SetSavePath(QString::fromStdString(json));
  Child<QPushButton>(*viewer, "exportButton")->click();
  QCOMPARE(prompts_.FileRequests().size(), std::size_t{1});
  const gui::FileRequest& asked = prompts_.FileRequests()[0];
  QCOMPARE(asked.kind, gui::FileKind::Json);
  QCOMPARE(asked.proposedName, QStringLiteral("sample_organizer.json"));
  QCOMPARE(asked.folder, QFileInfo(kSample).absolutePath());
  QVERIFY(prompts_.Boxes().empty());
  QVERIFY(testsupport::ReadFile(json).find("\"Müller, Karin\"") != std::string::npos);
  QVERIFY(Imported(json) == testsupport::FileBytes(kSample.toStdString()));

  // A file that cannot be written is named in an error box.
  prompts_.SetSavePath(QString::fromStdString(dir.File("none/sample.json")));
  Child<QPushButton>(*viewer, "exportButton")->click();
  QCOMPARE(prompts_.Boxes().size(), std::size_t{1});
  QCOMPARE(prompts_.Boxes()[0].caption, QStringLiteral("Error"));
  QVERIFY(prompts_.Boxes()[0].text.startsWith(
      QStringLiteral("Cannot write %1: ")
          .arg(QString::fromStdString(dir.File("none/sample.json")))));
  prompts_.SetSavePath({});
}

void ArchiveViewerTest::aDamagedArchiveShowsWhatInspectSays() {
  testsupport::TempDir dir;
  const std::vector<std::uint8_t> sample = testsupport::FileBytes(kSample.toStdString());
  testsupport::WriteBytes(dir.File("cut.bkf"), {sample.begin(), sample.begin() + 100});
  const struct {
    std::string file;
    QString said;
  } cases[] = {
      {"cut.bkf", QStringLiteral("section 1 of 7 (Telephone): record 2 of 24 runs past the end "
                                 "of the file")},
      {"none.bkf", QStringLiteral("none.bkf: cannot read the file: No such file or directory")},
  };
  for (const auto& c : cases) {
    const Viewer viewer = Open(QString::fromStdString(dir.File(c.file)));
    QCOMPARE(viewer->windowTitle(), QString::fromStdString(c.file));
    const auto* report = Child<QPlainTextEdit>(*viewer, "damageReport");
    QVERIFY2(report->toPlainText().contains(c.said), qPrintable(report->toPlainText()));
    QVERIFY(!Child<QPushButton>(*viewer, "exportButton")->isEnabled());
    QCOMPARE(Child<QTreeWidget>(*viewer, "applications")->topLevelItemCount(), 0);
  }
}

void ArchiveViewerTest::theMainWindowOpensTheArchiveChosen() {
  GuiFolder folder;
  ScriptedPrompts prompts;
  gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
  const std::string backupDir = window.Settings().backupDir;

  auto* view = Child<QPushButton>(window, "viewArchiveButton");
  QCOMPARE(view->text(), QStringLiteral("&View archive..."));
  view->click();  // cancelled
  QVERIFY(window.findChildren<gui::ArchiveViewer*>().isEmpty());

  prompts.SetOpenPath(kSample);
  view->click();
  QCOMPARE(prompts.FileRequests().back().folder, QString::fromStdString(backupDir));
  const auto viewers = window.findChildren<gui::ArchiveViewer*>();
  QCOMPARE(viewers.size(), 1);
  QCOMPARE(viewers[0]->windowTitle(), QStringLiteral("sample_organizer.bkf"));
  QVERIFY(viewers[0]->isWindow());
  // Only looking: the folder it came from does not become the backup folder.
  QCOMPARE(window.Settings().backupDir, backupDir);

  // Closed, it is gone.
  viewers[0]->close();
  QTRY_VERIFY(window.findChildren<gui::ArchiveViewer*>().isEmpty());

  // Looked at once, it is offered again, also to the next start; the
  // button then shows the recent archives before any file dialog.
  const gui::MainDialog next(folder.Paths(), prompts, platform::SystemClock::Instance());
  QCOMPARE(next.RecentArchives(),
           std::vector<std::string>{QFileInfo(kSample).absoluteFilePath().toStdString()});
  QStringList offered;
  QTimer::singleShot(0, [&offered] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (const QAction* action : menu->actions()) offered << action->text();
    menu->actions().constFirst()->trigger();
    menu->close();
  });
  const qsizetype asked = prompts.FileRequests().size();
  view->click();
  QCOMPARE(prompts.FileRequests().size(), asked);
  QCOMPARE(offered.size(), 3);  // the archive, a separator, Other archive...
  QVERIFY2(offered[0].startsWith(QStringLiteral("&1 sample_organizer.bkf")),
           qPrintable(offered[0]));
  QCOMPARE(offered[2], QStringLiteral("&Other archive..."));
  QTRY_COMPARE(window.findChildren<gui::ArchiveViewer*>().size(), 1);
}

// Closing the only viewer ends the wait for nothing more; asking for the main
// window ends it for the window, and the viewer stays open beside it.
void ArchiveViewerTest::startedWithAnArchiveTheProgramEndsWithItsViewer() {
  struct Case {
    const char* name;
    bool askForMainWindow;
  };
  for (const Case& c : {Case{"closed", false}, Case{"main window asked for", true}}) {
    GuiFolder folder;
    ScriptedPrompts prompts;
    gui::MainDialog window(folder.Paths(), prompts, platform::SystemClock::Instance());
    gui::ViewerFirst viewers(window);
    gui::ArchiveViewer* viewer = viewers.Open(kSample);
    auto* mainWindow = Child<QPushButton>(*viewer, "mainWindowButton");
    QVERIFY2(!mainWindow->isHidden(), c.name);
    QTimer::singleShot(0, viewer, [&] {
      QVERIFY(viewers.Waiting());
      if (c.askForMainWindow) {
        mainWindow->click();
      } else {
        viewer->close();
      }
    });
    QCOMPARE(viewers.Run(), c.askForMainWindow);
    QVERIFY2(!window.isVisible(), c.name);
    const auto open = window.findChildren<gui::ArchiveViewer*>();
    if (c.askForMainWindow) {
      QCOMPARE(open.size(), 1);
      QVERIFY2(open[0]->findChild<QPushButton*>("mainWindowButton")->isHidden(), c.name);
    } else {
      QTRY_VERIFY2(window.findChildren<gui::ArchiveViewer*>().isEmpty(), c.name);
    }
  }
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::ArchiveViewerTest)
#include "archive_viewer_test.moc"
