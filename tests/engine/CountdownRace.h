// A countdown that a screen sets on its own thread while the engine counts it down on another (page
// 14's outdoor-setting hold and test run, the WiFi start window). The screen sets it anew while the
// engine is counting, and a few engine steps later checks that the count goes on from the new value: a
// set that the engine's count overwrote shows as a value far below it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace enginetest {

// Runs `step` (one engine step that counts `word` down by one) on a thread of its own while this
// thread sets `word` to `start` `rounds` times, each time ten steps after the last set. The rounds
// whose set was lost; -1 when the count stood still.
template <class Step>
int LostSets(std::atomic<int32_t>& word, int32_t start, int rounds, Step step) {
  const int32_t kCountedBeforeASet = 10;
  word.store(start);
  std::atomic<bool> stop{false};
  std::atomic<int64_t> steps{0};
  std::thread engine([&] {
    while (!stop.load()) {
      step();
      ++steps;
    }
  });
  auto waitFor = [](auto condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::yield();
    }
    return true;
  };
  int lost = 0;
  for (int i = 0; i < rounds; ++i) {
    if (!waitFor([&] { return word.load() <= start - kCountedBeforeASet; })) {
      lost = -1;
      break;
    }
    const int64_t before = steps.load();
    word.store(start);
    if (!waitFor([&] { return steps.load() >= before + 3; })) {
      lost = -1;
      break;
    }
    const int32_t now = word.load();
    const int64_t counted = steps.load() - before;
    // Each step since the set took one off at most, and one more a step under way at the set.
    if (counted < kCountedBeforeASet && now < start - counted - 1) ++lost;
  }
  stop = true;
  engine.join();
  return lost;
}

}  // namespace enginetest
