// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/prune_settings.h"

#include <charconv>
#include <optional>
#include <utility>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "ui/prune_folder.h"

namespace orgalink::ui {

namespace {

constexpr const char* kSection = "Prune";
constexpr int kMostKept = 100000;

std::optional<int> Rule(const platform::IniDocument& document, const char* key,
                        std::vector<std::string>& problems) {
  const std::optional<std::string> text = document.Get(kSection, key);
  if (!text || text->empty()) return std::nullopt;
  int value = -1;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || stop != end || value < 0 || value > kMostKept) {
    problems.push_back(std::string("[") + kSection + "] " + key + "=" + *text +
                       " is not a whole number 0 to " + std::to_string(kMostKept));
  }
  return value;
}

}  // namespace

KeepPolicy KeepPolicyFromDocument(const platform::IniDocument& document,
                                  std::vector<std::string>& problems) {
  const std::size_t before = problems.size();
  KeepPolicy policy{Rule(document, "KeepLast", problems), Rule(document, "KeepDaily", problems),
                    Rule(document, "KeepWeekly", problems), Rule(document, "KeepMonthly", problems),
                    Rule(document, "KeepSafety", problems)};
  return problems.size() == before ? policy : KeepPolicy{};
}

int ApplyPrunePolicyFromSettings(const std::string& settingsFile, const std::string& backupDir,
                                 std::ostream& report, std::ostream& err) {
  const platform::ProfileRead read = platform::ReadProfile(settingsFile);
  if (read.outcome == platform::ReadOutcome::Failed) {
    err << "orgalink: nothing pruned: the settings file " << settingsFile
        << " cannot be read: " << platform::ErrorText(read.error) << '\n';
    return 1;
  }
  std::vector<std::string> problems;
  const KeepPolicy policy = KeepPolicyFromDocument(read.document, problems);
  for (const std::string& problem : problems) {
    err << "orgalink: nothing pruned: the settings file " << settingsFile << ": " << problem
        << '\n';
  }
  if (!problems.empty()) return 1;
  if (policy.Empty()) return 0;
  return PruneFolder(backupDir, policy, false, report, err).status;
}

}  // namespace orgalink::ui
