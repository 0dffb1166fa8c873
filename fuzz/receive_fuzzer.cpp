// Feeds arbitrary bytes from the line to the receive path: WaitCommand,
// WaitDataPacket and ReceiveRecord read them from a virtual line, as from an
// organizer that may send anything. Virtual time makes every time-out
// instant, so an input runs in microseconds and the same way every time.
//
//   receive_fuzzer fuzz/receive_corpus -max_total_time=60
//
// Input: a settings byte, four operation bytes, then chunks of [length,
// bytes]; chunk k reaches the line 100 ms after chunk k-1, so that later
// chunks come after the engine's answers (an ACK drains the input first).

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "link/command_code.h"
#include "link/link_engine.h"
#include "platform/clock.h"
#include "platform/message_queue.h"
#include "platform/virtual_line.h"
#include "transfer/data_packet.h"
#include "transfer/receive_record.h"

namespace {

using namespace orgalink;

constexpr std::size_t kHeaderSize = 5;
constexpr platform::Tick kChunkGapMs = 100;

platform::VirtualLine::Options LineOptions(std::uint8_t settings) {
  platform::VirtualLine::Options options;
  options.echo_a = (settings & 0x04) != 0;
  options.pacing_baud = (settings & 0x08) != 0 ? 19200 : 0;
  options.burst_ms_a = (settings & 0x10) != 0 ? 16 : 0;
  return options;
}

long Multiplier(std::uint8_t settings) {
  static constexpr long kChoices[] = {0, 1, 100, LONG_MAX};
  return kChoices[settings & 0x03];
}

// Puts each chunk on the organizer's end at its time.
void ScheduleChunks(platform::VirtualClock& clock, platform::SerialPort& far,
                    const std::uint8_t* data, std::size_t size) {
  platform::Tick at = clock.Now();
  for (std::size_t offset = 0; offset < size;) {
    const std::size_t length = std::min<std::size_t>(data[offset], size - offset - 1);
    const std::uint8_t* bytes = data + offset + 1;
    offset += 1 + length;
    clock.At(at, [&far, bytes, length] {
      platform::MessageQueue queue;
      std::size_t written = 0;
      far.Write(bytes, length, written, 0, queue);
    });
    at += kChunkGapMs;
  }
}

// One receive operation; the low three bits choose it, the others the room
// the caller gives it.
void RunOperation(link::LinkEngine& engine, std::uint8_t operation) {
  const int capacity = (operation >> 3) * 40;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(capacity) + 1);
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
      transfer::ReceiveRecord(engine, buffer.data(), capacity, length, kind, transfer::PcFull);
      break;
    default:
      transfer::ReceiveRecord(engine, buffer.data(), capacity, length, kind,
                              transfer::HandheldSide);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) return 0;
  const std::uint8_t settings = data[0];
  platform::VirtualClock clock;
  platform::VirtualLine line(clock, LineOptions(settings));
  link::LinkEngine engine(clock);
  engine.SetEchoBack(LineOptions(settings).echo_a);
  engine.SetTimeouts(30000, 30000, Multiplier(settings));
  engine.SetQuietWindow((settings & 0x20) != 0 ? 20 : 10);
  engine.SetPortOpener(
      [&line](int, int, std::string&) { return line.Open(platform::VirtualLine::End::A); });
  std::unique_ptr<platform::SerialPort> far = line.Open(platform::VirtualLine::End::B);
  if (!engine.OpenPort(1) || !far) return 0;

  ScheduleChunks(clock, *far, data + kHeaderSize, size - kHeaderSize);
  for (std::size_t i = 1; i < kHeaderSize; ++i) RunOperation(engine, data[i]);
  engine.ClosePort();
  return 0;
}
