#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

// Float-to-integer truncation toward zero, defined for every input.

// Saturating: values beyond the int32 range give its nearest end, NaN gives 0.
// Used where the integer is a divisor, so a saturated one behaves exactly as the
// unbounded integer would against the generator's 15-bit draws.
inline int32_t truncateToInt32(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(value);
}

// Strict: nothing for NaN or a value whose truncation is outside int32.
inline std::optional<int32_t> truncateInRange(double value) {
  // -2^31 - 1 < value < 2^31 is exactly the range whose truncation fits.
  if (!(value > -2147483649.0 && value < 2147483648.0)) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}
