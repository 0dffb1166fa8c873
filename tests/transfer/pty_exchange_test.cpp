// SPDX-License-Identifier: GPL-3.0-or-later
// A whole exchange through the termios backend over a real pseudo-terminal:
// the negotiation, then all records of an application in several packets.

#include <gtest/gtest.h>

#include <thread>

#include "link/negotiation.h"
#include "platform/posix_serial_port.h"
#include "support/line_fixture.h"
#include "support/pty.h"
#include "support/pty_organizer.h"
#include "support/transfer_peer.h"
#include "transfer/get_all_records.h"

namespace orgalink::transfer {
namespace {

using testsupport::Bytes;
using testsupport::CommandFrame;

TEST(PtyExchange, NegotiatesAndFetchesAMultiPacketApplication) {
  testsupport::Pty pty;
  link::LinkEngine engine;
  engine.Link().SetEchoBack(false);
  engine.SetTimeouts(3000, 3000, 0);
  engine.Link().SetPortOpener([&pty](int, int baud, std::string& error) {
    return platform::OpenPosixSerialPort(pty.slave_path(), baud, platform::SystemClock::Instance(),
                                         error);
  });
  testsupport::RecordingOwner owner;
  const std::vector<Bytes> records{testsupport::PatternRecord(746), {0x41, 0x42}};

  std::vector<Bytes> heard;  // the PC's commands, in order
  bool allAcked = true;
  std::thread organizer([&] {
    if (!testsupport::OfferLinkOnPty(pty)) return;
    // An M, which answers the variant probe, so that no real time-out passes.
    pty.Write(CommandFrame(8, 1, 2));
    heard.push_back(pty.Read(5));  // GET_DEVICE_INFORMATION
    pty.Write(CommandFrame(8, 1, 2));
    heard.push_back(pty.Read(5));  // GET_ALL_RECORDS
    for (const Bytes& record : records) {
      for (const Bytes& packet : testsupport::RecordPackets(2, record)) {
        pty.Write(packet);
        allAcked = allAcked && pty.Read(5) == CommandFrame(6);
      }
    }
    pty.Write(CommandFrame(13));
  });

  ASSERT_TRUE(engine.Link().OpenPort(0));
  EXPECT_EQ(link::Negotiation(engine, &owner, 10000, -1), link::LinkOk);
  EXPECT_EQ(engine.ModelVariant(), link::VariantM);
  Bytes buffer(4000, 0xEE);
  int total = -1;
  const link::StepResult status = GetAllRecords(engine, &owner, buffer, total, 2, PcFull, {});
  organizer.join();
  engine.Link().ClosePort();

  EXPECT_EQ(status, link::LinkOk);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0], CommandFrame(16));
  EXPECT_EQ(heard[1], CommandFrame(12, 2, 0));
  EXPECT_TRUE(allAcked);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + std::max(total, 0)),
            testsupport::RecordStream(records));
}

}  // namespace
}  // namespace orgalink::transfer
