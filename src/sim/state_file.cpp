// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/state_file.h"

#include <cstdint>
#include <vector>

#include "platform/file_system.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"

namespace orgalink::sim {

namespace {

constexpr std::uint8_t kDeviceCode[2] = {2, 0};
// The widest expense category table that fits in its one packet.
constexpr std::size_t kMaxCategoryTable = 252;

void SplitRecords(std::span<const std::uint8_t> stream, std::vector<Record>& records) {
  Record record;
  for (const std::uint8_t byte : stream) {
    if (byte != store::RecordTerminator) {
      record.push_back(byte);
      continue;
    }
    if (!record.empty()) records.push_back(std::move(record));
    record.clear();
  }
}

bool TakeSection(const store::ArchiveImage& image, const store::ArchiveSection& section,
                 std::vector<Record>& records, std::string& error) {
  if (!records.empty()) {
    error = "two sections of application " + std::to_string(section.application);
    return false;
  }
  SplitRecords(std::span(image.body).subspan(section.offset, section.length), records);
  if (section.application == store::ExpenseCategory &&
      (records.size() > 1 || (records.size() == 1 && records[0].size() > kMaxCategoryTable))) {
    error = "the expense category table must be one record of at most 252 bytes";
    return false;
  }
  return true;
}

void AppendSection(std::uint8_t appli, const std::vector<Record>& records,
                   std::vector<std::uint8_t>& file) {
  const std::size_t count = records.size();
  file.push_back(appli);
  file.push_back(static_cast<std::uint8_t>(count >> 8));
  file.push_back(static_cast<std::uint8_t>(count & 0xFF));
  for (const Record& record : records) {
    file.insert(file.end(), record.begin(), record.end());
    file.push_back(store::RecordTerminator);
  }
}

}  // namespace

bool LoadOrganizerFile(const std::string& path, const TelephoneSort& sort,
                       OrganizerContents& contents, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes, &error)) return false;
  store::ArchiveImage image;
  std::string problem;
  if (store::ParseArchive(bytes, nullptr, store::ArchiveSlots, image, &problem) != store::StoreOk) {
    error = path + ": " + problem;
    return false;
  }
  std::vector<Record> applis[kApplications];
  for (const store::ArchiveSection& section : image.sections) {
    if (section.application >= kApplications) {
      error = path + ": section of unknown application " + std::to_string(section.application);
      return false;
    }
    if (!TakeSection(image, section, applis[section.application], error)) {
      error = path + ": " + error;
      return false;
    }
  }
  // Filed one by one, the Telephone records fall into the organizer's order.
  contents = OrganizerContents();
  for (std::uint8_t appli = 0; appli < kApplications; ++appli) {
    for (Record& record : applis[appli]) contents.Add(appli, std::move(record), sort);
  }
  return true;
}

bool SaveOrganizerFile(const std::string& path, const OrganizerContents& contents,
                       std::string& error) {
  std::vector<std::uint8_t> file(store::PlainMagic.begin(), store::PlainMagic.end());
  file.insert(file.end(), std::begin(kDeviceCode), std::end(kDeviceCode));
  file.push_back(static_cast<std::uint8_t>(kApplications));
  for (const std::uint8_t appli : store::FullOrder) {
    AppendSection(appli, contents.Records(appli), file);
  }
  platform::AtomicFileWriter writer(path);
  if (!writer.Open() || !writer.Write(file.data(), file.size()) || !writer.Commit()) {
    error = path + ": " + platform::ErrorText(writer.Error());
    return false;
  }
  return true;
}

}  // namespace orgalink::sim
