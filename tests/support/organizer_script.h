// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The organizer's side of a backup or a restore, scripted over the virtual
// line or a pseudo-terminal (PtyFarPort), and a front end that answers
// questions from a script.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/line_fixture.h"

namespace orgalink::testsupport {

// Answers the questions in order (Cancel or no once the script runs out)
// and keeps every box, notes included.
class ScriptedOwner : public RecordingOwner {
 public:
  enum class BoxKind { Note, RetryOrCancel, YesNo };
  struct Box {
    std::string text;
    std::string caption;
    BoxKind kind;
    // The cause a Retry or Cancel question came with.
    std::string cause = "";
  };

  // True answers Retry or yes.
  void SetAnswers(std::vector<bool> answers);

  bool RetryOrCancel(const std::string& text, const link::Cause& cause,
                     const std::string& caption) override;
  void Inform(const std::string& text, const std::string& caption) override;
  bool Confirm(const std::string& text, const std::string& caption) override;
  std::vector<Box> boxes() const;
  // The values of the operation's own milestones (the Operation scope),
  // each tagged S for Status or P for Progress.
  std::vector<std::string> milestones() const;

 private:
  bool Answer(const Box& box);

  mutable std::mutex mutex_;
  std::vector<bool> answers_;
  std::vector<Box> boxes_;
};

// Printable text of `size` bytes, so that no code conversion touches it.
Bytes Text(const std::string& seed, int size = -1);

// What the organizer holds: records by application (absent means none) and
// the expense category table (empty: the organizer has none).
struct OrganizerData {
  std::map<std::uint8_t, std::vector<Bytes>> records;
  Bytes expenseCategory;
};

// How the organizer lets a backup down while it serves one application.
enum class Fault { None, Silent, BadChecksum };

// The organizer's side of the PC's negotiation; variant E (the probe goes
// unanswered).
void OfferLink(FarEnd& far);

// Plays a backup: the link (unless `negotiate` is false), then every
// request of the PC answered from `data` until END_COMMUNICATION, or until
// the request for `faultAt` meets `fault`. Returns every frame the PC sent
// after the link stood, commands and the closing NACK alike, as 5-byte
// frames.
std::vector<Bytes> PlayBackup(FarEnd& far, const OrganizerData& data, bool negotiate = true,
                              int faultAt = -1, Fault fault = Fault::None);

// Plays a restore: the link (unless `negotiate` is false), then takes
// whatever the PC sends until END_COMMUNICATION or silence. Returns the
// exchange as text: "D5" for DELETE_ALL_RECORDS of Telephone, "R3:<hex of
// the contents>" for a data packet of application 3, "E" for the end.
std::vector<std::string> PlayRestore(FarEnd& far, bool negotiate = true);

// An archive image: magic "IM2BK0", device 02 00 and the sections given.
Bytes PlainArchive(const std::vector<std::pair<std::uint8_t, std::vector<Bytes>>>& sections);
// The same with its body inverted, as written with FileScramble on.
Bytes InvertedArchive(const std::vector<std::pair<std::uint8_t, std::vector<Bytes>>>& sections);

// Hex text of bytes, for readable comparisons.
std::string Hex(const Bytes& bytes);

}  // namespace orgalink::testsupport
