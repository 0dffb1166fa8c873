// SPDX-License-Identifier: GPL-3.0-or-later
// `orgalink export ARCHIVE`: every record of an archive in a form a person
// can read and edit, without losing a byte (JSON), or for reading only (text).

#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "archive_path.h"
#include "codec_setup.h"
#include "commands.h"
#include "exchange/archive_json.h"
#include "exchange/archive_text.h"
#include "output_check.h"
#include "platform/file_system.h"
#include "platform/output_file.h"
#include "platform/standard_output.h"
#include "preflight.h"
#include "store/checked_archive.h"
#include "store/readable_archive.h"

namespace orgalink::cli {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct ExportOptions {
  std::string archive;
  std::string output;
  std::string format = "json";
  CodecOptions codec;
};

int Fail(const std::string& message, int exit_code = kExitFailed) {
  std::fprintf(stderr, "orgalink: %s\n", message.c_str());
  return exit_code;
}

bool Render(const ExportOptions& options, const store::ReadableArchive& archive,
            const std::string& charset, std::string& text) {
  if (options.format == "json") return exchange::ArchiveToJson(archive, charset, text);
  std::ostringstream out;
  exchange::WriteArchiveText(archive, charset, out);
  text = out.str();
  return true;
}

int Export(const ExportOptions& options) {
  if (const int refused = CheckCharacterTablesIn(options.codec.data_dir)) return refused;
  CodecSetup setup(options.codec.data_dir, options.codec.charset.empty()
                                               ? std::string(platform::DefaultCharset)
                                               : options.codec.charset);
  if (!setup.CharsetKnown()) {
    return Fail("unknown character set \"" + setup.CharsetName() + "\"", kExitUsage);
  }
  store::CheckedArchive checked;
  store::ReadArchiveFile(options.archive, checked);
  if (!checked.parsed) return Fail(checked.message);
  store::ReadableArchive archive;
  store::ReadArchive(checked.image, setup.Codec(), archive);
  // An archive that breaks the organizer's limits is refused as every
  // command refuses it, yet written out all the same: the export is the way
  // to mend it, which import then checks.
  const std::string refusal = checked.message;
  checked = store::CheckedArchive{};
  std::string text;
  if (!Render(options, archive, setup.CharsetName(), text)) {
    return Fail(options.archive + ": a text could not be written as UTF-8");
  }
  if (options.output.empty()) {
    if (const int error = platform::WriteStandardOutput(text)) return OutputFailed(error);
  } else if (const int error = platform::WriteOutputFile(options.output, text)) {
    return Fail("cannot write " + options.output + ": " + platform::ErrorText(error));
  }
  if (!refusal.empty()) {
    return Fail(refusal +
                "\norgalink: exported all the same, to be mended: import refuses it as it "
                "stands");
  }
  return 0;
}

}  // namespace

void AddExportCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command =
      app.add_subcommand("export", "Write every record of an archive as JSON or text");
  command->footer(
      "JSON (the default) keeps every byte: `orgalink import` turns it, edited or not, back into "
      "an archive. Each record shows its binary fields as hex and its text as a list of fields, "
      "decoded through code.dat and the character set; a record whose text would not come back "
      "byte for byte is kept whole as hex. The text format is for reading only.");
  command->add_option("ARCHIVE", options->archive, "Archive file (.bkf)")
      ->required()
      ->transform(ArchivePathTransform());
  command->add_option("-o,--output", options->output, "File to write (default: standard output)");
  command->add_option("--format", options->format, "json (default) or text")
      ->check(CLI::IsMember({"json", "text"}));
  AddCodecOptions(*command, options->codec,
                  "Character set of the text after code.dat, any name iconv knows (default "
                  "ISO-8859-1)");
  command->callback([options, &context] {
    context.stop.Watching();
    context.exit_code = Export(*options);
  });
}

}  // namespace orgalink::cli
