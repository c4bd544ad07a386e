#pragma once

#include <cstddef>
#include <cstdint>

// Sines recorded in the order a run asked for them, for a later run that asks
// for the same ones again from the same start (the scope's preview starts every
// oscillator from position 0 at each pass). An entry is used only when its
// inputs are bit for bit those asked for now, so a replayed sine is the very
// value the sine would give; any other input is computed and recorded.
class SineTrack {
 public:
  struct Entry {
    uint64_t key;
    double value;
  };

  // The storage is the caller's; nothing is allocated here.
  SineTrack(Entry* entries, size_t capacity) : entries_(entries), capacity_(capacity) {}

  void rewind() { cursor_ = 0; }

  template <typename Compute>
  double sine(uint64_t key, Compute compute) {
    if (cursor_ >= capacity_) {
      return compute();
    }
    Entry& entry = entries_[cursor_];
    if (cursor_ >= filled_ || entry.key != key) {
      entry = Entry{key, compute()};
      filled_ = cursor_ >= filled_ ? cursor_ + 1 : filled_;
    }
    ++cursor_;
    return entry.value;
  }

 private:
  Entry* entries_;
  size_t capacity_;
  size_t filled_ = 0;
  size_t cursor_ = 0;
};
