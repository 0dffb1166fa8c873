// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/appli_store.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "store/code_conversion.h"
#include "store/record.h"

namespace orgalink::store {

AppliStore::AppliStore(const std::string& table_directory) {
  LoadStoreCodeTables(table_directory, outgoing_, incoming_);
}

StoreResult AppliStore::GetAppliBuf(int slots) {
  FreeAppliBuf();
  if (slots < 0) return StoreInvalid;
  try {
    slots_.resize(static_cast<std::size_t>(slots));
  } catch (const std::bad_alloc&) {
    return StoreInvalid;
  }
  has_table_ = true;
  appli_count_ = 0;
  ClearSlots();
  return StoreOk;
}

void AppliStore::FreeAppliBuf() {
  slots_.clear();
  slots_.shrink_to_fit();
  has_table_ = false;
}

void AppliStore::FreeRecords() {
  for (AppliSlot& slot : slots_) std::vector<StoredRecord>().swap(slot.records);
}

void AppliStore::ClearSlots() {
  if (!has_table_) return;
  FreeRecords();
  for (AppliSlot& slot : slots_) slot = AppliSlot{};
  appli_count_ = 0;
}

int AppliStore::FindSlot(std::uint8_t kind) const {
  if (!has_table_) return ToInt(StoreInvalid);
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].application == kind) return static_cast<int>(i);
  }
  return ToInt(StoreNoSlot);
}

int AppliStore::FindUnusedSlot() const {
  for (std::size_t i = 0; has_table_ && i < slots_.size(); ++i) {
    if (!slots_[i].in_use) return static_cast<int>(i);
  }
  return ToInt(StoreFull);
}

StoreResult AppliStore::PrepareSlot(std::uint8_t kind) {
  int index = FindSlot(kind);
  if (index < 0) index = FindUnusedSlot();
  if (index < 0) return StoreNoSlot;
  AppliSlot& slot = slots_[static_cast<std::size_t>(index)];
  std::vector<StoredRecord>().swap(slot.records);
  slot.application = kind;
  slot.count = 0;
  slot.in_use = true;
  return StoreOk;
}

StoreResult AppliStore::AddRecords(std::uint8_t kind, std::span<const std::uint8_t> stream) {
  if (!has_table_) return StoreRejected;
  const std::size_t added = CountTerminators(stream);
  int index = FindSlot(kind);
  const bool claims_unused = index < 0;
  if (claims_unused) index = FindUnusedSlot();
  if (index < 0) return StoreRejected;
  AppliSlot& slot = slots_[static_cast<std::size_t>(index)];
  const std::size_t start = claims_unused ? 0 : slot.count;
  const std::size_t new_count = start + added;
  if (new_count > MaxRecordsPerSlot) return StoreRejected;
  const StoreResult appended = AppendRecords(slot, kind, stream, start, new_count);
  if (appended != StoreOk) return appended;
  if (claims_unused) ++appli_count_;
  slot.application = kind;
  slot.count = static_cast<std::uint16_t>(new_count);
  slot.in_use = true;
  return StoreOk;
}

// Builds the new records apart and moves them in only when all of them are
// sound, so that a bad stream never leaves a slot whose count promises
// records that are not there.
StoreResult AppliStore::AppendRecords(AppliSlot& slot, std::uint8_t kind,
                                      std::span<const std::uint8_t> stream, std::size_t start,
                                      std::size_t new_count) const {
  try {
    std::vector<StoredRecord> fresh;
    fresh.reserve(new_count - start);
    std::size_t position = 0;
    for (std::size_t i = start; i < new_count; ++i) {
      const std::span<const std::uint8_t> rest = stream.subspan(position);
      const int record_length = RecordLength(rest);
      if (record_length < 0) return StoreInvalid;
      auto& record = fresh.emplace_back(std::in_place, rest.begin(), rest.begin() + record_length);
      FromDeviceCodes(kind, *record);
      position += static_cast<std::size_t>(record_length) + 1;
    }
    slot.records.resize(start);
    std::move(fresh.begin(), fresh.end(), std::back_inserter(slot.records));
  } catch (const std::bad_alloc&) {
    return StoreFailed;
  }
  return StoreOk;
}

StoreResult AppliStore::GetRecords(std::uint8_t kind, std::span<std::uint8_t> buffer,
                                   int& length) const {
  const AppliSlot* slot = SlotOf(kind);
  if (slot == nullptr || buffer.size() < slot->count) return StoreRejected;
  std::size_t total = 0;
  for (std::size_t i = 0; i < slot->count; ++i) {
    if (i >= slot->records.size() || !slot->records[i]) return StoreRejected;
    const std::vector<std::uint8_t>& record = *slot->records[i];
    if (total + record.size() + 1 > buffer.size()) return StoreRejected;
    std::copy(record.begin(), record.end(), buffer.begin() + total);
    ToDeviceCodes(kind, buffer.subspan(total, record.size()));
    buffer[total + record.size()] = RecordTerminator;
    total += record.size() + 1;
  }
  length = static_cast<int>(total);
  return StoreOk;
}

StoreResult AppliStore::GetRecords(std::uint8_t kind, std::vector<std::uint8_t>& stream) const {
  const int size = RecordsSize(kind);
  if (size < 0) return StoreRejected;
  try {
    stream.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return StoreFailed;
  }
  int length = 0;
  const StoreResult result = GetRecords(kind, stream, length);
  stream.resize(result == StoreOk ? static_cast<std::size_t>(length) : 0);
  return result;
}

int AppliStore::RecordCount(std::uint8_t kind) const {
  const AppliSlot* slot = SlotOf(kind);
  return slot == nullptr ? ToInt(StoreNoAppli) : slot->count;
}

int AppliStore::RecordsSize(std::uint8_t kind) const {
  const AppliSlot* slot = SlotOf(kind);
  if (slot == nullptr) return ToInt(StoreNoAppli);
  int size = 0;
  for (std::size_t i = 0; i < slot->count; ++i) {
    const bool present = i < slot->records.size() && slot->records[i];
    size += present ? static_cast<int>(slot->records[i]->size()) + 2 : 1;
  }
  return size;
}

StoreResult AppliStore::CheckDuplicates() const {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    for (std::size_t j = i + 1; j < slots_.size(); ++j) {
      if (slots_[j].in_use && slots_[j].application == slots_[i].application) {
        return StoreDuplicate;
      }
    }
  }
  return StoreOk;
}

void AppliStore::SetMagic(std::string_view magic) {
  std::copy_n(magic.begin(), std::min(magic.size(), magic_.size()), magic_.begin());
}

void AppliStore::FromDeviceCodes(std::uint8_t kind, std::span<std::uint8_t> record) const {
  store::FromDeviceCodes(incoming_, kind, record);
}

void AppliStore::ToDeviceCodes(std::uint8_t kind, std::span<std::uint8_t> record) const {
  store::ToDeviceCodes(outgoing_, kind, record);
}

const AppliStore::AppliSlot* AppliStore::SlotOf(std::uint8_t kind) const {
  const int index = FindSlot(kind);
  return index < 0 ? nullptr : &slots_[static_cast<std::size_t>(index)];
}

}  // namespace orgalink::store
