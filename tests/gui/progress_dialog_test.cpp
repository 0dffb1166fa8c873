// The progress dialog driven by a worker that posts as a communication does.

#include "progress_dialog.h"

#include <QPushButton>
#include <QThread>
#include <QtTest>

#include "gui_fixture.h"
#include "link/messages.h"
#include "scripted_prompts.h"

namespace orgalink::guitest {

using link::LinkOwner;
using link::LinkStatus;

namespace {

// What the dialog showed when the worker reached a checkpoint.
struct Seen {
  QString text;
  int bar;
  bool operator==(const Seen&) const = default;
};

constexpr const char* kCheckpoint = "checkpoint";

}  // namespace

class ProgressDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void statusTextsFollowThePostedMessagesInOrder();
  void abortIsPostedIntoTheWorkersQueueAndEndsWithUserAborted();
  void endStatusesAndTheirMessages();
  void workerBoxesAndTitleGoThroughTheDialogThread();

 private:
  // Runs `communication` in a dialog of `runMode` until the dialog ends;
  // returns the dialog's result.
  int Run(int runMode, gui::ProgressDialog::Communication communication,
          const std::function<void(gui::ProgressDialog&)>& whileRunning = {});

  ScriptedPrompts prompts_;
};

int ProgressDialogTest::Run(int runMode, gui::ProgressDialog::Communication communication,
                            const std::function<void(gui::ProgressDialog&)>& whileRunning) {
  gui::ProgressDialog dialog(nullptr, prompts_, platform::SystemClock::Instance());
  operations::RunSettings settings;
  settings.runMode = static_cast<operations::RunMode>(runMode);
  dialog.ConfigureRun(settings);
  dialog.SetCommunication(std::move(communication));
  QSignalSpy ended(&dialog, &QDialog::finished);
  dialog.show();
  if (whileRunning) whileRunning(dialog);
  if (ended.isEmpty() && !ended.wait(20000)) return -100;
  return ended.first().first().toInt();
}

void ProgressDialogTest::statusTextsFollowThePostedMessagesInOrder() {
  std::vector<Seen> seen;
  gui::ProgressDialog* shown = nullptr;
  prompts_.Clear();
  prompts_.OnBox([&](const ScriptedPrompts::Shown& box) {
    if (box.text == QLatin1String(kCheckpoint)) {
      auto* dialog = qobject_cast<gui::ProgressDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) dialog = shown;
      seen.push_back({dialog->StatusText(), dialog->BarPosition()});
    }
  });
  // The messages of a backup's opening, one application inside its band, the
  // Telephone spread and the end; each checkpoint is a box the worker asks
  // for, which the dialog shows only after every message posted before it.
  const int result = Run(
      1,
      [](LinkOwner& owner) {
        using namespace link;
        auto checkpoint = [&owner] { owner.ShowMessage(kCheckpoint, "", MessageBoxKind::Ok); };
        checkpoint();
        owner.Post(WM_LINK_STATUS, 0, NegotiationScope);
        checkpoint();
        owner.Post(WM_LINK_STATUS, 100, OperationScope);
        owner.Post(WM_LINK_PROGRESS, 10, OperationScope);
        checkpoint();
        owner.Post(WM_LINK_PROGRESS, 35, TelephoneScope);
        checkpoint();
        owner.Post(WM_LINK_PROGRESS, 50, OperationScope);
        owner.Post(WM_LINK_PROGRESS, 35, ApplicationScope);
        owner.Post(WM_LINK_PROGRESS, 35, ApplicationScope);
        checkpoint();
        owner.Post(WM_LINK_PROGRESS, 100, OperationScope);
        checkpoint();
        return LinkOk;
      },
      [&shown](gui::ProgressDialog& dialog) { shown = &dialog; });
  QCOMPARE(result, 16);
  const std::vector<Seen> expected = {
      {"", 0},
      {"Waiting for Organizer...", 0},
      {"Receiving...", 10},
      {"Receiving...", 22},
      {"Receiving...", 52},
      {"Finished.", 100},
  };
  QCOMPARE(seen.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QCOMPARE(seen[i].text, expected[i].text);
    QCOMPARE(seen[i].bar, expected[i].bar);
  }
  // Success closes the dialog without a box of its own.
  QCOMPARE(prompts_.Boxes().size(), expected.size());
  prompts_.OnBox({});
}

