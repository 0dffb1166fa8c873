// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/read_back_check.h"

#include "store/appli_kind.h"

namespace orgalink::operations {

std::vector<store::RecordDifference> CompareWithOrganizer(const store::ArchiveRecords& archive,
                                                          const ReceivedStreams& organizer,
                                                          int appliKind) {
  std::vector<store::RecordDifference> compared;
  for (const std::uint8_t application : store::FullOrder) {
    if (appliKind != store::AllApplis && appliKind != application) continue;
    const store::RecordList* expected = archive.Find(application);
    if (expected == nullptr && application == store::ExpenseCategory) continue;
    const store::RecordList held = store::SplitStream(organizer[application]);
    compared.push_back(store::CompareRecords(application,
                                             expected ? *expected : store::RecordList{}, held,
                                             application == store::Telephone));
  }
  return compared;
}

}  // namespace orgalink::operations
