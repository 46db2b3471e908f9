// Running a seed's plan (in this process, or in a child process that may crash), shrinking a
// failing plan to a minimal one, and printing it as a test to paste.
#ifndef GEMLITH_TESTS_RELIABILITY_RUNNER_H
#define GEMLITH_TESTS_RELIABILITY_RUNNER_H

// Set in a build with AddressSanitizer (GCC and clang say so differently), which runs the
// tester about ten times slower and reports leaks.
#if defined(__SANITIZE_ADDRESS__)
#define GEMLITH_RELIABILITY_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GEMLITH_RELIABILITY_SANITIZED 1
#endif
#endif

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scene.h"
#include "session.h"
#include "steps.h"

namespace reliability {

struct Plan {
  uint64_t seed = 0;
  SceneSpec scene;
  std::vector<Step> steps;
};

// The scene and `steps` steps of one seed; the same seed gives the same plan everywhere.
Plan MakePlan(uint64_t seed, int steps, const SceneParams& params = {});

struct Outcome {
  Failure failure;         // none when every step passed
  size_t failed_step = 0;  // the step that failed (or was running when the run died)
  Counters counters;
  bool died = false;       // the run crashed, was stopped by a sanitizer or hung
};

using Runner = std::function<Outcome(const SceneSpec&, const std::vector<Step>&)>;

Outcome RunInProcess(const SceneSpec& scene, const std::vector<Step>& steps);

// In a child process where the platform allows it (else in this one): a crash, a sanitizer report
// or a hang becomes a failure of the step that was running. `quiet` silences the child's error
// output (while shrinking). After the steps the child also asks the leak checker, when there is one.
bool CanIsolate();
Outcome RunIsolated(const SceneSpec& scene, const std::vector<Step>& steps, bool quiet,
                    int timeout_seconds);

// What a run of many seeds must have reached for its checks to mean something: every command
// answered true at least `min_succeeded` times, and every kind of fault the steps inject was
// delivered at least once. "" when it did, else the shortfall with all the counts.
std::string ReachShortfall(const Counters& total, uint64_t min_succeeded);

struct Reduced {
  SceneSpec scene;
  std::vector<Step> steps;
  Outcome outcome;
  int runs = 0;  // plans tried while shrinking
};

// Removes steps and objects and simplifies what remains as long as the same failure (same
// signature) still shows, within `max_runs` tries and `max_seconds`.
Reduced Shrink(const SceneSpec& scene, const std::vector<Step>& steps, const Outcome& failing,
               const Runner& run, int max_runs, double max_seconds);

// A regular test for tests/reliability/regressions_test.cpp that replays the reduced plan.
std::string ReproductionCpp(uint64_t seed, const Reduced& reduced);

}  // namespace reliability

#endif  // GEMLITH_TESTS_RELIABILITY_RUNNER_H
