// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orgalink::sim {

// The organizer models as the PC tells them apart: the E reports device code
// Low 0, the E+ and the M report Low 1, and only the M answers
// GET_DEVICE_INFORMATION.
enum class SimVariant { E, EPlus, M };

// Misbehaviour on demand. Packets are the DataPackets of one session in
// either direction, counted from 1; ACKs are those the organizer sends, and
// records those it takes from the PC, counted the same way. Every count
// starts afresh with each communication. 0 switches a fault off.
struct SimFaults {
  int bad_checksum_at_packet = 0;    // that packet goes out (or is taken) with a wrong checksum
  int nack_at_ack = 0;               // NACK in place of that ACK
  int silence_from_packet = 0;       // from that packet on nothing more is sent
  int hang_up_at_packet = 0;         // the line is cut at that packet
  int noise_bytes = 0;               // a burst of that many non-frame bytes before every frame
  std::uint32_t frame_delay_ms = 0;  // a slow organizer: this long before every frame
  int drop_record = 0;               // that record is acknowledged but not kept

  bool operator==(const SimFaults&) const = default;
};

struct SimOptions {
  SimVariant variant = SimVariant::M;
  std::uint8_t device_code_high = 2;
  // Return every byte the PC sends, as the usual cable does.
  bool echo = true;
  SimFaults faults;
  // Offer LINK_REQUEST again after each session, so that one organizer
  // serves run after run without another press of PC-LINK.
  bool relink = false;
  // How long LINK_REQUEST is offered after a press (or a session); 0 offers
  // until a PC answers. On a simulated clock keep it finite: an organizer
  // left alone would otherwise run its clock on for ever.
  std::uint32_t offer_window_ms = 60000;
  // A session ends when the PC says nothing for this long.
  std::uint32_t session_timeout_ms = 60000;
  // Where the contents live between runs; empty keeps them in memory only.
  std::string state_file;
  // The contents of a new organizer; empty means "sample_organizer.bkf"
  // beside the character tables.
  std::string sample_file;
  // Start from the sample even when the state file exists.
  bool reset_to_sample = false;
  // Folder of "code.dat" and "sort.dat" with its trailing '/'; empty means
  // the program's data folder.
  std::string table_directory;
};

// The variant a port name selects: "sim" (the M), "sim:E", "sim:E+", "sim:M".
std::optional<SimVariant> VariantFromPortName(std::string_view port);
// "E", "E+" or "M".
std::optional<SimVariant> ParseVariant(std::string_view text);
const char* VariantName(SimVariant variant);

// Applies one fault given as "checksum:N", "nack:N", "silence:N", "hangup:N",
// "noise:BYTES", "slow:MS" or "drop:N". False, with the reason in `error`, for anything
// else.
bool ParseFault(std::string_view text, SimFaults& faults, std::string& error);

}  // namespace orgalink::sim
