// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/terminal.h"

namespace orgalink::cli {

using platform::kStandardError;
using platform::kStandardInput;

namespace {

// A terminal that declares itself dumb would print the bar's escape
// sequences as text.
bool DumbTerminal() {
  const char* term = std::getenv("TERM");
  return term != nullptr && std::string_view(term) == "dumb";
}

}  // namespace

Console::Console()
    : canAsk_(platform::IsTerminal(kStandardInput) && platform::IsTerminal(kStandardError)),
      liveProgress_(platform::IsTerminal(kStandardError) && !DumbTerminal()) {}

int Console::Columns() const {
  return platform::TerminalColumns(kStandardError);
}

namespace {

std::optional<std::string> Answer(int wakeFd) {
  std::fflush(stderr);
  return platform::ReadLineUnlessWoken(kStandardInput, wakeFd);
}

bool StartsWith(const std::optional<std::string>& answer, char lower) {
  return answer && !answer->empty() && ((*answer)[0] | 0x20) == lower;
}

}  // namespace

bool Console::AskYesNo(const std::string& question, int wakeFd) const {
  if (!canAsk_) return false;
  std::fprintf(stderr, "%s [y/N] ", question.c_str());
  const auto answer = Answer(wakeFd);
  if (!answer) std::fputc('\n', stderr);
  return StartsWith(answer, 'y');
}

bool Console::AskRetry(const std::string& text, int wakeFd) const {
  if (!canAsk_) {
    std::fprintf(stderr, "%s\nCancelled: there is no terminal to answer Retry.\n", text.c_str());
    return false;
  }
  std::fprintf(stderr, "%s\n[r]etry or [C]ancel? ", text.c_str());
  const auto answer = Answer(wakeFd);
  if (!answer) std::fputc('\n', stderr);
  return StartsWith(answer, 'r');
}

}  // namespace orgalink::cli
