// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

namespace orgalink::link {

// Result of every link, transfer and operation step. A type of its own, so
// that it never mixes unnoticed with a StoreResult or a plain count; the
// numbers are kept because the log, the dialogs and the exit status use them.
enum class LinkStatus : int {};

constexpr int ToInt(LinkStatus status) {
  return static_cast<int>(status);
}

inline constexpr LinkStatus LinkAborted{0};
inline constexpr LinkStatus LinkFoundCom1{1};
inline constexpr LinkStatus LinkFoundCom2{2};
inline constexpr LinkStatus LinkFoundCom3{3};
inline constexpr LinkStatus LinkFoundCom4{4};
inline constexpr LinkStatus LinkTimeout{5};
inline constexpr LinkStatus LinkPortErrorCom1{6};
inline constexpr LinkStatus LinkPortErrorCom2{7};
inline constexpr LinkStatus LinkPortErrorCom3{8};
inline constexpr LinkStatus LinkPortErrorCom4{9};
inline constexpr LinkStatus LinkPortError{10};
inline constexpr LinkStatus LinkIoError{11};
inline constexpr LinkStatus LinkNotDetected{12};
inline constexpr LinkStatus LinkFileIncompatible{13};
inline constexpr LinkStatus LinkReceiveIncomplete{14};
inline constexpr LinkStatus LinkSendIncomplete{15};
inline constexpr LinkStatus LinkOk{16};
inline constexpr LinkStatus LinkFileReadCancelled{17};

// Prints the number, for test failure messages.
std::ostream& operator<<(std::ostream& out, LinkStatus status);

}  // namespace orgalink::link
