// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sample_records.h"

#include <array>
#include <string>
#include <string_view>

namespace orgalink::sim {

namespace {

// "ü" in the organizer's codes.
constexpr std::string_view kUUmlaut = "\xB4";

constexpr std::array<std::string_view, 40> kLastNames = {
    "Adams",  "Baker",  "Brown",   "Carter",  "Clark",     "Davis",  "de Vries", "Evans",
    "Fisher", "Garcia", "Gr\xB4n", "Hall",    "Harris",    "Jensen", "Johnson",  "King",
    "Lee",    "Lewis",  "Martin",  "Miller",  "M\xB4ller", "Moore",  "Nelson",   "O'Brien",
    "Parker", "Quinn",  "Reed",    "Roberts", "Schmidt",   "Scott",  "Smith",    "Taylor",
    "Thomas", "Turner", "Walker",  "White",   "Wilson",    "Wright", "Young",    "Zimmer"};
constexpr std::array<std::string_view, 50> kFirstNames = {
    "Anna",  "Ben",    "Carla", "David", "Emma",  "Frank", "Grace", "Henry", "Ines",   "Jack",
    "Karin", "Leo",    "Maria", "Noah",  "Olga",  "Paul",  "Rosa",  "Sam",   "Tina",   "Uwe",
    "Vera",  "Walter", "Xenia", "Yusuf", "Zoe",   "Alan",  "Beth",  "Chris", "Dora",   "Eric",
    "Fiona", "Georg",  "Hanna", "Ivan",  "Julia", "Karl",  "Lena",  "Max",   "Nina",   "Oscar",
    "Petra", "Ralf",   "Sofia", "Tom",   "Ute",   "Vince", "Wanda", "Xaver", "Yvonne", "Zack"};
constexpr std::array<std::string_view, 8> kCompanies = {
    "Acme Tools", "City Library",  "Blue Harbor Ltd.", "Dr. Kemp's Practice",
    "North Bank", "Garden Center", "Metro Taxi",       "Sunrise Bakery"};
constexpr std::array<std::string_view, 10> kAppointments = {
    "Dentist",       "Team meeting", "Lunch with Karin", "Car service",  "Parents' evening",
    "Budget review", "Yoga class",   "Flight to Oslo",   "Piano lesson", "Project kickoff"};
constexpr std::array<std::string_view, 6> kPlaces = {"Main St. 12",  "Room 4.07",   "Cafe Rialto",
                                                     "Garage Weber", "School hall", "Terminal 2"};
constexpr std::array<std::string_view, 4> kOccasions = {"Birthday of ", "Wedding day of ",
                                                        "Name day of ", "Anniversary: "};
constexpr std::array<std::string_view, 10> kTasks = {
    "Renew passport",     "Pay electricity bill", "Return library books", "Book summer trip",
    "Water the plants",   "Call insurance",       "Buy birthday present", "Fix bicycle light",
    "Send tax documents", "Order printer ink"};
constexpr std::array<std::string_view, 8> kExpenses = {
    "Taxi to airport", "Hotel Bergen", "Client dinner", "Train ticket",
    "Office supplies", "Parking",      "Phone card",    "Conference fee"};
constexpr std::array<std::string_view, 6> kSentences = {
    "Call the plumber about the kitchen sink before Friday. ",
    "Ideas for the garden: tomatoes, beans, a second rain barrel. ",
    "Meeting notes: budget approved, next review in March, Karin drafts the plan. ",
    "Recipe: 200 g flour, 2 eggs, 1/4 l milk, a pinch of salt; rest for 30 min. ",
    "Books to read: The Long Way Home; Letters from Oslo; Small Gods. ",
    "Gate code 4711, spare key with the neighbours at no. 14. "};
constexpr char kCategories[] = "Food\0Travel\0Lodging\0Office\0Phone\0Other";

constexpr int kYear = 2026;

void Append(Record& record, std::string_view text) {
  record.insert(record.end(), text.begin(), text.end());
}

// A date as the organizer keeps it: year (high byte first), month, day.
void AppendDate(Record& record, int year, int month, int day) {
  record.push_back(static_cast<std::uint8_t>(year >> 8));
  record.push_back(static_cast<std::uint8_t>(year & 0xFF));
  record.push_back(static_cast<std::uint8_t>(month));
  record.push_back(static_cast<std::uint8_t>(day));
}

void PadTo(Record& record, std::size_t size) {
  record.resize(size, 0);
}

template <typename List>
std::string_view Pick(const List& list, int index) {
  return list[static_cast<std::size_t>(index) % list.size()];
}

std::string FourDigits(int value) {
  return std::to_string(1000 + value % 9000);
}

std::string MailAddress(std::string_view first, std::string_view last) {
  std::string mail(first);
  mail += '.';
  for (const char c : last) {
    if (c == kUUmlaut[0]) {
      mail += "ue";
    } else if (c != ' ' && c != '\'') {
      mail += c;
    }
  }
  return mail + "@example.com";
}

// Two decimal digits per byte, so no byte of an amount is ever 0xFF.
void AppendBcd(Record& record, int value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) {
    int pair = value;
    for (int j = 0; j < i; ++j) pair /= 100;
    pair %= 100;
    record.push_back(static_cast<std::uint8_t>((pair / 10) << 4 | pair % 10));
  }
}

}  // namespace

