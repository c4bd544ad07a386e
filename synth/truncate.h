#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Float-to-integer truncation toward zero, defined for every input:
// values beyond the int32 range give its nearest end, NaN gives 0.
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
