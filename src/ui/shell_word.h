// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace orgalink::ui {

// `word` as a POSIX shell reads it back as one word: unchanged when it holds
// only characters no shell treats specially, otherwise in single quotes
// (each quote inside written as '\'').
std::string ShellWord(std::string_view word);

}  // namespace orgalink::ui
