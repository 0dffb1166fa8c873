// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/front_end.h"

namespace orgalink::testsupport {

// A front end with nobody before it: progress goes nowhere, a failed read
// is cancelled and every question is answered no.
class NobodyWatches : public link::ProgressSink, public link::Prompter {
 public:
  link::FrontEnd Front() { return {this, this}; }
  void Report(const link::ProgressEvent&) override {}
  bool RetryOrCancel(const std::string&, const link::Cause&, const std::string&) override {
    return false;
  }
  void Inform(const std::string&, const std::string&) override {}
  bool Confirm(const std::string&, const std::string&) override { return false; }
};

}  // namespace orgalink::testsupport
