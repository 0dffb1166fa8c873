// One DataPacket on the line: building and writing it, and waiting for one
// (or for the command that may come in its place).

#include "transfer/data_packet.h"

#include <algorithm>

#include "link/frame.h"
#include "transfer/appli_code.h"

namespace orgalink::transfer {

using link::CommandSize;
using link::FrameTiming;
using link::LinkEngine;
using link::LinkStatus;

namespace {

LinkStatus Fail(LinkEngine& engine, const char* line, LinkStatus status) {
  engine.Log(line);
  engine.SetStatus(status, -1);
  return status;
}

LinkStatus Succeed(LinkEngine& engine) {
  engine.SetStatus(link::LinkOk, -1);
  return link::LinkOk;
}

// The rest of a DataPacket whose code byte is already in frame[0].
LinkStatus ReadPacket(LinkEngine& engine, int expectedCode, PacketFrame& frame,
                      const FrameTiming& times, const PacketOut& out) {
  if (expectedCode != AnyAppliCode && frame[0] != expectedCode) {
    return Fail(engine, "!!!Another Appli Data\n\n", link::LinkIoError);
  }
  if (!engine.ReadPort(frame.data() + 1, PacketHeaderSize - 1, times.ReadDeadline(4))) {
    engine.Log("!!!No Receive(Remains of Packet Header)\n\n");
    return engine.Status();
  }
  const int recordSize = (frame[2] << 8) | frame[3];
  const int n = frame[4];
  if (n > MaxPacketContents || n > recordSize) {
    return Fail(engine, "!!!Contents Size Err\n\n", link::LinkIoError);
  }
  if (!engine.ReadPort(frame.data() + PacketHeaderSize, n + 1, times.ReadDeadline(n + 1))) {
    return engine.Status();
  }
  if (static_cast<std::uint8_t>(link::Checksum(frame.data(), n + PacketHeaderSize)) !=
      frame[n + PacketHeaderSize]) {
    return Fail(engine, "!!!CheckSum Err\n\n", link::LinkIoError);
  }
  // Refuse rather than write past the caller's buffer.
  if (n > out.capacity) {
    engine.SetStatus(link::LinkIoError, -1);
    return link::LinkIoError;
  }
  if (out.kind != nullptr) *out.kind = frame[0];
  if (out.position != nullptr) *out.position = n == recordSize ? PacketLast : frame[1];
  if (out.length != nullptr) *out.length = n;
  std::copy_n(frame.data() + PacketHeaderSize, n, out.contents);
  return Succeed(engine);
}

// A command packet whose start byte is already in frame[0], in place of data.
LinkStatus ReadCommandInstead(LinkEngine& engine, PacketFrame& frame, const FrameTiming& times,
                              const PacketOut& out) {
  const LinkStatus rest = link::ReadCommandRest(engine, frame.data(), times.ReadDeadline(4));
  if (rest != link::LinkOk) return rest;
  const int code = frame[1];
  if (code != link::FINISH_ALL_RECORDS && code != link::NACK) {
    return Fail(engine, "!!!Another Command\n\n", link::LinkIoError);
  }
  if (out.kind != nullptr) {
    if (code == link::NACK) {
      *out.kind = link::NACK;
      return Fail(engine, "!!!---PC receives NACK\n\n", link::LinkIoError);
    }
    *out.kind = link::FINISH_ALL_RECORDS;
  }
  if (CommandSize > out.capacity) {
    engine.SetStatus(link::LinkIoError, -1);
    return link::LinkIoError;
  }
  if (out.position != nullptr) *out.position = 0;
  if (out.length != nullptr) *out.length = CommandSize;
  std::copy_n(frame.data(), CommandSize, out.contents);
  return Succeed(engine);
}

}  // namespace

LinkStatus SendDataPacket(LinkEngine& engine, const std::uint8_t* contents, int recordSize,
                          int length, std::uint8_t appliCode, std::uint8_t position) {
  if (length < 1 || length > MaxPacketContents || contents == nullptr) return link::LinkIoError;
  PacketFrame frame{};
  frame[0] = appliCode;
  frame[1] = position;
  frame[2] = static_cast<std::uint8_t>(recordSize >> 8);
  frame[3] = static_cast<std::uint8_t>(recordSize);
  frame[4] = static_cast<std::uint8_t>(length);
  std::copy_n(contents, length, frame.data() + PacketHeaderSize);
  frame[length + PacketHeaderSize] =
      static_cast<std::uint8_t>(link::Checksum(frame.data(), length + PacketHeaderSize));
  if (!engine.WritePort(frame.data(), length + PacketHeaderSize + 1)) return engine.Status();
  return link::LinkOk;
}

LinkStatus WaitDataPacket(LinkEngine& engine, int expectedCode, const PacketOut& out, long timeout,
                          long multiplier) {
  const FrameTiming times(engine, timeout == -1 ? engine.TODataPacket() : timeout,
                          multiplier == -1 ? engine.TOMultiplier() : multiplier);
  while (!engine.Expired(times.Overall())) {
    if (engine.PollAbort()) {
      engine.Log("!!!Abort(WaitDataPacket)\n\n");
      engine.SetStatus(link::LinkAborted, -1);
      return link::LinkAborted;
    }
    PacketFrame frame{};
    if (!engine.ReadPort(frame.data(), 1, times.ReadDeadline(1, 10000))) {
      if (engine.AbortFlag()) return link::LinkAborted;
      // Only a time-out of this read is worth another attempt; a failing
      // device would fail again at once and the loop would spin.
      if (engine.Status() != link::LinkTimeout) return engine.Status();
      continue;
    }
    if (IsAppliCode(frame[0])) return ReadPacket(engine, expectedCode, frame, times, out);
    if (frame[0] == link::CommandStart) return ReadCommandInstead(engine, frame, times, out);
    engine.Log("!!!Not DataPacket\n");
  }
  engine.Log("!!!Time Out(Wait Data Packet) Break\n\n");
  engine.SetStatus(link::LinkTimeout, -1);
  return link::LinkTimeout;
}

}  // namespace orgalink::transfer
