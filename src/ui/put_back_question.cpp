// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/put_back_question.h"

namespace orgalink::ui {

namespace {

// More lines would make the box taller than a screen.
constexpr std::size_t kListed = 12;

}  // namespace

std::string PutBackQuestion(const std::string& application,
                            const std::vector<std::string>& descriptions) {
  const std::size_t count = descriptions.size();
  std::string text = "Put " + std::to_string(count) + (count == 1 ? " record" : " records") +
                     " back into " + application + " on the organizer?\n\n" +
                     "The organizer keeps every record it holds and gains those of these it "
                     "lacks. Its contents are first copied to a safety backup.\n";
  for (std::size_t i = 0; i < count && i < kListed; ++i) text += "\n  " + descriptions[i];
  if (count > kListed) text += "\n  and " + std::to_string(count - kListed) + " more";
  return text;
}

}  // namespace orgalink::ui
