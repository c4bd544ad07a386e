#pragma once

#include <atomic>
#include <cstdint>

// The envelope's gate: reads 1 while a note sounds and 0 when closed.
//
// It is one 32-bit word whose upper 31 bits count the notes started, so the
// audio thread, which closes the gate when a note runs out, can tell whether
// the main thread started another note meanwhile: it closes only the note it
// saw (compare-and-swap), and it restarts the envelope when the count moves.
// A note started while a tick runs is therefore never lost, never starts from
// the previous note's time, and the gate reads 1 from the moment it is opened.
class Gate {
 public:
  using Word = uint32_t;

  operator int32_t() const { return isOpen(load()) ? 1 : 0; }

  // Main thread: a new note (open, count + 1), or a close that keeps the count.
  // Sequentially consistent, so the store has left this core before the main
  // thread goes on, and with it the stores made before it.
  void openNewNote() { word_.store(((load() >> 1) + 1) << 1 | 1u); }
  void close() { word_.store(load() & ~1u); }

  // Audio thread: the word as seen at the start of a tick.
  Word load() const { return word_.load(std::memory_order_acquire); }
  // Audio thread: close the note seen in `seen`, unless a newer one started.
  void closeIfStill(Word seen) {
    word_.compare_exchange_strong(seen, seen & ~1u, std::memory_order_acq_rel,
                                  std::memory_order_acquire);
  }

  static bool isOpen(Word w) { return (w & 1u) != 0; }
  static Word noteCount(Word w) { return w >> 1; }

 private:
  std::atomic<Word> word_{0};
};
