// SPDX-License-Identifier: GPL-3.0-or-later
// The port search of the Auto Detect dialog.

#include "link/auto_detect.h"

#include "link/negotiation.h"

namespace orgalink::link {

namespace {

constexpr int kSweeps = 5;
constexpr int kFirstPort = 1;
constexpr int kLastPort = 4;
constexpr std::uint32_t kPauseMs = 500;
constexpr long kLinkRequestMs = 3000;

// How the try of one port ended.
enum class Outcome { NextPort, Found, Stop };

// The pause before a port. It sleeps on the abort token, so an abort
// request ends it at once instead of after the pause.
bool PauseUnlessAborted(LinkEngine& engine) {
  const platform::Tick until = engine.Link().Deadline(kPauseMs);
  do {
    engine.Link().WaitForAbortOrDeadline(until);
    if (engine.Link().PollAbort()) return false;
  } while (!engine.Link().Expired(until));
  return true;
}

// How the log names a port: "COM3", or the device of one beyond COM4.
std::string PortName(int port, const std::vector<std::string>& extraDevices) {
  if (port <= kLastPort) return "COM" + std::to_string(port);
  return extraDevices[static_cast<std::size_t>(port - kLastPort - 1)];
}

// How the ports of one sweep answered, for the cause of a search that found
// nothing: the user needs to know whether the ports would not open (a wrong
// [Ports] entry, no permission) or opened and stayed silent (the organizer
// was not waiting).
struct SweepNotes {
  std::vector<std::string> silent;
  std::vector<std::string> unopened;  // "COM1: No such file or directory"

  Cause Why() const {
    if (!silent.empty())
      return Cause::TimedOut("LINK_REQUEST on " + Joined(silent, ", "), kLinkRequestMs);
    return Cause::System("opening the ports", 0, Joined(unopened, "; "));
  }

  static std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
  }
};

// The port found (0 for none) and, when none was, why.
struct Searched {
  int port = 0;
  Cause cause;
};

Outcome TryPort(LinkEngine& engine, ProgressSink* progress, int port, const std::string& name,
                SweepNotes& notes, Cause& stopped) {
  Report(progress, {ProgressKind::DetectChecking, port});
  if (!engine.Link().OpenPort(port)) {
    engine.Log().Format("%s Pass (NOT Open)\n", name.c_str());
    const std::string& why = engine.Link().OpenError();
    notes.unopened.push_back(name + ": " + (why.empty() ? "cannot be opened" : why));
    return Outcome::NextPort;
  }
  StepResult negotiated = Negotiation(engine, progress, kLinkRequestMs, 0);
  if (negotiated.status == LinkAborted) {
    stopped = std::move(negotiated.cause);
    return Outcome::Stop;
  }
  if (!negotiated) {
    engine.Log().Format("%s Pass (NO Response)\n", name.c_str());
    engine.Link().ClosePort();
    notes.silent.push_back(name);
    return Outcome::NextPort;
  }
  engine.Log().Line("---PC receives LinkRequest\n\n");
  // The organizer waits for the PC's next command; end its communication so
  // that it is free for the real one.
  if (StepResult ended = engine.SendCommand(END_COMMUNICATION); !ended) {
    stopped = std::move(ended.cause);
    return Outcome::Stop;
  }
  engine.Log().Line("---PC sends END_COMMUNICATION\n\n");
  engine.Log().Format("---PC Detected on %s\n\n", name.c_str());
  return Outcome::Found;
}

Searched Search(LinkEngine& engine, ProgressSink* progress,
                const std::vector<std::string>& extraDevices) {
  const int lastPort = kLastPort + static_cast<int>(extraDevices.size());
  SweepNotes notes;
  for (int sweep = 0; sweep < kSweeps; ++sweep) {
    notes = {};
    for (int port = kFirstPort; port <= lastPort; ++port) {
      if (!PauseUnlessAborted(engine)) {
        engine.Log().Line("!!!Abort(AutoDetect)\n\n");
        return {0, Cause::Aborted()};
      }
      Cause stopped;
      const Outcome outcome =
          TryPort(engine, progress, port, PortName(port, extraDevices), notes, stopped);
      if (outcome == Outcome::Found) return {port, {}};
      if (outcome == Outcome::Stop) return {0, std::move(stopped)};
    }
    engine.Link().ClosePort();
  }
  return {0, notes.Why()};
}

}  // namespace

StepResult AutoDetect(LinkEngine& engine, ProgressSink* progress) {
  DetectResult detected = AutoDetectPort(engine, progress, {});
  if (detected.port >= 1 && detected.port <= 4) return LinkStatus{detected.port};
  return {LinkNotDetected, std::move(detected.cause)};
}

DetectResult AutoDetectPort(LinkEngine& engine, ProgressSink* progress,
                            const std::vector<std::string>& extraDevices) {
  engine.Link().ClosePort();
  engine.Log().Line("========== Start AutoDetect ==========\n\n");
  Searched found = Search(engine, progress, extraDevices);
  engine.Link().ClosePort();
  engine.Log().Line("========== End AutoDetect ==========\n\n");
  if (found.port > kLastPort) {
    // The status has room only for COM1..COM4.
    engine.SetStatus(LinkOk, -1);
  } else if (found.port > 0) {
    engine.SetStatus(LinkOk, found.port);
  } else {
    engine.SetStatus(LinkNotDetected, -1);
  }
  return {found.port, std::move(found.cause)};
}

}  // namespace orgalink::link
