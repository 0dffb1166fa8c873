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
  const platform::Tick until = engine.Deadline(kPauseMs);
  do {
    engine.WaitForAbortOrDeadline(until);
    if (engine.PollAbort()) return false;
  } while (!engine.Expired(until));
  return true;
}

Outcome TryPort(LinkEngine& engine, ProgressSink* progress, int port) {
  Report(progress, {ProgressKind::DetectChecking, port});
  if (!engine.OpenPort(port)) {
    engine.LogFormat("COM%d Pass (NOT Open)\n", port);
    return Outcome::NextPort;
  }
  const LinkStatus status = Negotiation(engine, progress, kLinkRequestMs, 0).status;
  if (status == LinkAborted) return Outcome::Stop;
  if (status != LinkOk) {
    engine.LogFormat("COM%d Pass (NO Response)\n", port);
    engine.ClosePort();
    return Outcome::NextPort;
  }
  engine.Log("---PC receives LinkRequest\n\n");
  // The organizer waits for the PC's next command; end its communication so
  // that it is free for the real one.
  if (engine.SendCommand(END_COMMUNICATION) != LinkOk) return Outcome::Stop;
  engine.Log("---PC sends END_COMMUNICATION\n\n");
  engine.LogFormat("---PC Detected on COM%d\n\n", port);
  return Outcome::Found;
}

// 1..4 for the port found, 0 when the sweeps ran out, -1 when the search
// was given up.
int Search(LinkEngine& engine, ProgressSink* progress) {
  for (int sweep = 0; sweep < kSweeps; ++sweep) {
    for (int port = kFirstPort; port <= kLastPort; ++port) {
      if (!PauseUnlessAborted(engine)) {
        engine.Log("!!!Abort(AutoDetect)\n\n");
        return -1;
      }
      const Outcome outcome = TryPort(engine, progress, port);
      if (outcome == Outcome::Found) return port;
      if (outcome == Outcome::Stop) return -1;
    }
    engine.ClosePort();
  }
  return 0;
}

}  // namespace

LinkStatus AutoDetect(LinkEngine& engine, ProgressSink* progress) {
  engine.ClosePort();
  engine.Log("========== Start AutoDetect ==========\n\n");
  const int found = Search(engine, progress);
  engine.ClosePort();
  engine.Log("========== End AutoDetect ==========\n\n");
  if (found > 0) {
    engine.SetStatus(LinkOk, found);
  } else {
    engine.SetStatus(LinkNotDetected, -1);
  }
  return engine.Status();
}

}  // namespace orgalink::link
