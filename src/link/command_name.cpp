// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/command_name.h"

#include "link/command_code.h"
#include "link/text_format.h"

namespace orgalink::link {

std::string CommandName(int code) {
  switch (code) {
    case LINK_REQUEST:
      return "LINK_REQUEST";
    case ACK:
      return "ACK";
    case DEVICE_INFORMATION:
      return "DEVICE_INFORMATION";
    case END_COMMUNICATION:
      return "END_COMMUNICATION";
    case SEND_1_RECORD:
      return "SEND_1_RECORD";
    case DELETE_ALL_RECORDS:
      return "DELETE_ALL_RECORDS";
    case GET_ALL_RECORDS:
      return "GET_ALL_RECORDS";
    case FINISH_ALL_RECORDS:
      return "FINISH_ALL_RECORDS";
    case GET_EXPENSE_CATEGORY:
      return "GET_EXPENSE_CATEGORY";
    case SEND_EXPENSE_CATEGORY:
      return "SEND_EXPENSE_CATEGORY";
    case GET_DEVICE_INFORMATION:
      return "GET_DEVICE_INFORMATION";
    case NACK:
      return "NACK";
    default:
      return Format("0x%02X", static_cast<unsigned>(code));
  }
}

}  // namespace orgalink::link
