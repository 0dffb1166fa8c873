// SPDX-License-Identifier: GPL-3.0-or-later
#include "pc_side.h"

#include "link/negotiation.h"
#include "store/appli_kind.h"
#include "transfer/get_all_records.h"
#include "transfer/send_all_records.h"

namespace orgalink::simtest {

using link::LinkStatus;

namespace {

constexpr int kReceiveCapacity = 256000;

std::vector<sim::Record> Split(const std::vector<std::uint8_t>& buffer, int total) {
  std::vector<sim::Record> records;
  sim::Record record;
  for (int i = 0; i < total; ++i) {
    if (buffer[static_cast<std::size_t>(i)] != 0xFF) {
      record.push_back(buffer[static_cast<std::size_t>(i)]);
      continue;
    }
    records.push_back(std::move(record));
    record.clear();
  }
  return records;
}

std::vector<std::uint8_t> Stream(const std::vector<sim::Record>& records) {
  std::vector<std::uint8_t> stream;
  for (const sim::Record& record : records) {
    stream.insert(stream.end(), record.begin(), record.end());
    stream.push_back(0xFF);
  }
  return stream;
}

link::StepResult Close(link::LinkEngine& engine, link::StepResult status) {
  if (status != link::LinkOk) engine.SendCommand(link::NACK);
  const link::StepResult ended = engine.SendCommand(link::END_COMMUNICATION);
  return status == link::LinkOk ? ended : status;
}

link::StepResult EmptyOrganizer(link::LinkEngine& engine) {
  link::StepResult status = link::LinkOk;
  for (const std::uint8_t appli : store::FullOrder) {
    if (appli == store::ExpenseCategory) continue;
    status = engine.SendCommand(link::DELETE_ALL_RECORDS, appli, 0);
    if (status == link::LinkOk) status = engine.WaitCommand(link::ACK);
    if (status != link::LinkOk) break;
  }
  return status;
}

}  // namespace

Applis ApplisOf(const sim::OrganizerContents& contents) {
  Applis applis;
  for (std::uint8_t appli = 0; appli < sim::kApplications; ++appli) {
    applis[appli] = contents.Records(appli);
  }
  return applis;
}

link::StepResult PcBackup(link::LinkEngine& engine, link::ProgressSink* progress,
                          const transfer::TelephoneCheck& check, Applis& fetched) {
  link::StepResult status = link::Negotiation(engine, progress, 30000, -1);
  std::vector<std::uint8_t> buffer(kReceiveCapacity);
  for (const std::uint8_t appli : store::FullOrder) {
    if (status != link::LinkOk) break;
    int total = 0;
    status =
        transfer::GetAllRecords(engine, progress, buffer, total, appli, transfer::PcFull, check);
    if (status == link::LinkOk) fetched[appli] = Split(buffer, total);
  }
  return Close(engine, status);
}

link::StepResult PcRestore(link::LinkEngine& engine, link::ProgressSink* progress,
                           const Applis& applis) {
  link::StepResult status = link::Negotiation(engine, progress, 30000, -1);
  if (status == link::LinkOk) status = EmptyOrganizer(engine);
  for (const std::uint8_t appli : store::FullOrder) {
    if (status != link::LinkOk) break;
    if (applis[appli].empty()) continue;
    const std::vector<std::uint8_t> stream = Stream(applis[appli]);
    status = transfer::SendAllRecords(engine, progress, stream, appli,
                                      static_cast<int>(applis[appli].size()), transfer::PcFull);
  }
  return Close(engine, status);
}

link::StepResult PcNegotiate(link::LinkEngine& engine, link::ProgressSink* progress) {
  return Close(engine, link::Negotiation(engine, progress, 30000, -1));
}

}  // namespace orgalink::simtest
