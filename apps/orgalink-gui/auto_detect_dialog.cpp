// SPDX-License-Identifier: GPL-3.0-or-later
#include "auto_detect_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "dialog_controls.h"
#include "texts.h"
#include "title_fit.h"
#include "ui/detect_advice.h"
#include "ui/instruction_texts.h"
#include "ui/status_code.h"
#include "ui/status_messages.h"
#include "ui/variant_tag.h"

namespace orgalink::gui {

namespace {

const QString kTitle = QStringLiteral("Auto Detect");
const QString kCancelText = QStringLiteral("&Cancel");
const QString kAbortText = QStringLiteral("&Abort");

struct Line {
  const char* text;
  int y;
};

constexpr Line kInstructionLines[] = {
    {ui::kDetectInstructions[0], 9},
    {ui::kDetectInstructions[1], 19},
    {ui::kDetectInstructions[2], 29},
    {"If Auto Detection appears to take a long time or your wish to", 48},
    {"abort, press the [ESC] key.", 58},
    {"WARNING: This process may cause your computer to crash if", 74},
    {"you have any incorrectly configured hardware. If this happens,", 84},
    {"you may have to reset your computer.", 94},
};

}  // namespace

AutoDetectDialog::AutoDetectDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock)
    : LinkDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint, prompts),
      prompts_(prompts),
      clock_(clock),
      detection_([](session::Session& search, link::ProgressSink& progress) {
        return search.SearchPorts(&progress, {});
      }) {
  setWindowTitle(kTitle);
  const DialogUnits units = SetUpFixedDialog(*this, 225, 143);
  proceed_ = AddButton(*this, units, QStringLiteral("&Proceed"), {108, 121, 50, 14});
  proceed_->setObjectName(QStringLiteral("proceedButton"));
  proceed_->setDefault(true);
  connect(proceed_, &QPushButton::clicked, this, &AutoDetectDialog::Proceed);
  cancel_ = AddButton(*this, units, kCancelText, {163, 121, 50, 14});
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  connect(cancel_, &QPushButton::clicked, this, &AutoDetectDialog::reject);

  for (const Line& line : kInstructionLines) {
    AddLabel(*this, units, QString::fromLatin1(line.text), {17, line.y, 195, 8});
  }
  progressLabel_ = AddLabel(*this, units, QString(), {17, 115, 87, 8});
  progressLabel_->setObjectName(QStringLiteral("progressLabel"));
  portLabel_ = AddLabel(*this, units, QString(), {17, 125, 83, 8});
  portLabel_->setObjectName(QStringLiteral("portLabel"));
}

// A search still running when the dialog goes (the program ends on a
// signal, say) is stopped first.
AutoDetectDialog::~AutoDetectDialog() {
  if (abortRequest_) abortRequest_->Set();
  Bridge().Close();
  worker_.Join();
}

void AutoDetectDialog::Configure(const settings::RunSettings& settings) {
  worker_.Join();
  settings_ = settings;
  NewSearch();
  search_->PrepareSearch();
}

// A fresh abort request (it latches) and session for the next search. The
// devices are read when the search opens them: those Search() was given.
void AutoDetectDialog::NewSearch() {
  abortRequest_ = std::make_unique<platform::CancelToken>();
  platform::PortOpener opener = [this](int port, int baud, std::string& error) {
    return ui::MakeMappedPortOpener(devices_, clock_)(port, baud, error);
  };
  search_ = std::make_unique<session::Session>(settings_, session::SessionRequest{},
                                               session::PortSource{{}, std::move(opener)}, clock_,
                                               *abortRequest_);
  searched_ = false;
}

std::optional<int> AutoDetectDialog::Search(const ui::PortMap& devices) {
  devices_ = devices;
  found_.reset();
  exec();
  return found_;
}

void AutoDetectDialog::SetDetection(Detection detection) {
  detection_ = std::move(detection);
}

void AutoDetectDialog::showEvent(QShowEvent* event) {
  // Each run starts as a dialog freshly made from its template; the title
  // may carry the organizer's variant tag from an earlier run. The window
  // system's own show events (a restore from the task bar) change nothing.
  if (!event->spontaneous()) {
    Bridge().Open();
    SetFittingTitle(*this, kTitle);
    proceed_->setEnabled(true);
    cancel_->setText(kCancelText);
    progressLabel_->clear();
    portLabel_->clear();
    proceed_->setFocus();
  }
  QDialog::showEvent(event);
}

void AutoDetectDialog::Proceed() {
  worker_.Join();
  if (!search_ || searched_) NewSearch();
  searched_ = true;
  const bool running = worker_.Start([this] {
    const link::DetectResult result = detection_(*search_, Bridge());
    const int port = result.port;
    const bool found = port >= 1 && port <= 4;
    // The same cause and advice as the command line's search; none for an
    // abort the user asked for.
    failureDetail_ = QString::fromStdString(ui::DetectFailureAdvice(result.cause, settingsFile_));
    Bridge().Report(
        {found ? link::ProgressKind::DetectFound : link::ProgressKind::DetectFailed, port});
  });
  if (!running) {
    prompts_.ShowBox(this, {QString::fromLatin1(kCannotStartWorker),
                            QString::fromLatin1(kCaptionError), BoxIcon::Exclamation});
    return;
  }
  // Only now can an abort reach the search, so only now does the button
  // offer it.
  proceed_->setEnabled(false);
  cancel_->setText(kAbortText);
  cancel_->setFocus();
}

void AutoDetectDialog::reject() {
  if (cancel_->text() != kAbortText) {
    done(-1);
    return;
  }
  abortRequest_->Set();
}

void AutoDetectDialog::HandleProgress(const link::ProgressEvent& event) {
  const int port = event.value;
  switch (event.kind) {
    case link::ProgressKind::DetectChecking:
      progressLabel_->setText(QString::fromLatin1(ui::kDetectInProgress));
      portLabel_->setText(QString::fromStdString(ui::CheckingPortText(port)));
      break;
    case link::ProgressKind::DetectFound:
      prompts_.ShowBox(this, {QString::fromLatin1(ui::StatusMessages(ui::StatusFromCode(port))),
                              kTitle, BoxIcon::Information});
      found_ = port;
      done(port);
      break;
    case link::ProgressKind::DetectFailed:
      prompts_.ShowBox(this, {QString::fromLatin1(ui::StatusMessages(link::LinkNotDetected)),
                              QString::fromLatin1(kCaptionError), BoxIcon::Exclamation,
                              BoxButtons::Ok, failureDetail_});
      done(-1);
      break;
    case link::ProgressKind::Variant:
      SetFittingTitle(*this, QString::fromStdString(ui::VariantTag(event.value)) + windowTitle());
      break;
    default:
      // The negotiation's "waiting" notes are for the progress dialog.
      break;
  }
}

}  // namespace orgalink::gui
