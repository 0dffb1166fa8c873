// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace orgalink::sim {

namespace {

constexpr std::string_view kPortPrefix = "sim";

bool ParseCount(std::string_view text, std::uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto [stop, problem] = std::from_chars(text.data(), end, value);
  return problem == std::errc() && stop == end && !text.empty();
}

// The field of `faults` a fault name sets, as int or milliseconds.
bool SetFault(std::string_view name, std::uint32_t value, SimFaults& faults) {
  const int count = static_cast<int>(std::min<std::uint32_t>(value, INT32_MAX));
  if (name == "checksum") {
    faults.bad_checksum_at_packet = count;
  } else if (name == "nack") {
    faults.nack_at_ack = count;
  } else if (name == "silence") {
    faults.silence_from_packet = count;
  } else if (name == "hangup") {
    faults.hang_up_at_packet = count;
  } else if (name == "noise") {
    faults.noise_bytes = count;
  } else if (name == "slow") {
    faults.frame_delay_ms = value;
  } else if (name == "drop") {
    faults.drop_record = count;
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::optional<SimVariant> ParseVariant(std::string_view text) {
  if (text == "E") return SimVariant::E;
  if (text == "E+") return SimVariant::EPlus;
  if (text == "M") return SimVariant::M;
  return std::nullopt;
}

std::optional<SimVariant> VariantFromPortName(std::string_view port) {
  if (port == kPortPrefix) return SimVariant::M;
  if (!port.starts_with(kPortPrefix) || port.size() <= kPortPrefix.size() ||
      port[kPortPrefix.size()] != ':') {
    return std::nullopt;
  }
  return ParseVariant(port.substr(kPortPrefix.size() + 1));
}

const char* VariantName(SimVariant variant) {
  switch (variant) {
    case SimVariant::E:
      return "E";
    case SimVariant::EPlus:
      return "E+";
    case SimVariant::M:
      break;
  }
  return "M";
}

bool ParseFault(std::string_view text, SimFaults& faults, std::string& error) {
  const std::size_t colon = text.find(':');
  std::uint32_t value = 0;
  if (colon == std::string_view::npos || !ParseCount(text.substr(colon + 1), value) ||
      !SetFault(text.substr(0, colon), value, faults)) {
    error = "unknown fault \"" + std::string(text) +
            "\" (checksum:N, nack:N, silence:N, hangup:N, noise:BYTES, slow:MS or drop:N)";
    return false;
  }
  return true;
}

}  // namespace orgalink::sim