int SampleRandom::Between(int low, int high) {
  state_ = state_ * 1664525u + 1013904223u;
  const std::uint32_t span = static_cast<std::uint32_t>(high - low + 1);
  return low + static_cast<int>((state_ >> 8) % span);
}

// Category byte, then "Last, First", phone, company and mail, each ended by
// a zero byte but the last.
Record TelephoneRecord(int index) {
  const std::string_view last = Pick(kLastNames, index);
  // Every pair of names differs for the first 2000 indexes (40 x 50, and
  // 121 is prime to 50).
  const std::string_view first =
      Pick(kFirstNames, index / static_cast<int>(kLastNames.size()) + 3 * index);
  Record record{static_cast<std::uint8_t>(1 + index % 4)};
  Append(record, last);
  Append(record, ", ");
  Append(record, first);
  record.push_back(0);
  Append(record, "+1 555 " + FourDigits(index * 37));
  record.push_back(0);
  Append(record, Pick(kCompanies, index));
  record.push_back(0);
  Append(record, MailAddress(first, last));
  return record;
}

// Date, start and end time, alarm and its lead, repeat, category; then the
// title and the place.
Record ScheduleRecord(int index, SampleRandom& random) {
  Record record;
  AppendDate(record, kYear, 1 + index % 12, random.Between(1, 28));
  const int start = random.Between(8, 17);
  const int minute = 15 * random.Between(0, 3);
  for (const int field : {start, minute, start + 1, minute, index % 2, 5 * random.Between(1, 6),
                          index % 4, index % 3}) {
    record.push_back(static_cast<std::uint8_t>(field));
  }
  PadTo(record, 14);
  Append(record, Pick(kAppointments, index));
  record.push_back(0);
  Append(record, Pick(kPlaces, index));
  return record;
}

// Date of the first occurrence, alarm and its days ahead, kind; then the text.
Record AnniversaryRecord(int index, SampleRandom& random) {
  Record record;
  AppendDate(record, random.Between(1950, 2015), random.Between(1, 12), random.Between(1, 28));
  record.push_back(static_cast<std::uint8_t>(index % 2));
  record.push_back(static_cast<std::uint8_t>(random.Between(0, 7)));
  record.push_back(static_cast<std::uint8_t>(index % kOccasions.size()));
  PadTo(record, 14);
  Append(record, Pick(kOccasions, index));
  Append(record, Pick(kFirstNames, index * 7));
  return record;
}

// Due date and priority (0x80 marks it done); then the task.
Record ToDoRecord(int index, SampleRandom& random) {
  Record record;
  AppendDate(record, kYear, random.Between(1, 12), random.Between(1, 28));
  record.push_back(static_cast<std::uint8_t>(1 + index % 3 + (index % 5 == 0 ? 0x80 : 0)));
  Append(record, Pick(kTasks, index));
  return record;
}

// Date, amount in cents (packed decimal), category, payment; then the note.
Record ExpenseRecord(int index, SampleRandom& random) {
  Record record;
  AppendDate(record, kYear, random.Between(1, 12), random.Between(1, 28));
  AppendBcd(record, random.Between(150, 250000), 4);
  record.push_back(static_cast<std::uint8_t>(index % 6));
  record.push_back(static_cast<std::uint8_t>(index % 3));
  PadTo(record, 33);
  Append(record, Pick(kExpenses, index));
  return record;
}

Record MemoRecord(int index, std::size_t length) {
  Record record;
  for (int sentence = index; record.size() < length; ++sentence) {
    Append(record, Pick(kSentences, sentence));
  }
  record.resize(length);
  return record;
}

Record CategoryTable() {
  return Record(kCategories, kCategories + sizeof kCategories - 1);
}

}  // namespace orgalink::sim
