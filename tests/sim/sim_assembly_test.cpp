// SPDX-License-Identifier: GPL-3.0-or-later
// The organizer files only records cut and labelled as the protocol cuts
// them, so that a PC that gets it wrong is caught instead of served.

#include <gtest/gtest.h>

#include "link/command_code.h"
#include "sim_run.h"
#include "store/appli_kind.h"
#include "support/transfer_peer.h"

namespace orgalink::simtest {
namespace {

using testsupport::Bytes;
using testsupport::CommandFrame;
using testsupport::DataPacketFrame;
using testsupport::FarEnd;
using testsupport::PatternRecord;

struct AssemblyCase {
  const char* name;
  std::vector<Bytes> packets;
  std::vector<std::uint8_t> answers;  // to each packet
  bool filed;
};

Bytes Damaged(Bytes packet) {
  ++packet.back();
  return packet;
}

// Plays the PC by hand: opening, then SEND_1_RECORD and one packet at a time.
std::vector<std::uint8_t> SendPackets(SimRun& run, const std::vector<Bytes>& packets) {
  std::vector<std::uint8_t> answers;
  run.f.Run([&] {
    auto port = run.f.line.Open(platform::VirtualLine::End::A);
    FarEnd pc(*port, run.f.clock);
    run.organizer->PressPcLink();
    if (pc.ReceiveCommand() != CommandFrame(link::LINK_REQUEST)) return;
    pc.SendCommand(link::ACK);
    pc.ReceiveCommand();
    for (const Bytes& packet : packets) {
      pc.SendCommand(link::SEND_1_RECORD);
      if (pc.ReceiveCommand() != CommandFrame(link::ACK)) return;
      pc.Send(packet);
      answers.push_back(pc.ReceiveCommand().at(1));
    }
    pc.SendCommand(link::END_COMMUNICATION);
  });
  return answers;
}

TEST(SimAssembly, OnlyRecordsCutTheProtocolsWayAreFiled) {
  const Bytes record = PatternRecord(300);
  const Bytes first(record.begin(), record.begin() + 241);
  const Bytes rest(record.begin() + 241, record.end());
  const std::uint8_t ack = link::ACK;
  const std::uint8_t nack = link::NACK;
  const AssemblyCase cases[] = {
      {"cut right", testsupport::RecordPackets(store::Memo, record), {ack, ack}, true},
      {"first packet short",
       {DataPacketFrame(store::Memo, 0x00, 300, Bytes(record.begin(), record.begin() + 200))},
       {nack},
       false},
      {"last packet without a first",
       {DataPacketFrame(store::Memo, 0xA0, 300, rest)},
       {nack},
       false},
      {"record size changes",
       {DataPacketFrame(store::Memo, 0x00, 300, first),
        DataPacketFrame(store::Memo, 0xA0, 301, rest)},
       {ack, nack},
       false},
      {"damaged packet",
       {Damaged(DataPacketFrame(store::Memo, 0x00, 3, {1, 2, 3}))},
       {nack},
       false},
  };
  const std::size_t memos = Sample().Records(store::Memo).size();
  for (const AssemblyCase& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimOptions options;
    options.echo = false;
    SimRun run(options);
    EXPECT_EQ(SendPackets(run, c.packets), c.answers);
    run.organizer->WaitUntilIdle();
    const std::vector<sim::Record> filed = run.organizer->Contents().Records(store::Memo);
    EXPECT_EQ(filed.size(), memos + (c.filed ? 1 : 0));
    if (c.filed) {
      EXPECT_EQ(filed.back(), record);
    }
  }
}

// Without the echo the organizer waits for the rest of a frame at once, so a
// frame that comes in two pieces, cut inside a command, a packet's header or
// its contents, must still be taken whole.
TEST(SimAssembly, FramesThatComeInPiecesAreTakenWhole) {
  const Bytes record = PatternRecord(120);
  const Bytes command = CommandFrame(link::SEND_1_RECORD);
  const Bytes packet = DataPacketFrame(store::Memo, 0x00, 120, record);
  const auto send_in_two = [](FarEnd& pc, const Bytes& frame, std::size_t cut) {
    pc.Send(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(cut)));
    pc.Pause(20);
    pc.Send(Bytes(frame.begin() + static_cast<std::ptrdiff_t>(cut), frame.end()));
  };
  const struct { std::size_t command_cut, packet_cut; } cases[] = {{1, 3}, {4, 5}, {2, 60}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.packet_cut);
    sim::SimOptions options;
    options.echo = false;
    SimRun run(options);
    Bytes answers;
    run.f.Run([&] {
      auto port = run.f.line.Open(platform::VirtualLine::End::A);
      FarEnd pc(*port, run.f.clock);
      run.organizer->PressPcLink();
      pc.ReceiveCommand();
      pc.SendCommand(link::ACK);
      pc.ReceiveCommand();
      const auto answer = [&pc] {
        const Bytes frame = pc.ReceiveCommand();
        return frame.size() == 5 ? frame[1] : std::uint8_t{0};
      };
      send_in_two(pc, command, c.command_cut);
      answers.push_back(answer());
      send_in_two(pc, packet, c.packet_cut);
      answers.push_back(answer());
      pc.SendCommand(link::END_COMMUNICATION);
    });
    EXPECT_EQ(answers, (Bytes{link::ACK, link::ACK}));
    run.organizer->WaitUntilIdle();
    EXPECT_EQ(run.organizer->Contents().Records(store::Memo).back(), record);
  }
}

}  // namespace
}  // namespace orgalink::simtest
