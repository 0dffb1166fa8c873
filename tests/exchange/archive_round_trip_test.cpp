// SPDX-License-Identifier: GPL-3.0-or-later
// Export then import gives back the very archive, byte for byte, for every
// archive that loads: the committed sample, the benchmarks' reference
// organizer, the fuzz corpus and archives made to hold what is hard to keep.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "exchange/archive_json.h"
#include "platform/charset.h"
#include "sim/sample_organizer.h"
#include "sim/state_file.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/code_tables.h"
#include "store/readable_archive.h"
#include "store/record_codec.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kSource = ORGALINK_SOURCE_DIR;
const std::string kTables = kSource + "/data/";

struct Tables {
  Tables() { store::LoadCodeTables(kTables, outgoing, incoming); }
  store::CodeTable outgoing{};
  store::CodeTable incoming{};
};

// The JSON that export writes of `archive`, and the archive that import
// builds of it.
struct Trip {
  std::string json;
  Bytes back;
  std::string problem;
  std::size_t kept_whole = 0;
};

Trip RoundTrip(const Bytes& archive, const std::string& charset_name) {
  Tables tables;
  platform::Charset charset(charset_name);
  store::RecordCodec codec(tables.incoming, tables.outgoing, charset);
  Trip trip;
  store::ReadableArchive readable;
  EXPECT_EQ(store::ReadArchive(archive, codec, readable, &trip.problem), store::StoreOk);
  for (const store::ReadableSection& section : readable.sections) {
    for (const store::ReadableRecord& record : section.records) trip.kept_whole += !record.readable;
  }
  EXPECT_TRUE(exchange::ArchiveToJson(readable, charset_name, trip.json));
  store::ReadableArchive imported;
  std::string named;
  if (!exchange::ArchiveFromJson(trip.json, imported, named, trip.problem)) return trip;
  EXPECT_EQ(named, charset_name);
  store::BuildArchive(imported, codec, trip.back, &trip.problem);
  return trip;
}

Bytes Section(std::uint8_t application, std::vector<Bytes> records) {
  Bytes section = {application, static_cast<std::uint8_t>(records.size() >> 8),
                   static_cast<std::uint8_t>(records.size())};
  for (const Bytes& record : records) {
    section.insert(section.end(), record.begin(), record.end());
    section.push_back(0xFF);
  }
  return section;
}

// `trailing`: bytes after the last section, which readers pass over.
Bytes Archive(const std::string& magic, std::vector<Bytes> sections, Bytes device = {2, 0},
              const Bytes& trailing = {}) {
  Bytes file(magic.begin(), magic.end());
  file.insert(file.end(), device.begin(), device.end());
  file.push_back(static_cast<std::uint8_t>(sections.size()));
  sections.push_back(trailing);
  for (const Bytes& section : sections) {
    for (const std::uint8_t byte : section) {
      file.push_back(magic == "IM2BK1" ? static_cast<std::uint8_t>(~byte) : byte);
    }
  }
  return file;
}

// Every byte a record may hold, in the text and in the binary fields alike.
Bytes EveryByte() {
  Bytes bytes;
  for (int b = 0; b < 0xFF; ++b) bytes.push_back(static_cast<std::uint8_t>(b));
  return bytes;
}

