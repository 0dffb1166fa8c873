// SPDX-License-Identifier: GPL-3.0-or-later
// `orgalink import FILE.json -o ARCHIVE`: builds an archive from the JSON
// form that `orgalink export` writes.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codec_setup.h"
#include "commands.h"
#include "exchange/archive_json.h"
#include "exchange/json_input.h"
#include "exchange/shown_value.h"
#include "output_check.h"
#include "platform/file_system.h"
#include "platform/output_file.h"
#include "platform/standard_input.h"
#include "platform/standard_output.h"
#include "preflight.h"
#include "store/archive.h"
#include "store/checked_archive.h"
#include "store/checked_archive_file.h"
#include "store/readable_archive.h"
#include "ui/archive_names.h"

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

// The JSON text as it is read: "-" is standard input. A regular file larger
// than any export is refused before a byte of it is read, anything else
// (a pipe, /dev/zero) stops at the same bound as it is read.
class JsonFile {
 public:
  explicit JsonFile(const std::string& path) : path_(path) {
    if (path != "-") file_.emplace(path);
  }

  // The reason the file cannot be read from the start, else "".
  std::string Refusal() const {
    if (file_ && !file_->IsOpen())
      return "cannot read the file: " + platform::ErrorText(file_->Error());
    const std::optional<std::uint64_t> size = file_ ? platform::FileSize(path_) : std::nullopt;
    if (size && *size > exchange::MaxJsonBytes) return exchange::TooLargeProblem();
    return "";
  }

  exchange::JsonSource Source() {
    return [this](char* buffer, std::size_t size) -> std::optional<std::size_t> {
      if (!file_) return platform::ReadStandardInput(buffer, size, error_);
      const auto got = file_->Read(reinterpret_cast<std::uint8_t*>(buffer), size);
      if (!got) error_ = file_->Error();
      return got;
    };
  }

  // The cause of the read that failed.
  std::string Cause() const { return platform::ErrorText(error_); }

 private:
  std::string path_;
  std::optional<platform::InputFile> file_;
  int error_ = 0;
};

// The option, else the character set the file names, else the default.
std::string CharsetFor(const ImportOptions& options, const std::string& named) {
  if (!options.codec.charset.empty()) return options.codec.charset;
  return named.empty() ? std::string(platform::DefaultCharset) : named;
}

// The path and each application's record count, as the archive's bytes
// hold them.
std::string Summary(const std::string& path, const std::vector<std::uint8_t>& file) {
  store::CheckedArchive checked;
  store::CheckArchiveBytes(file, checked);
  std::string text = path + "\n";
  for (const store::ArchiveSection& section : checked.image.sections) {
    text += "  " + store::ApplicationName(section.application) + ": " +
            std::to_string(section.count) + " record" + (section.count == 1 ? "" : "s") + "\n";
  }
  return text;
}

// Writes the archive to the output: a device or FIFO as it stands, any
// other file through the checked replace, which reads the new file back
// before it takes the old one's place (a link's target, not the link).
int WriteArchive(const std::string& output, const std::vector<std::uint8_t>& file) {
  platform::OutputTarget target;
  int error = 0;
  if (!platform::ResolveOutput(output, target, &error)) {
    return Fail("cannot write " + output + ": " + platform::ErrorText(error));
  }
  if (target.in_place) {
    error = platform::WriteInPlace(
        target.path, std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    return error == 0 ? 0 : Fail("cannot write " + output + ": " + platform::ErrorText(error));
  }
  store::ArchiveWrite write;
  write.path = target.path;
  if (store::SaveArchiveFile(write, file) != store::StoreOk) {
    return Fail("cannot write " + output + ": " + WriteProblem(write));
  }
  return 0;
}

// A new archive's name gets its extension as a backup's does; a file that
// is there under the name given (an archive, a link, a device, a FIFO) is
// the one meant.
std::string OutputPath(const std::string& given) {
  platform::OutputTarget target;
  int error = 0;
  if (platform::FileExists(given) ||
      (platform::ResolveOutput(given, target, &error) && target.in_place)) {
    return given;
  }
  std::string path = given;
  ui::EnsureBackupExtension(path);
  return path;
}

int Import(const ImportOptions& options) {
  JsonFile input(options.input);
  std::string problem = input.Refusal();
  if (!problem.empty()) return Fail(options.input + ": " + problem);
  store::ReadableArchive archive;
  std::string named_charset;
  if (!exchange::ArchiveFromJson(input.Source(), archive, named_charset, problem)) {
    if (problem == "cannot read the file") problem += ": " + input.Cause();
    return Fail(options.input + ": " + problem);
  }
  if (const int refused = CheckCharacterTablesIn(options.codec.data_dir)) return refused;
  CodecSetup setup(options.codec.data_dir, CharsetFor(options, named_charset));
  if (!setup.CharsetKnown()) {
    if (!options.codec.charset.empty()) {
      return Fail("unknown character set \"" + setup.CharsetName() + "\"", kExitUsage);
    }
    // The file's own name for it may be of any length.
    return Fail(options.input + ": charset: unknown character set " +
                exchange::ShownText(setup.CharsetName()));
  }
  if (options.scramble >= 0) {
    archive.magic = options.scramble != 0 ? store::InvertedMagic : store::PlainMagic;
  }
  std::vector<std::uint8_t> file;
  if (!store::BuildArchive(archive, setup.Codec(), file, &problem)) {
    return Fail(options.input + ": " + problem);
  }
  const std::string output = OutputPath(options.archive);
  if (const int failed = WriteArchive(output, file)) return failed;
  const int error = platform::WriteStandardOutput(Summary(output, file));
  return error == 0 ? 0 : OutputFailed(error);
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
  command
      ->add_option("-o,--output", options->archive,
                   "Archive to write (.bkf is added when missing, as backup adds it)")
      ->required();
  command
      ->add_option("--scramble", options->scramble,
                   "1: invert the archive's body, 0: do not (default: as the file's magic says)")
      ->check(CLI::Range(0, 1));
  AddCodecOptions(*command, options->codec,
                  "Character set to encode the text in, any name iconv knows (default: the one "
                  "the file names, else ISO-8859-1)");
  command->callback([options, &context] {
    context.stop.Watching();
    context.exit_code = Import(*options);
  });
}

}  // namespace orgalink::cli
