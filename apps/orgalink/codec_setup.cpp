// SPDX-License-Identifier: GPL-3.0-or-later
#include "codec_setup.h"

#include <CLI/CLI.hpp>

#include "platform/program_directory.h"

namespace orgalink::cli {

CodecSetup::CodecSetup(const std::string& data_dir, const std::string& charset)
    : charset_(charset), codec_(incoming_, outgoing_, charset_) {
  store::LoadCodeTables(data_dir.empty() ? platform::DataDirectory() : data_dir + "/", outgoing_,
                        incoming_);
}

void AddCodecOptions(CLI::App& command, CodecOptions& options, const std::string& charset_help) {
  command.add_option("--charset", options.charset, charset_help);
  command.add_option("--data-dir", options.data_dir,
                     "Folder holding code.dat (default: the program's data folder)");
}

}  // namespace orgalink::cli
