// `orgalink import FILE.json -o ARCHIVE`: builds an archive from the JSON
// form that `orgalink export` writes.

#include <cstdio>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "archive_summary.h"
#include "codec_setup.h"
#include "commands.h"
#include "exchange/archive_json.h"
#include "platform/file_system.h"
#include "preflight.h"
#include "store/archive.h"
#include "store/checked_archive_file.h"
#include "store/readable_archive.h"

namespace orgalink::cli {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct ImportOptions {
  std::string input;
  std::string archive;
  int scramble = -1;
  CodecOptions codec;
};

int Fail(const std::string& message, int exit_code = kExitFailed) {
  std::fprintf(stderr, "orgalink: %s\n", message.c_str());
  return exit_code;
}

// A refusal for want of room goes with the generic message as its cause, as
// a backup's does; a file step that failed is told by the system's reason.
std::string WriteProblem(const store::ArchiveWrite& write) {
  if (!write.refusal.empty()) return "Write file error.\nCause: " + write.refusal + ".";
  return write.errorText;
}

// "-" is standard input.
bool ReadInput(const std::string& path, std::string& text, std::string& problem) {
  if (path == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes, &problem)) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

// The option, else the character set the file names, else the default.
std::string CharsetFor(const ImportOptions& options, const std::string& named) {
  if (!options.codec.charset.empty()) return options.codec.charset;
  return named.empty() ? std::string(platform::DefaultCharset) : named;
}

int Import(const ImportOptions& options) {
  std::string json;
  std::string problem;
  if (!ReadInput(options.input, json, problem)) {
    return Fail(options.input + ": cannot read the file: " + problem);
  }
  store::ReadableArchive archive;
  std::string named_charset;
  if (!exchange::ArchiveFromJson(json, archive, named_charset, problem)) {
    return Fail(options.input + ": " + problem);
  }
  if (const int refused = CheckCharacterTablesIn(options.codec.data_dir)) return refused;
  CodecSetup setup(options.codec.data_dir, CharsetFor(options, named_charset));
  if (!setup.CharsetKnown()) {
    const std::string unknown = "unknown character set \"" + setup.CharsetName() + "\"";
    return options.codec.charset.empty() ? Fail(options.input + ": charset: " + unknown)
                                         : Fail(unknown, kExitUsage);
  }
  if (options.scramble >= 0) {
    archive.magic = options.scramble != 0 ? store::InvertedMagic : store::PlainMagic;
  }
  std::vector<std::uint8_t> file;
  if (!store::BuildArchive(archive, setup.Codec(), file, &problem)) {
    return Fail(options.input + ": " + problem);
  }
  store::ArchiveWrite write;
  write.path = options.archive;
  if (store::SaveArchiveFile(write, file) != store::StoreOk) {
    return Fail("cannot write " + options.archive + ": " + WriteProblem(write));
  }
  PrintArchiveSummary(options.archive);
  return 0;
}

}  // namespace

void AddImportCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* command =
      app.add_subcommand("import", "Build an archive from the JSON that export writes");
  command->footer(
      "The text is encoded in the character set, then turned into the organizer's codes through "
      "code.dat. Nothing is written when anything is wrong: the message names the application, "
      "the record and the field, or the position in the JSON (exit 1). The archive is replaced "
      "only once the new one is complete and read back; on success its path and each "
      "application's record count are printed.");
  command->add_option("FILE", options->input, "JSON file, or - for standard input")->required();
  command->add_option("-o,--output", options->archive, "Archive to write (.bkf)")->required();
  command
      ->add_option("--scramble", options->scramble,
                   "1: invert the archive's body, 0: do not (default: as the file's magic says)")
      ->check(CLI::Range(0, 1));
  AddCodecOptions(*command, options->codec,
                  "Character set to encode the text in, any name iconv knows (default: the one "
                  "the file names, else ISO-8859-1)");
  command->callback([options, &context] { context.exit_code = Import(*options); });
}

}  // namespace orgalink::cli
