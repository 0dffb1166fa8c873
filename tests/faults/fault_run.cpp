#include "fault_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "link/messages.h"
#include "operations/configure_run.h"
#include "operations/run_communication.h"
#include "platform/file_system.h"
#include "sim/in_process_organizer.h"
#include "support/file_bytes.h"
#include "support/line_fixture.h"

namespace orgalink::faulttest {

namespace {

const std::string kDataDirectory = ORGALINK_SOURCE_DIR "/data/";

store::CharTables Tables() {
  store::CharTables tables;
  store::LoadCodeTables(kDataDirectory, tables.outgoing, tables.incoming);
  store::LoadSortTables(kDataDirectory, tables.weights, tables.second);
  return tables;
}

// The progress dialog as the user sees it: it hears every post, and the user
// may react to one.
class WatchingOwner : public testsupport::RecordingOwner {
 public:
  std::function<void(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam)> on_post;

  void Post(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) override {
    RecordingOwner::Post(message, wparam, lparam);
    if (on_post) on_post(message, wparam, lparam);
  }
};

int OpenDescriptors() {
  const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

operations::RunSettings Settings(const FaultSetup& setup, const testsupport::TempDir& folder,
                                 const store::CharTables& tables) {
  operations::RunSettings settings;
  settings.runMode = setup.operation == Operation::Backup ? 1 : 2;
  settings.fileName = folder.File(kArchiveName);
  settings.logFileName = folder.File("comm.log");
  settings.toCommand = kCommandTimeoutMs;
  settings.toDataPacket = kDataTimeoutMs;
  settings.sortTable = &tables.weights;
  settings.codeTable = &tables.incoming;
  return settings;
}

// The user's abort request, made by the dialog's thread's post or by the
// PC's own write, as the setup says. Remembers when it was made.
class AbortRequest {
 public:
  AbortRequest(const FaultSetup& setup, testsupport::LineFixture& f, WatchingOwner& owner,
               platform::VirtualLine& line)
      : f_(f) {
    switch (setup.abort) {
      case Abort::Never:
        break;
      case Abort::WhileWaiting:
        owner.on_post = [this](std::uint32_t message, std::uint32_t wparam, std::int32_t lparam) {
          if (message == link::WM_LINK_STATUS && wparam == 0 && lparam == link::NegotiationScope)
            Later(kPatienceMs);
        };
        break;
      case Abort::AfterARecord:
        owner.on_post = [this](std::uint32_t message, std::uint32_t, std::int32_t lparam) {
          if (message == link::WM_LINK_PROGRESS && lparam == link::TelephoneScope) Now();
        };
        break;
      case Abort::WhilePcSends:
        line.SetFaultHook([this, byte = setup.abort_byte](platform::VirtualLine::End from,
                                                          std::uint64_t index, std::uint8_t) {
          if (from == platform::VirtualLine::End::A && index == byte) Now();
          return platform::VirtualLine::Fault{};
        });
        break;
    }
  }

  std::optional<platform::Tick> at() const { return at_; }

 private:
  // Called on the PC's thread, whose queue the request goes to.
  void Now() {
    if (at_) return;
    at_ = f_.clock.Now();
    platform::CurrentThreadQueue()->Post({link::WM_LINK_ABORT, 0, 0});
  }
  void Later(std::uint32_t ms) {
    if (at_) return;
    at_ = f_.clock.Now() + ms;
    f_.AbortAt(*at_);
  }

  testsupport::LineFixture& f_;
  std::optional<platform::Tick> at_;
};

FaultOutcome RunInScope(const FaultSetup& setup) {
  FaultOutcome outcome;
  testsupport::LineFixture f;
  const std::string archive = f.dir.File(kArchiveName);
  if (!setup.archive.empty()) testsupport::WriteBytes(archive, setup.archive);

  sim::SimOptions options;
  options.table_directory = kDataDirectory;
  options.faults = setup.faults;
  options.device_code_high = setup.device_code_high;
  std::string error;
  const auto cable = sim::InProcessOrganizer::Create(options, kBaud, error, f.clock);
  if (!cable) {
    ADD_FAILURE() << "no organizer: " << error;
    return outcome;
  }
  f.engine.SetPortOpener(cable->Opener());
  const store::CharTables tables = Tables();
  const operations::RunSettings settings = Settings(setup, f.dir, tables);
  operations::ConfigureRun(f.run, f.store, settings);
  WatchingOwner owner;
  owner.SetAnswer(link::IDCANCEL);
  const AbortRequest abort(setup, f, owner, cable->Line());

  std::optional<platform::ScopedWriteFault> full_disk;
  if (setup.disk_full) full_disk.emplace(kDiskRoom, ENOSPC);
  platform::Tick end = 0;
  f.Run([&] {
    outcome.elapsed_ms = f.Elapsed([&] {
      outcome.status =
          operations::RunCommunication(f.run, &owner, static_cast<std::uint8_t>(settings.runMode));
    });
    end = f.clock.Now();
  });
  full_disk.reset();
  cable->Organizer().WaitUntilIdle();

  if (abort.at()) outcome.abort_to_end_ms = end - *abort.at();
  outcome.log = testsupport::ReadFile(settings.logFileName);
  outcome.archive = testsupport::FileBytes(archive);
  outcome.files = FileNames(f.dir.path());
  const sim::SimStats stats = cable->Organizer().Stats();
  outcome.sessions = stats.sessions;
  outcome.heard = stats.commands;
  outcome.pc_bytes = cable->Line().BytesWritten(platform::VirtualLine::End::A);
  outcome.shown = owner.shown();
  return outcome;
}

}  // namespace

FaultOutcome RunWithFault(const FaultSetup& setup) {
  const int before = OpenDescriptors();
  FaultOutcome outcome = RunInScope(setup);
  outcome.descriptors_left = OpenDescriptors() - before;
  return outcome;
}

Bytes SampleArchive() {
  return testsupport::FileBytes(kDataDirectory + "sample_organizer.bkf");
}

}  // namespace orgalink::faulttest