void ProgressDialogTest::abortIsPostedIntoTheWorkersQueueAndEndsWithUserAborted() {
  prompts_.Clear();
  std::atomic<int> aborts{0};
  const int result = Run(
      1,
      [&aborts](LinkOwner& owner) {
        owner.Post(link::WM_LINK_STATUS, 0, link::NegotiationScope);
        if (WaitForThreadMessage(link::WM_LINK_ABORT)) ++aborts;
        return link::LinkAborted;
      },
      [](gui::ProgressDialog& dialog) {
        // Twice, as an impatient user does; the run still ends once.
        auto* abort = Child<QPushButton>(dialog, "abortButton");
        abort->click();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(abort->text(), QStringLiteral("&Abort"));
      });
  QCOMPARE(result, 0);
  QCOMPARE(aborts.load(), 1);
  QCOMPARE(prompts_.Boxes().size(), std::size_t{1});
  QCOMPARE(prompts_.Boxes()[0].text, QStringLiteral("User aborted."));
  QCOMPARE(prompts_.Boxes()[0].caption, QStringLiteral("Abort"));
  QCOMPARE(prompts_.Boxes()[0].icon, gui::BoxIcon::Exclamation);
}

void ProgressDialogTest::endStatusesAndTheirMessages() {
  const struct {
    LinkStatus status;
    const char* text;  // nullptr: no box
  } cases[] = {
      {link::LinkTimeout, "Organizer not responding."},
      {link::LinkPortErrorCom3, "Error opening COM3."},
      {link::LinkReceiveIncomplete, "Communications error!\nPlease try again."},
      {link::LinkFileReadCancelled, nullptr},
      {link::LinkStatus{18}, "Error."},
  };
  for (const auto& c : cases) {
    prompts_.Clear();
    const int result = Run(2, [&c](LinkOwner&) { return c.status; });
    QCOMPARE(result, link::ToInt(c.status));
    if (c.text == nullptr) {
      QVERIFY(prompts_.Boxes().empty());
      continue;
    }
    QCOMPARE(prompts_.Boxes().size(), std::size_t{1});
    QCOMPARE(prompts_.Boxes()[0].text, QString::fromLatin1(c.text));
    QCOMPARE(prompts_.Boxes()[0].caption, QStringLiteral("Error"));
  }
}

void ProgressDialogTest::workerBoxesAndTitleGoThroughTheDialogThread() {
  prompts_.Clear();
  QThread* dialogThread = QThread::currentThread();
  bool shownOnDialogThread = false;
  prompts_.OnBox([&](const ScriptedPrompts::Shown&) {
    shownOnDialogThread = QThread::currentThread() == dialogThread;
  });
  prompts_.QueueAnswers({gui::kIdRetry, gui::kIdCancel});
  std::vector<int> answers;
  QString title;
  const int result = Run(
      1,
      [&answers](LinkOwner& owner) {
        owner.SetTitle("<M> " + owner.Title());
        answers.push_back(owner.ShowMessage("Write file error.", "Error",
                                            link::MessageBoxKind::RetryCancelQuestion));
        answers.push_back(owner.ShowMessage("Write file error.", "Error",
                                            link::MessageBoxKind::RetryCancelQuestion));
        return link::LinkFileReadCancelled;
      },
      [&title](gui::ProgressDialog& dialog) {
        QTRY_VERIFY(dialog.windowTitle().startsWith(QLatin1String("<M> ")));
        title = dialog.windowTitle();
      });
  QCOMPARE(result, 17);
  QCOMPARE(title, QStringLiteral("<M> PC Interface Software for Brelan Pellico (Backup)"));
  QVERIFY(shownOnDialogThread);
  QCOMPARE(answers, (std::vector<int>{gui::kIdRetry, gui::kIdCancel}));
  QCOMPARE(prompts_.Boxes()[0].buttons, gui::BoxButtons::RetryCancel);
  QCOMPARE(prompts_.Boxes()[0].icon, gui::BoxIcon::Question);
  prompts_.OnBox({});
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::ProgressDialogTest)
#include "progress_dialog_test.moc"
