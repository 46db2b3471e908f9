// The randomized sequence tester: random scenes, random steps, whole-scene checks after each step.
//
// CI runs a fixed set of seeds (1000, or 300 under the sanitizers). By hand:
//   GEMLITH_SEEDS=500            seeds 1..500 (also "100-199" or "3,17,42")
//   GEMLITH_STEPS=400            steps per seed
//   GEMLITH_MAX_OBJECTS=300      largest scene
//   GEMLITH_SOAK_SECONDS=3600    the Soak test: new seeds (from GEMLITH_SOAK_FIRST_SEED, default
//                                1000000) until the time is up
//   GEMLITH_SHRINK_SECONDS=120   time allowed to shrink one failing seed
//   GEMLITH_NO_FORK=1            run the seeds in this process (for a debugger)
// A failing seed is shrunk and printed as a test for regressions_test.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "runner.h"

namespace reliability {
namespace {

// CI's share: well under a minute in the normal build, about a minute under the sanitizers, which
// run each step about ten times slower.
#ifdef GEMLITH_RELIABILITY_SANITIZED
constexpr int kCiSeeds = 300;
#else
constexpr int kCiSeeds = 1000;
#endif
constexpr int kCiSteps = 150;
// How often each command must at least answer true over CI's seeds.
constexpr uint64_t kCiMinSucceeded = kCiSeeds / 4;
constexpr int kTimeoutSeconds = 300;  // one seed's run, in the slowest (sanitizer) build
constexpr int kShrinkTimeoutSeconds = 60;
constexpr size_t kMaxShrinks = 6;     // kinds of failure shrunk per run; the others are listed

long EnvInt(const char* name, long fallback) {
  const char* v = std::getenv(name);
  if (!v || !*v) return fallback;
  return std::strtol(v, nullptr, 10);
}

// "N" = 1..N, "A-B", or "a,b,c".
std::vector<uint64_t> SeedsFromEnv() {
  const char* v = std::getenv("GEMLITH_SEEDS");
  std::vector<uint64_t> seeds;
  if (!v || !*v) {
    for (int s = 1; s <= kCiSeeds; ++s) seeds.push_back(static_cast<uint64_t>(s));
    return seeds;
  }
  const std::string text = v;
  const size_t dash = text.find('-');
  if (text.find(',') != std::string::npos) {
    size_t start = 0;
    while (start <= text.size()) {
      const size_t comma = text.find(',', start);
      const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      if (!part.empty()) seeds.push_back(std::stoull(part));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  } else if (dash != std::string::npos) {
    const uint64_t a = std::stoull(text.substr(0, dash));
    const uint64_t b = std::stoull(text.substr(dash + 1));
    for (uint64_t s = a; s <= b; ++s) seeds.push_back(s);
  } else {
    const uint64_t n = std::stoull(text);
    for (uint64_t s = 1; s <= n; ++s) seeds.push_back(s);
  }
  return seeds;
}

class SeedRunner {
 public:
  SeedRunner()
      : steps_(static_cast<int>(EnvInt("GEMLITH_STEPS", kCiSteps))),
        shrink_seconds_(static_cast<double>(EnvInt("GEMLITH_SHRINK_SECONDS", 120))) {
    params_.max_objects = static_cast<int>(EnvInt("GEMLITH_MAX_OBJECTS", 300));
  }

  void RunSeed(uint64_t seed) {
    const Plan plan = MakePlan(seed, steps_, params_);
    const Outcome out = RunIsolated(plan.scene, plan.steps, false, kTimeoutSeconds);
    total_.Add(out.counters);
    if (!out.failure.failed()) return;
    ++failures_;
    // Each kind of failure is shrunk once; further seeds that fail the same way are only listed.
    const auto known = shrunk_.find(out.failure.signature);
    if (known != shrunk_.end() || shrunk_.size() >= kMaxShrinks) {
      ADD_FAILURE() << "seed " << seed << " fails at step " << out.failed_step << ": "
                    << out.failure.signature
                    << (known != shrunk_.end() ? " (as seed " + std::to_string(known->second) + ")"
                                               : std::string(" (not shrunk)"));
      return;
    }
    shrunk_[out.failure.signature] = seed;
    std::printf("[reliability] seed %llu fails at step %zu: %s\n  shrinking...\n",
                static_cast<unsigned long long>(seed), out.failed_step, out.failure.signature.c_str());
    std::fflush(stdout);
    // A hang is shrunk with a shorter clock: a candidate that takes that long hangs as well.
    const Runner run = [](const SceneSpec& scene, const std::vector<Step>& steps) {
      return RunIsolated(scene, steps, true, kShrinkTimeoutSeconds);
    };
    const Reduced reduced = Shrink(plan.scene, plan.steps, out, run, 3000, shrink_seconds_);
    // Once more with the error output on, so that a sanitizer's report of the reduced run shows.
    if (reduced.outcome.died) RunIsolated(reduced.scene, reduced.steps, false, kTimeoutSeconds);
    const std::string repro = ReproductionCpp(seed, reduced);
    std::printf("%s\n", repro.c_str());
    ADD_FAILURE() << "seed " << seed << " fails at step " << out.failed_step << " of "
                  << plan.steps.size() << ": " << out.failure.signature << "\nreduced to "
                  << reduced.steps.size() << " steps and " << reduced.scene.objects.size()
                  << " objects (" << reduced.runs << " tries):\n"
                  << reduced.outcome.failure.detail
                  << "\nthe reproduction above goes into tests/reliability/regressions_test.cpp";
  }

  const Counters& total() const { return total_; }

  void Report(const char* what) const {
    std::printf("[reliability] %s: %s\n", what, total_.ToString().c_str());
    std::fflush(stdout);
  }

 private:
  int steps_;
  double shrink_seconds_;
  SceneParams params_;
  Counters total_;
  int failures_ = 0;
  std::map<std::string, uint64_t> shrunk_;  // failure signature -> the seed shrunk for it
};

TEST(Reliability, FixedSeedsKeepTheSceneConsistentAndUndoExact) {
  SeedRunner runner;
  for (uint64_t seed : SeedsFromEnv()) runner.RunSeed(seed);
  runner.Report("fixed seeds");
  // CI's seeds must also have done the work: a module whose commands all give up passes every
  // check above.
  if (EnvInt("GEMLITH_SEEDS", 0) == 0 && EnvInt("GEMLITH_STEPS", kCiSteps) == kCiSteps) {
    EXPECT_EQ(ReachShortfall(runner.total(), kCiMinSucceeded), "");
  }
}

TEST(Reliability, Soak) {
  const long seconds = EnvInt("GEMLITH_SOAK_SECONDS", 0);
  if (seconds <= 0) GTEST_SKIP() << "set GEMLITH_SOAK_SECONDS to run the soak";
  SeedRunner runner;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  const uint64_t first = static_cast<uint64_t>(EnvInt("GEMLITH_SOAK_FIRST_SEED", 1000000));
  uint64_t seed = first;
  while (std::chrono::steady_clock::now() < end) runner.RunSeed(seed++);
  std::printf("[reliability] soak seeds %llu..%llu\n", static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(seed - 1));
  runner.Report("soak");
}

}  // namespace
}  // namespace reliability
