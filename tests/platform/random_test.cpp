#include "platform/random.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// The C library's rand() from state 1: the first draws of every thread.
const std::vector<int32_t> kFirstDraws = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};

std::vector<int32_t> draw(size_t count) {
  std::vector<int32_t> values;
  for (size_t i = 0; i < count; ++i) {
    values.push_back(nextRandom());
  }
  return values;
}

TEST(RandomTest, EveryThreadStartsAtStateOneAndKeepsItsOwnSequence) {
  std::vector<int32_t> other;
  std::thread first([&] { other = draw(kFirstDraws.size()); });
  first.join();
  EXPECT_EQ(other, kFirstDraws);

  // A thread drawing meanwhile does not consume this thread's sequence.
  seedRandom(1);
  const int32_t firstHere = nextRandom();
  std::thread second([] { draw(1000); });
  second.join();
  const std::vector<int32_t> restHere = draw(3);
  EXPECT_EQ(firstHere, kFirstDraws[0]);
  EXPECT_EQ(restHere, (std::vector<int32_t>{kFirstDraws[1], kFirstDraws[2], kFirstDraws[3]}));
}

TEST(RandomTest, DrawsStayInFifteenBits) {
  seedRandom(0xdeadbeef);
  for (int i = 0; i < 100000; ++i) {
    const int32_t r = nextRandom();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, kRandomMax);
  }
}

}  // namespace
