// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "platform/charset.h"
#include "store/code_tables.h"
#include "store/record_codec.h"

namespace orgalink::cli {

// What export and import turn the organizer's codes into text with: the
// tables of "code.dat" and a character set.
class CodecSetup {
 public:
  // `data_dir` empty: the program's data folder.
  CodecSetup(const std::string& data_dir, const std::string& charset);

  bool CharsetKnown() const { return charset_.IsOpen(); }
  const std::string& CharsetName() const { return charset_.Name(); }
  store::RecordCodec& Codec() { return codec_; }

 private:
  store::CodeTable outgoing_{};
  store::CodeTable incoming_{};
  platform::Charset charset_;
  store::RecordCodec codec_;
};

// Sets up the options both commands share.
struct CodecOptions {
  std::string charset;
  std::string data_dir;
};
void AddCodecOptions(CLI::App& command, CodecOptions& options, const std::string& charset_help);

}  // namespace orgalink::cli
