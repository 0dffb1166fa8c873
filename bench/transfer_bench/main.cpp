// SPDX-License-Identifier: GPL-3.0-or-later
// A full backup and a full restore of the reference organizer against the
// simulated organizer, in real time: on the paced in-process line at each
// baud rate and over a real pseudo-terminal served by `orgalink simulate
// --pty` in a child process. For each run: wall time against the line-time
// bound, processor share, peak memory, and the latency of an abort requested
// mid-transfer.
//
//   transfer_bench                 the reference organizer at 19200 and 115200 baud, and the pty
//   transfer_bench --quick         a tenth of it, 115200 baud and the pty only
//   options: --baud N (repeatable), --no-pty, --no-virtual, --aborts N, --echo 0|1,
//            --safe-restore (a restore with and without its safety backup, and a read-back)

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "bench_line.h"
#include "line_bench.h"
#include "options.h"
#include "platform/program_directory.h"
#include "sim/sample_organizer.h"
#include "sim/state_file.h"
#include "usage.h"

namespace orgalink::bench {

namespace {

constexpr sim::OrganizerSize kQuickSize{200, 50, 30, 30, 30, 60};

// A folder of its own for the archives and the pseudo-terminal's organizer.
struct TempDir {
  TempDir() {
    char pattern[] = "/tmp/transfer_bench.XXXXXX";
    if (mkdtemp(pattern) != nullptr) path = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  std::string File(const std::string& name) const { return path + "/" + name; }
  std::string path;
};

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

store::CharTables LoadTables(const std::string& directory) {
  store::CharTables tables;
  store::LoadCodeTables(directory, tables.outgoing, tables.incoming);
  store::LoadSortTables(directory, tables.weights, tables.second);
  return tables;
}

void PrintHeader(const sim::OrganizerSize& size, const Options& options) {
  std::printf(
      "organizer: %d Telephone, %d Schedule, %d Anniversary, %d To Do, %d Memo, %d Expense, "
      "the expense categories; echo %s\n",
      size.telephone, size.schedule, size.anniversary, size.todo, size.memo, size.expense,
      options.echo ? "on" : "off");
  std::printf("host: %ld CPUs, load average at start %s\n", sysconf(_SC_NPROCESSORS_ONLN),
              LoadAverage().c_str());
}

int Bench(const Options& options) {
  const std::string tables_dir = ORGALINK_DATA_DIR;
  // The store converts records with the tables it finds there.
  platform::SetDataDirectory(tables_dir);
  const sim::OrganizerSize size = options.quick ? kQuickSize : sim::kReferenceSize;
  const store::CharTables tables = LoadTables(tables_dir);
  const sim::OrganizerContents reference =
      sim::GenerateOrganizer(size, sim::TelephoneSort::FromDirectory(tables_dir));
  TempDir dir;
  if (dir.path.empty()) {
    std::perror("temporary folder");
    return 1;
  }
  PrintHeader(size, options);
  LineBench bench(options, tables, dir.path);

  sim::SimOptions sim_options;
  sim_options.table_directory = tables_dir;
  sim_options.echo = options.echo;
  std::optional<double> organizer_cpu;
  for (int baud : options.virtual_lines ? options.bauds : std::vector<int>{}) {
    std::unique_ptr<BenchLine> line = MakeVirtualLine(sim_options, reference, baud);
    bench.Run(*line, reference);
  }
  if (options.pty) {
    std::string error;
    const std::string state = dir.File("pty_organizer.bkf");
    if (!sim::SaveOrganizerFile(state, reference, error)) {
      std::fprintf(stderr, "state file: %s\n", error.c_str());
      return 1;
    }
    {
      std::unique_ptr<BenchLine> line = MakePtyLine(ORGALINK_PROGRAM, state, options.echo, error);
      if (!line) {
        std::fprintf(stderr, "pseudo-terminal: %s\n", error.c_str());
        return 1;
      }
      bench.Run(*line, reference);
      organizer_cpu = line->Finish();
    }
  }
  bench.Print();
  if (organizer_cpu) {
    std::printf("\nthe pty's organizer process used %.2f s of CPU over all its runs\n",
                *organizer_cpu);
  }
  std::printf("\nload average at end %s\n", LoadAverage().c_str());
  return 0;
}

}  // namespace

}  // namespace orgalink::bench

int main(int argc, char** argv) {
  using namespace orgalink::bench;
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  return Bench(options);
}
