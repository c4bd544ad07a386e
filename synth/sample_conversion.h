#pragma once

#include <cmath>
#include <cstdint>

// A sample value to 16 bits: truncate toward zero, then keep the low 16 bits of
// the two's complement integer, so values past the 16-bit range wrap around
// (40000 -> -25536) instead of clipping.
//
// Every finite float is wrapped exactly as its true integer part would be;
// floats of 2^24 and more are integers already, and fmod is exact. NaN and the
// infinities have no integer part and give 0.
inline int16_t toSample16(float value) {
  if (std::fabs(value) < 2147483648.0f) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(value)));
  }
  if (!std::isfinite(value)) {
    return 0;
  }
  const double low = std::fmod(static_cast<double>(value), 65536.0);  // exact, integral
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int32_t>(low)));
}
