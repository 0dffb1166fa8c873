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

Outcome TryPort(LinkEngine& engine, ProgressSink* progress, int port, const std::string& name) {
  Report(progress, {ProgressKind::DetectChecking, port});
  if (!engine.Link().OpenPort(port)) {
    engine.Log().Format("%s Pass (NOT Open)\n", name.c_str());
    return Outcome::NextPort;
  }
  const LinkStatus status = Negotiation(engine, progress, kLinkRequestMs, 0).status;
  if (status == LinkAborted) return Outcome::Stop;
  if (status != LinkOk) {
    engine.Log().Format("%s Pass (NO Response)\n", name.c_str());
    engine.Link().ClosePort();
    return Outcome::NextPort;
  }
  engine.Log().Line("---PC receives LinkRequest\n\n");
  // The organizer waits for the PC's next command; end its communication so
  // that it is free for the real one.
  if (engine.SendCommand(END_COMMUNICATION) != LinkOk) return Outcome::Stop;
  engine.Log().Line("---PC sends END_COMMUNICATION\n\n");
  engine.Log().Format("---PC Detected on %s\n\n", name.c_str());
  return Outcome::Found;
}

// The port found, 0 when the sweeps ran out, -1 when the search was given
// up.
int Search(LinkEngine& engine, ProgressSink* progress,
           const std::vector<std::string>& extraDevices) {
  const int lastPort = kLastPort + static_cast<int>(extraDevices.size());
  for (int sweep = 0; sweep < kSweeps; ++sweep) {
    for (int port = kFirstPort; port <= lastPort; ++port) {
      if (!PauseUnlessAborted(engine)) {
        engine.Log().Line("!!!Abort(AutoDetect)\n\n");
        return -1;
      }
      const Outcome outcome = TryPort(engine, progress, port, PortName(port, extraDevices));
      if (outcome == Outcome::Found) return port;
      if (outcome == Outcome::Stop) return -1;
    }
    engine.Link().ClosePort();
  }
  return 0;
}

}  // namespace

LinkStatus AutoDetect(LinkEngine& engine, ProgressSink* progress) {
  AutoDetectPort(engine, progress, {});
  return engine.Status();
}

int AutoDetectPort(LinkEngine& engine, ProgressSink* progress,
                   const std::vector<std::string>& extraDevices) {
  engine.Link().ClosePort();
  engine.Log().Line("========== Start AutoDetect ==========\n\n");
  const int found = Search(engine, progress, extraDevices);
  engine.Link().ClosePort();
  engine.Log().Line("========== End AutoDetect ==========\n\n");
  if (found > kLastPort) {
    // The status has room only for COM1..COM4.
    engine.SetStatus(LinkOk, -1);
  } else if (found > 0) {
    engine.SetStatus(LinkOk, found);
  } else {
    engine.SetStatus(LinkNotDetected, -1);
  }
  return found > 0 ? found : 0;
}

}  // namespace orgalink::link
