#pragma once

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

// Memory with guard zones of a known pattern before and after its usable
// bytes. A write outside shows as a changed guard byte; under AddressSanitizer
// the guards are also poisoned, so such a write is reported where it happens.
class GuardedBuffer {
 public:
  static constexpr size_t kGuardBytes = 4096;
  static constexpr unsigned char kGuardByte = 0xA5;

  // `capacity` usable bytes, all of them usable at first, set to zero.
  explicit GuardedBuffer(size_t capacity)
      : capacity_(capacity),
        memory_(new unsigned char[kGuardBytes + capacity + kGuardBytes]),
        size_(capacity) {
    std::memset(memory_.get(), kGuardByte, kGuardBytes);
    std::memset(data(), 0, capacity);
    std::memset(data() + capacity, kGuardByte, kGuardBytes);
    poisonGuards();
  }
  ~GuardedBuffer() { ASAN_UNPOISON_MEMORY_REGION(memory_.get(), totalBytes()); }
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;

  unsigned char* data() { return memory_.get() + kGuardBytes; }
  size_t size() const { return size_; }

  // Makes only the first `size` bytes (at most the capacity) usable: the
  // bytes after them become part of the back guard.
  void resize(size_t size) {
    unpoisonGuards();
    size_ = std::min(size, capacity_);
    std::memset(data() + size_, kGuardByte, capacity_ - size_);
    poisonGuards();
  }

  bool guardsIntact() {
    unpoisonGuards();
    const bool intact =
        isPattern(memory_.get(), kGuardBytes) && isPattern(data() + size_, backGuardBytes());
    poisonGuards();
    return intact;
  }

 private:
  size_t totalBytes() const { return kGuardBytes + capacity_ + kGuardBytes; }
  size_t backGuardBytes() const { return capacity_ - size_ + kGuardBytes; }

  void poisonGuards() {
    ASAN_POISON_MEMORY_REGION(memory_.get(), kGuardBytes);
    ASAN_POISON_MEMORY_REGION(data() + size_, backGuardBytes());
  }
  void unpoisonGuards() {
    ASAN_UNPOISON_MEMORY_REGION(memory_.get(), kGuardBytes);
    ASAN_UNPOISON_MEMORY_REGION(data() + size_, backGuardBytes());
  }

  static bool isPattern(const unsigned char* bytes, size_t count) {
    return count == 0 || (bytes[0] == kGuardByte && std::memcmp(bytes, bytes + 1, count - 1) == 0);
  }

  size_t capacity_;
  std::unique_ptr<unsigned char[]> memory_;
  size_t size_;
};
