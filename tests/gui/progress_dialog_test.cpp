// SPDX-License-Identifier: GPL-3.0-or-later
// The progress dialog driven by a worker that reports as a communication does.

#include "progress_dialog.h"

#include <QPushButton>
#include <QThread>
#include <QtTest>
#include <cerrno>
#include <semaphore>

#include "gui_fixture.h"
#include "link/negotiation.h"
#include "scripted_prompts.h"

namespace orgalink::guitest {

using link::FrontEnd;
using link::LinkStatus;
using link::ProgressKind;
using link::ProgressScope;

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
  void statusTextsFollowTheReportedEventsInOrder();
  void abortSetsTheWorkersRequestAndEndsWithUserAborted();
  void closingWhileTheWorkerRunsStopsItAndServesItsLastCalls();
  void endStatusesAndTheirMessages();
  void workerBoxesAndTitleGoThroughTheDialogThread();
  void aWorkerCallingIntoAClosingDialogIsAnsweredAtOnce();

 private:
  // Runs `communication` in a dialog of `runMode` until the dialog ends;
  // returns the dialog's result.
  int Run(int runMode, gui::ProgressDialog::Communication communication,
          const std::function<void(gui::ProgressDialog&)>& whileRunning = {});

  ScriptedPrompts prompts_;
  // The dialog Run shows, for a worker that waits for its abort request.
  gui::ProgressDialog* running_ = nullptr;
};

int ProgressDialogTest::Run(int runMode, gui::ProgressDialog::Communication communication,
                            const std::function<void(gui::ProgressDialog&)>& whileRunning) {
  gui::ProgressDialog dialog(nullptr, prompts_, platform::SystemClock::Instance());
  settings::RunSettings settings;
  settings.runMode = static_cast<settings::RunMode>(runMode);
  dialog.ConfigureRun(settings);
  dialog.SetCommunication(std::move(communication));
  QSignalSpy ended(&dialog, &QDialog::finished);
  running_ = &dialog;
  dialog.show();
  if (whileRunning) whileRunning(dialog);
  const int result = ended.isEmpty() && !ended.wait(20000) ? -100 : ended.first().first().toInt();
  running_ = nullptr;
  return result;
}

