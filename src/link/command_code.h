// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace orgalink::link {

// Command codes of the 5-byte command packets.
enum CommandCode : std::uint8_t {
  LINK_REQUEST = 5,
  ACK = 6,
  DEVICE_INFORMATION = 8,
  END_COMMUNICATION = 9,
  SEND_1_RECORD = 10,
  DELETE_ALL_RECORDS = 11,
  GET_ALL_RECORDS = 12,
  FINISH_ALL_RECORDS = 13,
  GET_EXPENSE_CATEGORY = 14,
  SEND_EXPENSE_CATEGORY = 15,
  GET_DEVICE_INFORMATION = 16,
  NACK = 21,
};

// Expected code of a wait that takes any accepted command.
inline constexpr int AnyCommand = 0xFF;
// Expected code of the emulated organizer's command wait: any accepted
// command and GET_DEVICE_INFORMATION as well, the PC's variant probe, which
// only the organizer's side is ever sent.
inline constexpr int AnyHandheldCommand = 0x1FF;

}  // namespace orgalink::link
