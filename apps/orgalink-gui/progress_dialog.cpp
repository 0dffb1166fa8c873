// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_dialog.h"

#include <QLabel>
#include <QProgressBar>

#include "dialog_controls.h"
#include "texts.h"
#include "title_fit.h"
#include "ui/end_notice.h"
#include "ui/failure_advice.h"
#include "ui/instruction_texts.h"
#include "ui/progress_status_line.h"
#include "ui/variant_tag.h"

namespace orgalink::gui {

ProgressDialog::ProgressDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock,
                               const std::string& tableDirectory)
    : LinkDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint, prompts),
      prompts_(prompts),
      clock_(clock),
      tableDirectory_(tableDirectory),
      model_(settings::ToInt(runMode_)) {
  communication_ = [this](link::FrontEnd front) {
    if (!session_) {
      return link::StepResult(
          link::LinkIoError,
          link::Cause::WrongData("communication", -1, -1, "the dialog was given no communication"));
    }
    outcome_ = session_->Communicate(front);
    return outcome_.result;
  };

  const DialogUnits units = SetUpFixedDialog(*this, 212, 120);
  QPushButton* abort = AddButton(*this, units, QStringLiteral("&Abort"), {155, 99, 50, 14});
  abort->setObjectName(QStringLiteral("abortButton"));
  connect(abort, &QPushButton::clicked, this, &ProgressDialog::reject);

  bar_ = new QProgressBar(this);
  bar_->setGeometry(units.Rect(16, 76, 180, 14));
  bar_->setRange(ui::ProgressModel::kBarMinimum, ui::ProgressModel::kBarMaximum);
  bar_->setValue(ui::ProgressModel::kBarMinimum);
  bar_->setTextVisible(false);

  AddLabel(*this, units, QStringLiteral("Status :"), {19, 105, 25, 8});
  statusLabel_ = AddLabel(*this, units, QStringLiteral("Waiting for Organizer"), {49, 105, 93, 8});
  statusLabel_->setObjectName(QStringLiteral("statusLabel"));
  AddGroupBox(*this, units, QString::fromLatin1(ui::kProgressInstructionsTitle), {7, 7, 198, 53});
  int y = 21;
  for (const char* line : ui::kProgressInstructions) {
    AddLabel(*this, units, QString::fromLatin1(line), {18, y, 174, 8});
    y += 11;
  }
  AddLabel(*this, units, QStringLiteral("0%"), {14, 67, 28, 8});
  AddLabel(*this, units, QStringLiteral("100%"), {189, 67, 19, 8});
}

// A dialog closed with its communication still running (the program ends
// on a signal, say) stops it first: the run still says goodbye to the
// organizer and closes the port.
ProgressDialog::~ProgressDialog() {
  abortRequest_.Set();
  Bridge().Close();
  worker_.Join();
}

void ProgressDialog::ConfigureRun(const settings::RunSettings& settings,
                                  session::SessionRequest request) {
  runMode_ = request.runMode;
  model_ = ui::ProgressModel(settings::ToInt(runMode_));
  if (request.dataDirectory.empty()) request.dataDirectory = tableDirectory_;
  session::PortSource port{{ui::PortChoice::Kind::Com, settings.comPort, {}}, {}};
  session_ = std::make_unique<session::Session>(settings, std::move(request), std::move(port),
                                                clock_, abortRequest_);
}

void ProgressDialog::ConfigureRun(const settings::RunSettings& settings) {
  session::SessionRequest request;
  request.runMode = settings.runMode;
  request.application = settings.appliMode;
  request.archive = settings.fileName;
  ConfigureRun(settings, std::move(request));
}

session::SessionOutcome ProgressDialog::Run() {
  exec();
  return outcome_;
}

void ProgressDialog::SetCommunication(Communication communication) {
  communication_ = std::move(communication);
}

QString ProgressDialog::StatusText() const {
  return statusLabel_->text();
}

int ProgressDialog::BarPosition() const {
  return bar_->value();
}

void ProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!started_) Start();
}

void ProgressDialog::Start() {
  started_ = true;
  SetFittingTitle(*this, QString::fromStdString(ui::ProgressTitle(settings::ToInt(runMode_))));
  Refresh();
  const bool running = worker_.Start([this] {
    outcome_.result = communication_(Bridge().Front());
    const link::LinkStatus status = outcome_.result.status;
    // The worker's last act on the dialog.
    Bridge().Report({status == link::LinkOk ? link::ProgressKind::Done : link::ProgressKind::Failed,
                     link::ToInt(status)});
  });
  if (!running) {
    prompts_.ShowBox(this, {QString::fromLatin1(kCannotStartWorker),
                            QString::fromLatin1(kCaptionError), BoxIcon::Exclamation});
  }
}

void ProgressDialog::reject() {
  if (worker_.Started()) {
    abortRequest_.Set();
  } else {
    // Nobody would ever send the end message.
    outcome_.result = link::LinkAborted;
    done(-1);
  }
}

void ProgressDialog::HandleProgress(const link::ProgressEvent& event) {
  if (event.kind == link::ProgressKind::Variant) {
    SetFittingTitle(*this, QString::fromStdString(ui::VariantTag(event.value)) + windowTitle());
    return;
  }
  if (model_.Handle(event)) Refresh();
  if (const auto ended = model_.Ended()) End(*ended);
}

void ProgressDialog::Refresh() {
  statusLabel_->setText(
      QString::fromStdString(ui::StatusLineOf(model_, settings::ToInt(runMode_), true)));
  bar_->setValue(model_.BarPosition());
}

void ProgressDialog::End(link::LinkStatus status) {
  // An abort that meets a write, say, fails the run with that write's
  // status; the user still asked to stop and is told so. A run that got
  // through before the request took hold stays a success.
  if (abortRequest_.IsSet() && status != link::LinkOk) {
    status = link::LinkAborted;
    outcome_.result = {link::LinkAborted, link::Cause::Aborted()};
  }
  if (const auto notice = ui::EndNoticeFor(status)) {
    // The status text alone ("Error opening COM2.") leaves the user
    // guessing; the cause the failing step found and what to try go below.
    const std::string advice =
        ui::FailureAdvice({status, outcome_.result.cause}, ui::RestoreFront::Dialog);
    prompts_.ShowBox(this,
                     {QString::fromStdString(notice->text), QString::fromStdString(notice->caption),
                      BoxIcon::Exclamation, BoxButtons::Ok, QString::fromStdString(advice)});
  }
  done(link::ToInt(status));
}

}  // namespace orgalink::gui
