// SPDX-License-Identifier: GPL-3.0-or-later
// One DataPacket on the line: building and writing it, and waiting for one
// (or for the command that may come in its place).

#include "transfer/data_packet.h"

#include <algorithm>

#include "link/command_name.h"
#include "link/frame.h"
#include "link/text_format.h"
#include "transfer/appli_code.h"

namespace orgalink::transfer {

using link::Cause;
using link::CommandSize;
using link::FrameTiming;
using link::LinkEngine;
using link::StepResult;

namespace {

StepResult Fail(LinkEngine& engine, const char* line, Cause cause) {
  engine.Log().Line(line);
  engine.SetStatus(link::LinkIoError, -1);
  return {link::LinkIoError, std::move(cause)};
}

// A packet larger than the caller's buffer is refused rather than written
// past its end.
StepResult TooLarge(LinkEngine& engine, int size, int capacity) {
  engine.SetStatus(link::LinkIoError, -1);
  return {link::LinkIoError,
          Cause::WrongData(
              "packet size", capacity, size,
              link::Format("a packet of %d bytes does not fit the %d left", size, capacity))};
}

StepResult Succeed(LinkEngine& engine) {
  engine.SetStatus(link::LinkOk, -1);
  return link::LinkOk;
}

// The rest of a DataPacket whose code byte is already in frame[0].
StepResult ReadPacket(LinkEngine& engine, int expectedCode, PacketFrame& frame,
                      const FrameTiming& times, const PacketOut& out) {
  if (expectedCode != AnyAppliCode && frame[0] != expectedCode) {
    return Fail(engine, "!!!Another Appli Data\n\n",
                Cause::WrongData("application of a data packet", expectedCode, frame[0]));
  }
  const auto header = std::span(frame).subspan(1, PacketHeaderSize - 1);
  if (StepResult read = engine.Link().ReadPort(header, times.ReadDeadline(4)); !read) {
    engine.Log().Line("!!!No Receive(Remains of Packet Header)\n\n");
    return read;
  }
  const int recordSize = (frame[2] << 8) | frame[3];
  const int n = frame[4];
  if (n > MaxPacketContents || n > recordSize) {
    return Fail(engine, "!!!Contents Size Err\n\n",
                Cause::WrongData("contents size of a data packet", -1, n,
                                 link::Format("a data packet claims %d bytes of a %d-byte record",
                                              n, recordSize)));
  }
  const auto rest = std::span(frame).subspan(PacketHeaderSize, n + 1);
  if (StepResult read = engine.Link().ReadPort(rest, times.ReadDeadline(n + 1)); !read) return read;
  const auto sum =
      static_cast<std::uint8_t>(link::Checksum(std::span(frame).first(n + PacketHeaderSize)));
  if (sum != frame[n + PacketHeaderSize]) {
    return Fail(engine, "!!!CheckSum Err\n\n",
                Cause::WrongData("checksum of a data packet", sum, frame[n + PacketHeaderSize]));
  }
  if (n > out.capacity) return TooLarge(engine, n, out.capacity);
  if (out.kind != nullptr) *out.kind = frame[0];
  if (out.position != nullptr) *out.position = n == recordSize ? PacketLast : frame[1];
  if (out.length != nullptr) *out.length = n;
  std::copy_n(frame.data() + PacketHeaderSize, n, out.contents);
  return Succeed(engine);
}

// A command packet whose start byte is already in frame[0], in place of data.
StepResult ReadCommandInstead(LinkEngine& engine, PacketFrame& frame, const FrameTiming& times,
                              const PacketOut& out) {
  StepResult rest =
      link::ReadCommandRest(engine, std::span(frame).first<CommandSize>(), times.ReadDeadline(4));
  if (!rest) return rest;
  const int code = frame[1];
  if (code != link::FINISH_ALL_RECORDS && code != link::NACK) {
    return Fail(engine, "!!!Another Command\n\n",
                Cause::WrongData("command", -1, code,
                                 "the organizer sent " + link::CommandName(code) +
                                     " where a data packet was expected"));
  }
  if (out.kind != nullptr) {
    if (code == link::NACK) {
      *out.kind = link::NACK;
      return Fail(engine, "!!!---PC receives NACK\n\n",
                  Cause::WrongData("command", -1, code,
                                   "the organizer sent NACK where a data packet was expected"));
    }
    *out.kind = link::FINISH_ALL_RECORDS;
  }
  if (CommandSize > out.capacity) return TooLarge(engine, CommandSize, out.capacity);
  if (out.position != nullptr) *out.position = 0;
  if (out.length != nullptr) *out.length = CommandSize;
  std::copy_n(frame.data(), CommandSize, out.contents);
  return Succeed(engine);
}

}  // namespace

StepResult SendDataPacket(LinkEngine& engine, std::span<const std::uint8_t> contents,
                          int recordSize, std::uint8_t appliCode, std::uint8_t position) {
  const int length = static_cast<int>(contents.size());
  if (contents.empty() || contents.size() > MaxPacketContents) {
    return {link::LinkIoError, Cause::WrongData("length of a data packet", -1, length)};
  }
  PacketFrame frame{};
  frame[0] = appliCode;
  frame[1] = position;
  frame[2] = static_cast<std::uint8_t>(recordSize >> 8);
  frame[3] = static_cast<std::uint8_t>(recordSize);
  frame[4] = static_cast<std::uint8_t>(length);
  std::copy(contents.begin(), contents.end(), frame.data() + PacketHeaderSize);
  frame[length + PacketHeaderSize] =
      static_cast<std::uint8_t>(link::Checksum(std::span(frame).first(length + PacketHeaderSize)));
  return engine.Link().WritePort(std::span(frame).first(length + PacketHeaderSize + 1));
}

StepResult WaitDataPacket(LinkEngine& engine, int expectedCode, const PacketOut& out, long timeout,
                          long multiplier) {
  const long totalMs = timeout == -1 ? engine.TODataPacket() : timeout;
  const FrameTiming times(engine.Link(), totalMs,
                          multiplier == -1 ? engine.TOMultiplier() : multiplier);
  while (!engine.Link().Expired(times.Overall())) {
    if (engine.Link().PollAbort()) {
      engine.Log().Line("!!!Abort(WaitDataPacket)\n\n");
      engine.SetStatus(link::LinkAborted, -1);
      return {link::LinkAborted, Cause::Aborted()};
    }
    PacketFrame frame{};
    if (StepResult read =
            engine.Link().ReadPort(std::span(frame).first(1), times.ReadDeadline(1, 10000));
        !read) {
      if (engine.Link().AbortFlag()) return {link::LinkAborted, Cause::Aborted()};
      // Only a time-out of this read is worth another attempt; a failing
      // device would fail again at once and the loop would spin.
      if (read.status != link::LinkTimeout) return read;
      continue;
    }
    if (IsAppliCode(frame[0])) return ReadPacket(engine, expectedCode, frame, times, out);
    if (frame[0] == link::CommandStart) return ReadCommandInstead(engine, frame, times, out);
    engine.Log().Line("!!!Not DataPacket\n");
  }
  engine.Log().Line("!!!Time Out(Wait Data Packet) Break\n\n");
  engine.SetStatus(link::LinkTimeout, -1);
  return {link::LinkTimeout, Cause::TimedOut("a data packet", totalMs)};
}

}  // namespace orgalink::transfer
