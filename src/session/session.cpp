// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/session.h"

#include "operations/configure_run.h"
#include "operations/run_communication.h"
#include "platform/program_directory.h"
#include "session/recovery_command.h"
#include "store/appli_kind.h"
#include "store/checked_archive.h"
#include "ui/safe_restore_texts.h"
#include "ui/settings.h"

namespace orgalink::session {

namespace {

std::string TableDirectory(const SessionRequest& request) {
  return request.dataDirectory.empty() ? platform::DataDirectory() : request.dataDirectory;
}

// The base model's Telephone check takes a transfer of 1 to BKTelRecordsMin
// records for an early stop. When the organizer is read back to compare it
// with an archive that holds k such records, k is what a whole transfer
// brings, so only fewer than k still count as a stop.
int TelephoneMinimumFor(const store::ArchiveRecords& expected, int minimum) {
  const store::RecordList* telephone = expected.Find(store::Telephone);
  const int held = telephone == nullptr ? 0 : static_cast<int>(telephone->size());
  return held >= 1 && held <= minimum ? held - 1 : minimum;
}

}  // namespace

Session::Session(settings::RunSettings settings, SessionRequest request, PortSource port,
                 platform::Clock& clock, platform::CancelToken& cancel)
    : settings_(std::move(settings)),
      request_(std::move(request)),
      clock_(clock),
      engine_(clock),
      store_(TableDirectory(request_)),
      run_(engine_) {
  const std::string tables = TableDirectory(request_);
  store::LoadCodeTables(tables, tables_.outgoing, tables_.incoming);
  store::LoadSortTables(tables, tables_.weights, tables_.second);
  engine_.Link().SetAbortToken(cancel);
  engine_.Link().SetPortOpener(port.opener
                                   ? std::move(port.opener)
                                   : ui::MakePortOpener(port.choice, settings_.comDevices, clock));
  settings_.runMode = request_.runMode;
  settings_.appliMode = request_.application;
  settings_.fileName =
      request_.verifyAgainst || request_.planned ? std::string() : request_.archive;
  settings_.comPort = port.choice.Number();
  settings_.sortTable = &tables_.weights;
  settings_.codeTable = &tables_.incoming;
}

void Session::Configure() {
  const bool dryRun = request_.planned && request_.planned->dryRun;
  if (request_.safetyBackup && settings_.safetyBackup != 0 && !dryRun) {
    ui::CreateBackupDir(settings_);
    settings_.safetyArchive = ui::SafetyArchivePath(settings_.backupDir, clock_);
  }
  operations::ConfigureRun(run_, store_, settings_);
  run_.numberedArchive = request_.numberedArchive;
  run_.dumpDirectory = request_.dumpDirectory;
  if (request_.planned) {
    planned_ = *request_.planned;
    planned_->plan.reset();
    run_.planned = &*planned_;
  }
  if (request_.verifyAgainst) {
    run_.received = &received_;
    store_.GetAppliBuf(store::ArchiveSlots);
    run_.telephone.minRecords =
        TelephoneMinimumFor(*request_.verifyAgainst, run_.telephone.minRecords);
  }
}

SessionOutcome Session::Communicate(link::FrontEnd front) {
  Configure();
  const int addressed = run_.appliKind;
  const platform::Tick start = clock_.Now();
  SessionOutcome outcome = Outcome(operations::RunCommunication(run_, front, request_.runMode));
  outcome.elapsedMs = static_cast<std::uint32_t>(clock_.Now() - start);
  outcome.appliKind = addressed;
  if (outcome.Ok() && request_.verifyAgainst) {
    outcome.verified =
        operations::CompareWithOrganizer(*request_.verifyAgainst, received_, addressed);
  }
  return outcome;
}

SessionOutcome Session::Outcome(link::StepResult result) const {
  SessionOutcome outcome;
  outcome.result = std::move(result);
  outcome.archive = run_.fileName;
  outcome.safety = run_.safety;
  if (request_.verifyAgainst) {
    for (std::uint8_t kind = 0; kind < outcome.counts.size(); ++kind) {
      outcome.counts[kind] = static_cast<int>(store::SplitStream(received_[kind]).size());
    }
  } else if (outcome.Ok() && !outcome.archive.empty()) {
    // The operations give their store back when they are done, so the
    // counts are those of the archive as it lies on disk: what was written,
    // or what was restored.
    store::CheckedArchive written;
    if (store::ReadArchiveFile(outcome.archive, written) != store::StoreOk) {
      outcome.countsUnread = written.message;
    }
    for (const store::ArchiveSection& section : written.image.sections) {
      if (section.application < outcome.counts.size()) {
        outcome.counts[section.application] = section.count;
      }
    }
  }
  if (planned_ && planned_->plan) {
    outcome.plan = planned_->plan;
    for (const operations::ApplicationPlan& one : planned_->plan->applications) {
      outcome.counts[one.application] = static_cast<int>(one.result.size());
    }
  }
  const operations::RestoreSafety& safety = run_.safety;
  if (!outcome.Ok() && safety.written && safety.deletionsBegun) {
    outcome.recoveryCommand = RecoveryCommand(request_, safety.archive);
  }
  return outcome;
}

void Session::PrepareSearch() {
  if (searchPrepared_) return;
  searchPrepared_ = true;
  operations::ConfigureSearchLink(engine_, settings_);
}

link::DetectResult Session::SearchPorts(link::ProgressSink* progress,
                                        const std::vector<std::string>& extraDevices) {
  PrepareSearch();
  return link::AutoDetectPort(engine_, progress, extraDevices);
}

}  // namespace orgalink::session
