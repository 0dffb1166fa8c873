#pragma once

#include <cstdint>

namespace orgalink::link {

// Window and thread messages between the dialogs and their workers. The
// numbers are fixed (WM_USER + 101 ...).
inline constexpr std::uint32_t WM_LINK_STATUS = 1125;
inline constexpr std::uint32_t WM_LINK_PROGRESS = 1126;
inline constexpr std::uint32_t WM_LINK_DONE = 1128;
inline constexpr std::uint32_t WM_LINK_FAILED = 1129;
inline constexpr std::uint32_t WM_DETECT_CHECKING = 1130;
inline constexpr std::uint32_t WM_DETECT_FOUND = 1132;
inline constexpr std::uint32_t WM_DETECT_FAILED = 1133;

// lParam of WM_LINK_STATUS and WM_LINK_PROGRESS.
enum ProgressScope : std::int32_t {
  NegotiationScope = 0,
  OperationScope = 2,
  ApplicationScope = 3,
  TelephoneScope = 4,
};

}  // namespace orgalink::link
