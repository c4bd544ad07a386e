#include "platform/fsound_stats.h"

#include <atomic>

#include "platform/fsound_counters.h"

namespace {

std::atomic<uint64_t> fillCalls{0};
std::atomic<uint64_t> underflows{0};
std::atomic<uint64_t> failedWrites{0};

}  // namespace

void countFillCall() {
  fillCalls.fetch_add(1, std::memory_order_relaxed);
}
void countUnderflow() {
  underflows.fetch_add(1, std::memory_order_relaxed);
}
void countFailedWrite() {
  failedWrites.fetch_add(1, std::memory_order_relaxed);
}

SoundStats fsoundStats() {
  return {fillCalls.load(std::memory_order_relaxed), underflows.load(std::memory_order_relaxed),
          failedWrites.load(std::memory_order_relaxed)};
}
