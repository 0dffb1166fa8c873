// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes from the line to the receive path: WaitCommand,
// WaitDataPacket and ReceiveRecord read them from a scripted line, as from
// an organizer that may send anything. The line and its clock run on this
// thread alone and every time-out is instant, so an input runs in
// microseconds and the same way every time.
//
//   receive_fuzzer fuzz/receive_corpus -max_total_time=60
//
// Input: a settings byte, four operation bytes, then chunks of [length,
// bytes]; chunk k reaches the line 100 ms after chunk k-1, so that later
// chunks come after the engine's answers (an ACK drains the input first).

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "link/command_code.h"
#include "link/link_engine.h"
#include "scripted_line.h"
#include "transfer/data_packet.h"
#include "transfer/receive_record.h"

namespace {

using namespace orgalink;

constexpr std::size_t kHeaderSize = 5;
constexpr platform::Tick kStart = 1000;
constexpr platform::Tick kChunkGapMs = 100;
// A byte's time on a paced line, rounded up to whole ticks, and the period
// at which a USB adapter hands bytes over.
constexpr platform::Tick kPacedByteMs = 1;
constexpr platform::Tick kBurstMs = 16;

bool Echo(std::uint8_t settings) {
  return (settings & 0x04) != 0;
}

long Multiplier(std::uint8_t settings) {
  static constexpr long kChoices[] = {0, 1, 100, LONG_MAX};
  return kChoices[settings & 0x03];
}

// When each byte of the chunks reaches the engine's end. On a paced line a
// byte follows the one before it by its line time, and with bursts it waits
// for the adapter's next hand-over.
std::vector<fuzz::Arrival> Arrivals(std::uint8_t settings, const std::uint8_t* data,
                                    std::size_t size) {
  const bool paced = (settings & 0x08) != 0;
  const bool bursts = (settings & 0x10) != 0;
  std::vector<fuzz::Arrival> arrivals;
  arrivals.reserve(size);
  platform::Tick sent = kStart;
  platform::Tick line_free = kStart;
  for (std::size_t offset = 0; offset < size; sent += kChunkGapMs) {
    const std::size_t length = std::min<std::size_t>(data[offset], size - offset - 1);
    for (std::size_t i = 0; i < length; ++i) {
      platform::Tick at = paced ? std::max(sent, line_free) + kPacedByteMs : sent;
      line_free = at;
      if (bursts) at = (at / kBurstMs + 1) * kBurstMs;
      arrivals.push_back({at, data[offset + 1 + i]});
    }
    offset += 1 + length;
  }
  return arrivals;
}

// One receive operation; the low three bits choose it, the others the room
// the caller gives it.
void RunOperation(link::LinkEngine& engine, std::uint8_t operation) {
  const int capacity = (operation >> 3) * 40;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(capacity) + 1);
  const std::span<std::uint8_t> room = std::span(buffer).first(static_cast<std::size_t>(capacity));
  std::uint8_t parameters[2], code = 0, kind = 0xFF, position = 0xFF;
  int length = 0;
  switch (operation & 0x07) {
    case 0:
      engine.WaitCommand(link::AnyCommand, parameters, &code);
      break;
    case 1:
      engine.WaitCommand(link::ACK);
      break;
    case 2:
      transfer::WaitDataPacket(engine, transfer::AnyAppliCode,
                               {buffer.data(), capacity, &length, &kind, &position});
      break;
    case 3:
      // Without a kind, as the expense category wait asks.
      transfer::WaitDataPacket(engine, operation >> 5, {buffer.data(), capacity, &length});
      break;
    case 4:
    case 5:
      transfer::ReceiveRecord(engine, room, length, kind, transfer::PcFull);
      break;
    default:
      transfer::ReceiveRecord(engine, room, length, kind, transfer::HandheldSide);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) return 0;
  const std::uint8_t settings = data[0];
  fuzz::StepClock clock(kStart);
  link::LinkEngine engine(clock);
  engine.Link().SetEchoBack(Echo(settings));
  engine.SetTimeouts(30000, 30000, Multiplier(settings));
  engine.Link().SetQuietWindow((settings & 0x20) != 0 ? 20 : 10);
  fuzz::ScriptedPort* port = nullptr;
  engine.Link().SetPortOpener([&](int, int, std::string&) {
    auto opened = std::make_unique<fuzz::ScriptedPort>(clock, Echo(settings));
    port = opened.get();
    return opened;
  });
  if (!engine.Link().OpenPort(1)) return 0;
  // After the open, whose purge would throw away what comes at once.
  port->Schedule(Arrivals(settings, data + kHeaderSize, size - kHeaderSize));

  for (std::size_t i = 1; i < kHeaderSize; ++i) RunOperation(engine, data[i]);
  engine.Link().ClosePort();
  return 0;
}