void ProgressDialogTest::statusTextsFollowTheReportedEventsInOrder() {
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
  // The events of a backup's opening, one application inside its band, the
  // Telephone spread and the end; each checkpoint is a box the worker asks
  // for, which the dialog shows only after every event reported before it.
  const int result = Run(
      1,
      [](FrontEnd front) {
        auto checkpoint = [front] { front.prompter->Inform(kCheckpoint, ""); };
        auto report = [front](ProgressKind kind, int value, ProgressScope scope) {
          front.progress->Report({kind, value, scope});
        };
        checkpoint();
        report(ProgressKind::Status, 0, ProgressScope::Negotiation);
        checkpoint();
        report(ProgressKind::Status, 100, ProgressScope::Operation);
        report(ProgressKind::Progress, 10, ProgressScope::Operation);
        checkpoint();
        report(ProgressKind::Progress, 35, ProgressScope::Telephone);
        checkpoint();
        report(ProgressKind::Progress, 50, ProgressScope::Operation);
        report(ProgressKind::Progress, 35, ProgressScope::Application);
        report(ProgressKind::Progress, 35, ProgressScope::Application);
        checkpoint();
        report(ProgressKind::Progress, 100, ProgressScope::Operation);
        checkpoint();
        return link::LinkOk;
      },
      [&shown](gui::ProgressDialog& dialog) { shown = &dialog; });
  QCOMPARE(result, 16);
  const std::vector<Seen> expected = {
      {"", 0},
      {"Waiting for Organizer...", 0},
      {"Receiving... Telephone", 10},
      {"Receiving... Telephone", 22},
      {"Receiving... Schedule", 52},
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

// However the run ends once the user asked to stop, a failure reads as the
// abort: the request may meet a write, whose failure (11) the engine reports.
// Only a run that got through before the request took hold stays a success.
void ProgressDialogTest::abortSetsTheWorkersRequestAndEndsWithUserAborted() {
  const struct {
    LinkStatus ending;
    int result;
    bool aborted;  // whether the "Abort" box shows
  } cases[] = {
      {link::LinkAborted, 0, true}, {link::LinkIoError, 0, true}, {link::LinkOk, 16, false}};
  for (const auto& c : cases) {
    prompts_.Clear();
    std::atomic<int> aborts{0};
    const int result = Run(
        1,
        [this, &aborts, &c](FrontEnd front) {
          front.progress->Report({ProgressKind::Status, 0, ProgressScope::Negotiation});
          if (WaitForAbort(running_->AbortRequest())) ++aborts;
          return c.ending;
        },
        [](gui::ProgressDialog& dialog) {
          // Twice, as an impatient user does; the run still ends once.
          auto* abort = Child<QPushButton>(dialog, "abortButton");
          abort->click();
          QTest::keyClick(&dialog, Qt::Key_Escape);
          QVERIFY(dialog.isVisible());
          QCOMPARE(abort->text(), QStringLiteral("&Abort"));
        });
    QCOMPARE(result, c.result);
    QCOMPARE(aborts.load(), 1);
    if (!c.aborted) {
      QVERIFY(prompts_.Boxes().empty());
      continue;
    }
    QCOMPARE(prompts_.Boxes().size(), std::size_t{1});
    QCOMPARE(prompts_.Boxes()[0].text, QStringLiteral("User aborted."));
    QCOMPARE(prompts_.Boxes()[0].caption, QStringLiteral("Abort"));
    QCOMPARE(prompts_.Boxes()[0].icon, gui::BoxIcon::Exclamation);
  }
}

// The program ending on a signal closes the dialog while its communication
// runs: the dialog asks the worker to stop before it waits for it, and goes
// on serving what the worker still asks of the dialog's thread meanwhile (a
// negotiation reports the organizer's variant, say) instead of waiting for
// it for ever.
void ProgressDialogTest::closingWhileTheWorkerRunsStopsItAndServesItsLastCalls() {
  prompts_.Clear();
  std::atomic<bool> aborted{false};
  {
    gui::ProgressDialog dialog(nullptr, prompts_, platform::SystemClock::Instance());
    settings::RunSettings settings;
    settings.runMode = settings::RunMode::Backup;
    dialog.ConfigureRun(settings);
    const platform::CancelToken& abort = dialog.AbortRequest();
    dialog.SetCommunication([&](FrontEnd front) {
      front.progress->Report({ProgressKind::Status, 0, ProgressScope::Negotiation});
      aborted = WaitForAbort(abort);
      front.progress->Report({ProgressKind::Variant, link::VariantEPlus});
      return link::LinkAborted;
    });
    dialog.show();
    QTRY_COMPARE(dialog.StatusText(), QStringLiteral("Waiting for Organizer..."));
  }
  QVERIFY(aborted);
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
    const int result = Run(2, [&c](FrontEnd) { return c.status; });
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
  prompts_.QueueAnswers({gui::BoxAnswer::Retry, gui::BoxAnswer::Cancel});
  std::vector<bool> answers;
  QString title;
  const int result = Run(
      1,
      [&answers](FrontEnd front) {
        front.progress->Report({ProgressKind::Variant, link::VariantM});
        const link::Cause full =
            link::Cause::File("No space left on device (needs 353916 bytes, 12288 free)", ENOSPC);
        answers.push_back(front.prompter->RetryOrCancel("Write file error.", full, "Error"));
        answers.push_back(front.prompter->RetryOrCancel("Write file error.", {}, "Error"));
        return link::LinkFileReadCancelled;
      },
      [&title](gui::ProgressDialog& dialog) {
        QTRY_VERIFY(dialog.windowTitle().startsWith(QLatin1String("<M> ")));
        title = dialog.windowTitle();
      });
  QCOMPARE(result, 17);
  QCOMPARE(title, QStringLiteral("<M> PC Interface Software for Brelan Pellico (Backup)"));
  QVERIFY(shownOnDialogThread);
  QCOMPARE(answers, (std::vector<bool>{true, false}));
  QCOMPARE(prompts_.Boxes()[0].buttons, gui::BoxButtons::RetryCancel);
  QCOMPARE(prompts_.Boxes()[0].icon, gui::BoxIcon::Question);
  // The cause is the box's detail; its text stays the message alone.
  QCOMPARE(prompts_.Boxes()[0].text, QStringLiteral("Write file error."));
  QCOMPARE(prompts_.Boxes()[0].detail,
           QStringLiteral("Cause: No space left on device (needs 353916 bytes, 12288 free)."));
  QCOMPARE(prompts_.Boxes()[1].detail, QString());
  prompts_.OnBox({});
}

// A dialog that goes while its worker still calls in (the program quits, say)
// must not leave the worker waiting for an event loop that has ended: the
// question answers Cancel at once and later events are dropped, so that the
// dialog's end, which waits for the worker, comes.
void ProgressDialogTest::aWorkerCallingIntoAClosingDialogIsAnsweredAtOnce() {
  prompts_.Clear();
  std::binary_semaphore asking{0};
  std::optional<bool> retry;
  auto dialog =
      std::make_unique<gui::ProgressDialog>(nullptr, prompts_, platform::SystemClock::Instance());
  dialog->SetCommunication([&](FrontEnd front) {
    asking.release();
    retry = front.prompter->RetryOrCancel("Write file error.", {}, "Error");
    front.progress->Report({ProgressKind::Progress, 100, ProgressScope::Operation});
    return link::LinkFileReadCancelled;
  });
  dialog->show();
  // Gone without a turn of the event loop, so the question can only have
  // been answered by the closing.
  asking.acquire();
  dialog.reset();
  QCOMPARE(retry, std::optional<bool>(false));
  QVERIFY(prompts_.Boxes().empty());
}

}  // namespace orgalink::guitest

QTEST_MAIN(orgalink::guitest::ProgressDialogTest)
#include "progress_dialog_test.moc"
