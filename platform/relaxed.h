#pragma once

#include <atomic>
#include <cstdint>

// A 32-bit value shared between the main thread and the audio thread.
// Every read and write is one whole relaxed atomic access: no tearing, no
// ordering. Reads and writes look like those of a plain field so the
// synthesis arithmetic reads as it is written.
template <typename T>
class Relaxed {
 public:
  static_assert(sizeof(T) == 4, "shared synth fields are single 32-bit words");
  static_assert(std::atomic<T>::is_always_lock_free);

  constexpr Relaxed(T value = T{}) : value_(value) {}
  Relaxed(const Relaxed&) = delete;
  // Copies the value: one load of `other`, one store here.
  Relaxed& operator=(const Relaxed& other) { return *this = static_cast<T>(other); }

  operator T() const { return value_.load(std::memory_order_relaxed); }
  Relaxed& operator=(T value) {
    value_.store(value, std::memory_order_relaxed);
    return *this;
  }

 private:
  std::atomic<T> value_;
};
