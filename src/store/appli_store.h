#pragma once

#include <cstdint>

namespace orgalink::store {

// Per-application record buffers of one communication.
// (Being filled in: only the device code is in place so far.)
class AppliStore {
 public:
  void SetDeviceCode(std::uint8_t high, std::uint8_t low) {
    device_code_[0] = high;
    device_code_[1] = low;
  }
  const std::uint8_t* DeviceCode() const { return device_code_; }

 private:
  std::uint8_t device_code_[2] = {2, 0};
};

}  // namespace orgalink::store
