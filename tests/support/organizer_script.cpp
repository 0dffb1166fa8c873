// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/organizer_script.h"

#include <gtest/gtest.h>

#include "link/command_code.h"
#include "support/transfer_peer.h"

namespace orgalink::testsupport {

bool ScriptedOwner::Answer(const Box& box) {
  std::lock_guard lock(mutex_);
  boxes_.push_back(box);
  if (box.kind == BoxKind::Note || answers_.empty()) return false;
  const bool answer = answers_.front();
  answers_.erase(answers_.begin());
  return answer;
}

bool ScriptedOwner::RetryOrCancel(const std::string& text, const link::Cause& cause,
                                  const std::string& caption) {
  RecordingOwner::RetryOrCancel(text, cause, caption);
  return Answer({text, caption, BoxKind::RetryOrCancel, cause.Text()});
}

void ScriptedOwner::Inform(const std::string& text, const std::string& caption) {
  RecordingOwner::Inform(text, caption);
  Answer({text, caption, BoxKind::Note});
}

bool ScriptedOwner::Confirm(const std::string& text, const std::string& caption) {
  RecordingOwner::Confirm(text, caption);
  return Answer({text, caption, BoxKind::YesNo});
}

void ScriptedOwner::SetAnswers(std::vector<bool> answers) {
  std::lock_guard lock(mutex_);
  answers_ = std::move(answers);
}

std::vector<ScriptedOwner::Box> ScriptedOwner::boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<std::string> ScriptedOwner::milestones() const {
  std::vector<std::string> out;
  for (const link::ProgressEvent& e : reported()) {
    if (e.scope != link::ProgressScope::Operation) continue;
    out.push_back((e.kind == link::ProgressKind::Status ? "S" : "P") + std::to_string(e.value));
  }
  return out;
}

Bytes Text(const std::string& seed, int size) {
  if (size < 0) return Bytes(seed.begin(), seed.end());
  Bytes text;
  while (static_cast<int>(text.size()) < size) text.insert(text.end(), seed.begin(), seed.end());
  text.resize(static_cast<std::size_t>(size));
  return text;
}

void OfferLink(FarEnd& far) {
  // The PC opens its port only once the communication starts; an organizer
  // offers the link every 2 s, so one offer a moment later is enough here.
  far.Pause(100);
  far.SendCommand(link::LINK_REQUEST);
  EXPECT_EQ(far.ReceiveCommand(), CommandFrame(link::ACK));
  far.SendCommand(link::DEVICE_INFORMATION, 0, 2);
  EXPECT_EQ(far.ReceiveCommand(), CommandFrame(link::GET_DEVICE_INFORMATION));
}

namespace {

void SendBadChecksum(FarEnd& far, std::uint8_t code) {
  Bytes packet = DataPacketFrame(code, 0x00, 1, {'x'});
  packet.back() ^= 0x55;
  far.Send(packet);
}

// Answers one request; false when the organizer lets the PC down.
bool Serve(FarEnd& far, const Bytes& request, const OrganizerData& data, Fault fault) {
  if (fault == Fault::Silent) return false;
  const bool table = request[1] == link::GET_EXPENSE_CATEGORY;
  const std::uint8_t code = table ? 6 : request[2];
  if (fault == Fault::BadChecksum) {
    SendBadChecksum(far, code);
    return false;
  }
  if (table) {
    if (data.expenseCategory.empty()) {
      far.SendCommand(link::FINISH_ALL_RECORDS);
    } else {
      const int size = static_cast<int>(data.expenseCategory.size());
      far.Send(DataPacketFrame(6, 0x00, size, data.expenseCategory));
    }
    return true;
  }
  const auto found = data.records.find(code);
  const std::vector<Bytes> none;
  if (!SendRecordsAsOrganizer(far, code, found != data.records.end() ? found->second : none)) {
    ADD_FAILURE() << "the PC did not acknowledge a record of application " << int(code);
    return false;
  }
  far.SendCommand(link::FINISH_ALL_RECORDS);
  return true;
}

int RequestedApplication(const Bytes& request) {
  if (request.size() < 5) return -1;
  if (request[1] == link::GET_EXPENSE_CATEGORY) return 6;
  return request[1] == link::GET_ALL_RECORDS ? request[2] : -1;
}

}  // namespace

std::vector<Bytes> PlayBackup(FarEnd& far, const OrganizerData& data, bool negotiate, int faultAt,
                              Fault fault) {
  if (negotiate) OfferLink(far);
  std::vector<Bytes> heard;
  for (;;) {
    const Bytes request = far.ReceiveCommand();
    if (request.size() < 5) break;  // silence: the PC has stopped
    heard.push_back(request);
    const int kind = RequestedApplication(request);
    if (kind < 0) {
      if (request[1] == link::END_COMMUNICATION) break;
      continue;  // the PC's NACK before its END_COMMUNICATION
    }
    if (!Serve(far, request, data, kind == faultAt ? fault : Fault::None)) {
      heard.push_back(far.ReceiveCommand());  // NACK
      heard.push_back(far.ReceiveCommand());  // END_COMMUNICATION
      break;
    }
  }
  return heard;
}

std::vector<std::string> PlayRestore(FarEnd& far, bool negotiate) {
  if (negotiate) OfferLink(far);
  std::vector<std::string> exchange;
  for (;;) {
    const Bytes command = far.ReceiveCommand();
    if (command.size() < 5) break;
    switch (command[1]) {
      case link::DELETE_ALL_RECORDS:
        exchange.push_back("D" + std::to_string(command[2]));
        far.SendCommand(link::ACK);
        break;
      case link::SEND_1_RECORD:
      case link::SEND_EXPENSE_CATEGORY: {
        far.SendCommand(link::ACK);
        const Bytes header = far.Receive(5);
        if (header.size() < 5) return exchange;
        const Bytes rest = far.Receive(header[4] + 1u);
        if (rest.size() < header[4] + 1u) return exchange;
        exchange.push_back("R" + std::to_string(header[0]) + ":" +
                           Hex(Bytes(rest.begin(), rest.end() - 1)));
        far.SendCommand(link::ACK);
        break;
      }
      case link::END_COMMUNICATION:
        exchange.push_back("E");
        return exchange;
      default:
        exchange.push_back("?" + std::to_string(command[1]));
        break;
    }
  }
  return exchange;
}

namespace {

Bytes Archive(const std::vector<std::pair<std::uint8_t, std::vector<Bytes>>>& sections,
              bool invert) {
  Bytes file{'I',  'M',  '2',
             'B',  'K',  static_cast<std::uint8_t>(invert ? '1' : '0'),
             0x02, 0x00, static_cast<std::uint8_t>(sections.size())};
  for (const auto& [kind, records] : sections) {
    const auto count = records.size();
    Bytes body{kind, static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count)};
    const Bytes stream = RecordStream(records);
    body.insert(body.end(), stream.begin(), stream.end());
    for (std::uint8_t& b : body) b = invert ? static_cast<std::uint8_t>(~b) : b;
    file.insert(file.end(), body.begin(), body.end());
  }
  return file;
}

}  // namespace

Bytes PlainArchive(const std::vector<std::pair<std::uint8_t, std::vector<Bytes>>>& sections) {
  return Archive(sections, false);
}

Bytes InvertedArchive(const std::vector<std::pair<std::uint8_t, std::vector<Bytes>>>& sections) {
  return Archive(sections, true);
}

std::string Hex(const Bytes& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

}  // namespace orgalink::testsupport