// What no readable form gives back by accident: empty records and fields,
// records shorter than their binary fields, control codes, every byte, the
// longest record, another device code, an inverted body, bytes after the
// last section.
std::vector<Bytes> HardArchives() {
  const Bytes every = EveryByte();
  const Bytes longest(1023, 'x');
  Bytes memo_bytes;
  for (int b = 0x7F; b < 0xFF; ++b) memo_bytes.push_back(static_cast<std::uint8_t>(b));
  return {
      Archive(
          "IM2BK0",
          {Section(
               store::Telephone,
               {{}, {0x01}, {0x01, 0x00, 0x00, 'A', 0x00}, {0x01, 'B', 0x05, '\n', 0x1F}, every}),
           Section(store::Memo, {longest, memo_bytes, {0x00}, {}}),
           Section(store::Expense, {Bytes(10, 0x00), Bytes(40, 0xFE)})}),
      Archive("IM2BK1",
              {Section(store::Schedule, {every, {0xE4, 0xF6}}), Section(store::ToDo, {}),
               Section(store::ExpenseCategory, {{'F', 0x00, 'T'}}),
               Section(store::Anniversary, {every})},
              {1, 0}, {0xFF, 0x00, 'x'}),
      Archive("IM2BK0", {}),
      Archive("IM2BK1", {}, {2, 0}, {0x03, 0x00}),
  };
}

std::vector<Bytes> LoadingCorpus() {
  std::vector<Bytes> archives;
  for (const auto& entry : std::filesystem::directory_iterator(kSource + "/fuzz/corpus")) {
    const Bytes bytes = testsupport::FileBytes(entry.path().string());
    store::ArchiveImage image;
    if (store::ParseArchive(bytes, nullptr, store::ArchiveSlots, image, nullptr) ==
        store::StoreOk) {
      archives.push_back(bytes);
    }
  }
  return archives;
}

Bytes ReferenceOrganizer() {
  testsupport::TempDir dir;
  const sim::OrganizerContents reference =
      sim::GenerateOrganizer(sim::kReferenceSize, sim::TelephoneSort::FromDirectory(kTables));
  std::string error;
  EXPECT_TRUE(sim::SaveOrganizerFile(dir.File("reference.bkf"), reference, error)) << error;
  return testsupport::FileBytes(dir.File("reference.bkf"));
}

TEST(ArchiveRoundTrip, ExportThenImportGivesBackEveryArchiveThatLoads) {
  std::vector<std::pair<std::string, Bytes>> archives = {
      {"sample", testsupport::FileBytes(kTables + "sample_organizer.bkf")},
      {"reference organizer", ReferenceOrganizer()},
  };
  for (const Bytes& corpus : LoadingCorpus()) archives.emplace_back("fuzz corpus", corpus);
  for (const Bytes& hard : HardArchives()) archives.emplace_back("hard", hard);
  ASSERT_GT(archives.size(), 5u);
  for (const char* charset : {"ISO-8859-1", "WINDOWS-1252", "UTF-8"}) {
    for (const auto& [name, archive] : archives) {
      ASSERT_FALSE(archive.empty()) << name;
      const Trip trip = RoundTrip(archive, charset);
      EXPECT_EQ(trip.back, archive) << name << " in " << charset << ": " << trip.problem;
    }
  }
}

// The round trip is not bought by keeping everything as hex: the sample's
// text is all readable, accents included, and only bytes that the tables or
// the character set cannot carry are kept whole.
TEST(ArchiveRoundTrip, TextIsReadableWhereverItComesBack) {
  const Trip sample =
      RoundTrip(testsupport::FileBytes(kTables + "sample_organizer.bkf"), "ISO-8859-1");
  EXPECT_EQ(sample.kept_whole, 0u);
  EXPECT_NE(sample.json.find("\"Müller, Karin\", \"+1 555 1740\""), std::string::npos);
  const Trip hard = RoundTrip(HardArchives()[0], "ISO-8859-1");
  EXPECT_NE(hard.json.find(R"({"text": [""]})"), std::string::npos) << hard.json;
  EXPECT_NE(hard.json.find(R"({"prefix": "01", "text": ["", "", "A", ""]})"), std::string::npos);
  EXPECT_NE(hard.json.find(R"({"prefix": "01", "text": ["B\u0005\n\u001f"]})"), std::string::npos);
  // Every byte in Telephone and in Memo, and Expense's 0xFE, which the
  // incoming table makes a space.
  EXPECT_EQ(hard.kept_whole, 3u);
}

}  // namespace
}  // namespace orgalink
