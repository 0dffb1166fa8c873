// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/archive_limits.h"

#include <vector>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"

namespace orgalink::store {

bool KnownApplication(std::uint8_t application) {
  return application <= ExpenseCategory;
}

std::string SectionCountProblem(std::size_t sections) {
  if (sections <= static_cast<std::size_t>(ArchiveSlots)) return {};
  return std::to_string(sections) + " sections, more than the " + std::to_string(ArchiveSlots) +
         " an archive holds";
}

std::string ApplicationProblem(std::uint8_t application, std::size_t records,
                               std::size_t stream_bytes) {
  if (!KnownApplication(application)) {
    return "the organizer has no application of this number (it has 0 to " +
           std::to_string(ExpenseCategory) + ")";
  }
  if (records > static_cast<std::size_t>(MaxRecordsPerSlot)) {
    return std::to_string(records) + " records, more than " + std::to_string(MaxRecordsPerSlot);
  }
  if (stream_bytes > MaxApplicationBytes) {
    return std::to_string(stream_bytes) + " bytes, more than the " +
           std::to_string(MaxApplicationBytes) + " an application may hold";
  }
  return {};
}

std::string DuplicateProblem(std::span<const std::uint8_t> applications) {
  for (std::size_t i = 0; i < applications.size(); ++i) {
    for (std::size_t j = i + 1; j < applications.size(); ++j) {
      if (applications[i] == applications[j]) {
        return ApplicationName(applications[i]) + " occurs twice, in sections " +
               std::to_string(i + 1) + " and " + std::to_string(j + 1);
      }
    }
  }
  return {};
}

StoreResult CheckArchiveLimits(const ArchiveImage& image, std::string& problem) {
  problem = SectionCountProblem(image.sections.size());
  if (!problem.empty()) return StoreInvalid;
  const std::size_t total = image.sections.size();
  std::vector<std::uint8_t> applications;
  for (std::size_t i = 0; i < total; ++i) {
    const ArchiveSection& section = image.sections[i];
    const std::string wrong =
        ApplicationProblem(section.application, section.count, section.length);
    if (!wrong.empty()) {
      problem = "section " + std::to_string(i + 1) + " of " + std::to_string(total) + " (" +
                ApplicationName(section.application) + "): " + wrong;
      return StoreInvalid;
    }
    applications.push_back(section.application);
  }
  problem = DuplicateProblem(applications);
  return problem.empty() ? StoreOk : StoreDuplicate;
}

}  // namespace orgalink::store
