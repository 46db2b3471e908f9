#include "runner.h"

#include "module_ids.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

#if defined(__unix__) || defined(__APPLE__)
#define GEMLITH_RELIABILITY_FORK 1
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#endif

#ifdef GEMLITH_RELIABILITY_SANITIZED
#include <sanitizer/lsan_interface.h>
#endif

namespace reliability {

Plan MakePlan(uint64_t seed, int steps, const SceneParams& params) {
  Plan p;
  p.seed = seed;
  Rng rng(seed);
  p.scene = GenerateScene(rng, params);
  p.steps = GenerateSteps(rng, steps);
  return p;
}

namespace {

// Runs the steps; `progress(i)` is told before step i starts.
Outcome Execute(const SceneSpec& scene, const std::vector<Step>& steps,
                const std::function<void(size_t)>& progress) {
  Outcome out;
  Session session;
  session.Build(scene);
  for (size_t i = 0; i < steps.size(); ++i) {
    if (progress) progress(i);
    const Failure f = session.Apply(steps[i]);
    if (f.failed()) {
      out.failure = f;
      out.failed_step = i;
      break;
    }
  }
  out.counters = session.counters();
  out.counters.seeds = 1;
  return out;
}

#ifdef GEMLITH_RELIABILITY_FORK
void WriteAll(int fd, const std::string& s) {
  const char* p = s.data();
  size_t left = s.size();
  while (left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n <= 0) return;
    p += n;
    left -= static_cast<size_t>(n);
  }
}

constexpr int kOutOfMemoryStatus = 86;
constexpr long kMemoryBudgetMb = 2048;

// A run whose scene explodes would take the machine's memory before its time runs out: a thread
// of the child stops it once it holds more than the budget (a thread, not a resource limit, so
// that it works under AddressSanitizer too).
void WatchMemory() {
#ifdef __linux__
  std::thread([] {
    const long page = sysconf(_SC_PAGESIZE);
    for (;;) {
      long size = 0, resident = 0;
      if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = 0;
        std::fclose(f);
      }
      if (resident * page / (1024 * 1024) > kMemoryBudgetMb) _exit(kOutOfMemoryStatus);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }).detach();
#endif
}

std::string CountersLine(const Counters& c) {
  std::ostringstream out;
  out << "C " << c.seeds << ' ' << c.steps << ' ' << c.commands << ' ' << c.undo_round_trips << ' '
      << c.faults << ' ' << c.reloads << ' ' << c.objects << '\n';
  for (const auto& [id, n] : c.succeeded) out << "W " << id << ' ' << n << '\n';
  for (const auto& [fault, n] : c.faults_taken)
    out << "T " << static_cast<int>(fault) << ' ' << n << '\n';
  return out.str();
}
#endif

}  // namespace

Outcome RunInProcess(const SceneSpec& scene, const std::vector<Step>& steps) {
  return Execute(scene, steps, nullptr);
}

bool CanIsolate() {
#ifdef GEMLITH_RELIABILITY_FORK
  const char* env = std::getenv("GEMLITH_NO_FORK");
  return !(env && *env && std::string(env) != "0");
#else
  return false;
#endif
}

Outcome RunIsolated(const SceneSpec& scene, const std::vector<Step>& steps, bool quiet,
                    int timeout_seconds) {
#ifdef GEMLITH_RELIABILITY_FORK
  if (!CanIsolate()) return RunInProcess(scene, steps);
  std::fflush(stdout);
  std::fflush(stderr);
  int fds[2];
  if (pipe(fds) != 0) return RunInProcess(scene, steps);
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return RunInProcess(scene, steps);
  }
  if (pid == 0) {
    // The child: report progress and the outcome through the pipe, never return.
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // a stopped run stops its child too
#endif
    close(fds[0]);
    WatchMemory();
    if (quiet) {
      const int null = open("/dev/null", O_WRONLY);
      if (null >= 0) dup2(null, 2);
    }
    alarm(static_cast<unsigned>(timeout_seconds));
    const int fd = fds[1];
    Outcome out = Execute(scene, steps, [fd](size_t i) { WriteAll(fd, "S " + std::to_string(i) + "\n"); });
    std::string report = CountersLine(out.counters);
#ifdef GEMLITH_RELIABILITY_SANITIZED
    if (!out.failure.failed() && __lsan_do_recoverable_leak_check() != 0) {
      out.failure.signature = "memory leaked";
      out.failure.detail = "memory leaked (see the leak report above)\n";
      out.failed_step = steps.empty() ? 0 : steps.size() - 1;
    }
#endif
    if (out.failure.failed()) {
      report += "F " + std::to_string(out.failed_step) + "\n" + out.failure.signature + "\n" +
                out.failure.detail;
    } else {
      report += "OK\n";
    }
    WriteAll(fd, report);
    close(fd);
    _exit(0);
  }
  close(fds[1]);
  std::string data;
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n > 0) {
      data.append(buf, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  Outcome out;
  std::istringstream in(data);
  std::string line;
  size_t last_started = 0;
  bool finished = false;
  while (std::getline(in, line)) {
    if (line.rfind("S ", 0) == 0) {
      last_started = std::stoul(line.substr(2));
    } else if (line.rfind("C ", 0) == 0) {
      std::istringstream c(line.substr(2));
      Counters& k = out.counters;
      c >> k.seeds >> k.steps >> k.commands >> k.undo_round_trips >> k.faults >> k.reloads >> k.objects;
    } else if (line.rfind("W ", 0) == 0 || line.rfind("T ", 0) == 0) {
      std::istringstream c(line.substr(2));
      int32_t key = 0;
      uint64_t n = 0;
      c >> key >> n;
      if (line[0] == 'W')
        out.counters.succeeded[key] = n;
      else
        out.counters.faults_taken[static_cast<Fault>(key)] = n;
    } else if (line == "OK") {
      finished = true;
    } else if (line.rfind("F ", 0) == 0) {
      finished = true;
      out.failed_step = std::stoul(line.substr(2));
      std::getline(in, out.failure.signature);
      std::ostringstream rest;
      rest << in.rdbuf();
      out.failure.detail = rest.str();
      break;
    }
  }
  const bool clean_exit = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!finished || !clean_exit) {
    std::string how, why;  // `how` goes into the signature, so it must not depend on the clock
    if (WIFSIGNALED(status)) {
      how = WTERMSIG(status) == SIGALRM ? "hung" : "died of signal " + std::to_string(WTERMSIG(status));
      if (WTERMSIG(status) == SIGALRM) why = " (no end within " + std::to_string(timeout_seconds) + " s)";
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == kOutOfMemoryStatus) {
      how = "held more than " + std::to_string(kMemoryBudgetMb) + " MB";
    } else {
      how = "stopped with exit status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) +
            " (a sanitizer report, see above)";
    }
    out.died = true;
    out.failed_step = last_started;
    out.counters.steps = steps.empty() ? 0 : last_started + 1;
    Step bare;
    if (last_started < steps.size()) {  // as Session names a step: a menu pick counts as a call
      bare.kind = steps[last_started].kind == Step::kRun ? Step::kCall : steps[last_started].kind;
      bare.command = steps[last_started].command;
    }
    out.failure.signature = "the run " + how + " | " + StepToCpp(bare);
    out.failure.detail = "the run " + how + why + "\n  step: " +
                         (last_started < steps.size() ? Describe(steps[last_started]) : std::string("?")) +
                         "\n";
    out.counters.seeds = 1;
  }
  return out;
#else
  (void)quiet;
  (void)timeout_seconds;
  return RunInProcess(scene, steps);
#endif
}

std::string ReachShortfall(const Counters& total, uint64_t min_succeeded) {
  std::ostringstream counts, short_of;
  counts << "  commands that answered true:";
  for (int32_t id : gemlith_test::kMenuOrder) {
    if (id == ID_GEMLITH_SEPARATOR) continue;
    const auto it = total.succeeded.find(id);
    const uint64_t n = it == total.succeeded.end() ? 0 : it->second;
    counts << ' ' << CommandName(id) << ' ' << n << ';';
    if (n < min_succeeded) short_of << ' ' << CommandName(id);
  }
  counts << "\n  faults delivered:";
  const int last = static_cast<int>(Fault::kMissingIcon);
  for (int k = static_cast<int>(Fault::kAllocArray); k <= last; ++k) {
    const Fault fault = static_cast<Fault>(k);
    const auto it = total.faults_taken.find(fault);
    const uint64_t n = it == total.faults_taken.end() ? 0 : it->second;
    counts << ' ' << FaultName(fault) << ' ' << n << ';';
    if (n == 0) short_of << ' ' << FaultName(fault);
  }
  if (short_of.str().empty()) return "";
  return "the runs fell short (each command must answer true at least " +
         std::to_string(min_succeeded) + " times, each fault be delivered at least once):" +
         short_of.str() + "\n" + counts.str() + "\n";
}

// ---- shrinking ----

namespace {

class Shrinker {
 public:
  Shrinker(const SceneSpec& scene, const std::vector<Step>& steps, const Outcome& failing,
           const Runner& run, int max_runs, double max_seconds)
      : run_(run), max_runs_(max_runs), max_seconds_(max_seconds),
        start_(std::chrono::steady_clock::now()) {
    best_.scene = scene;
    best_.steps.assign(steps.begin(), steps.begin() + std::min(steps.size(), failing.failed_step + 1));
    best_.outcome = failing;
    signature_ = failing.failure.signature;
  }

  Reduced Run() {
    ShrinkSteps();
    ShrinkScene();
    ShrinkSteps();
    SimplifySteps();
    best_.runs = runs_;
    return best_;
  }

 private:
  bool OutOfBudget() const {
    const double spent =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    return runs_ >= max_runs_ || spent >= max_seconds_;
  }

  // Whether the candidate still fails the same way; if so it becomes the best plan, cut after its
  // failing step.
  bool Try(const SceneSpec& scene, const std::vector<Step>& steps) {
    if (OutOfBudget() || steps.empty() || !IsValid(scene)) return false;
    ++runs_;
    const Outcome o = run_(scene, steps);
    if (o.failure.signature != signature_) return false;
    best_.scene = scene;
    best_.steps.assign(steps.begin(), steps.begin() + std::min(steps.size(), o.failed_step + 1));
    best_.outcome = o;
    return true;
  }

  // Removes chunks of steps, halving the chunk size when nothing goes.
  void ShrinkSteps() {
    size_t chunk = std::max<size_t>(1, best_.steps.size() / 2);
    while (chunk >= 1 && best_.steps.size() > 1 && !OutOfBudget()) {
      bool progress = false;
      for (size_t i = 0; i < best_.steps.size() && best_.steps.size() > 1;) {
        std::vector<Step> cand = best_.steps;
        cand.erase(cand.begin() + i, cand.begin() + std::min(cand.size(), i + chunk));
        if (Try(best_.scene, cand))
          progress = true;
        else
          i += chunk;
        if (OutOfBudget()) return;
      }
      if (!progress) {
        if (chunk == 1) break;
        chunk /= 2;
      }
    }
  }

  void SimplifySteps() {
    for (size_t i = 0; i < best_.steps.size() && !OutOfBudget(); ++i) {
      auto attempt = [&](const std::function<void(Step&)>& change) {
        if (i >= best_.steps.size()) return;
        std::vector<Step> cand = best_.steps;
        change(cand[i]);
        if (!(cand[i] == best_.steps[i])) Try(best_.scene, cand);
      };
      attempt([](Step& s) { s.fault = Fault::kNone; s.nth = 1; });
      attempt([](Step& s) { if (s.fault != Fault::kNone) s.nth = 1; });
      if (i < best_.steps.size() && best_.steps[i].kind == Step::kSelect) {
        for (size_t k = best_.steps[i].picks.size(); k-- > 0;)
          attempt([k](Step& s) { if (k < s.picks.size()) s.picks.erase(s.picks.begin() + k); });
        const size_t n = std::max<size_t>(1, best_.scene.objects.size());
        attempt([n](Step& s) { for (int& p : s.picks) p = static_cast<int>(p % n); });
      }
      if (i < best_.steps.size() && best_.steps[i].kind == Step::kKeys) {
        for (int32_t bit : {1, 2, 4}) attempt([bit](Step& s) { s.keys &= ~bit; });
      }
      attempt([](Step& s) { if (s.kind == Step::kRenameConfirm) s.text.clear(); });
    }
  }

  void ShrinkScene() {
    // Whole ranges of objects first (each with its subtree), then one by one.
    for (bool progress = true; progress && !OutOfBudget();) {
      progress = false;
      size_t chunk = std::max<size_t>(1, best_.scene.objects.size() / 2);
      while (!OutOfBudget()) {
        for (size_t i = 0; i < best_.scene.objects.size();) {
          SceneSpec cand = best_.scene;
          const size_t end = std::min(cand.objects.size(), i + chunk);
          // Backwards: removing an object shifts only the objects after it (its subtree among them).
          for (size_t k = end; k-- > i;) cand = WithoutObject(cand, static_cast<int>(k));
          if (!cand.objects.empty() && Try(cand, best_.steps))
            progress = true;
          else
            i += chunk;
          if (OutOfBudget()) return;
        }
        if (chunk == 1) break;
        chunk /= 2;
      }
    }
    SimplifyObjects();
  }

  void SimplifyObjects() {
    auto attempt = [&](const std::function<void(SceneSpec&)>& change) {
      SceneSpec cand = best_.scene;
      change(cand);
      Try(cand, best_.steps);
    };
    attempt([](SceneSpec& s) { s.stored_mode.reset(); });
    attempt([](SceneSpec& s) {
      s.foreign = false;
      for (ObjectSpec& o : s.objects) {
        if (o.link.kind == LinkSpec::kForeign) o.link = {};
        if (o.record && o.record->partner && o.record->partner->kind == LinkSpec::kForeign)
          o.record->partner = LinkSpec{};
      }
    });
    for (size_t k = best_.scene.selection.size(); k-- > 0 && !OutOfBudget();)
      attempt([k](SceneSpec& s) { if (k < s.selection.size()) s.selection.erase(s.selection.begin() + k); });
    for (size_t i = 0; i < best_.scene.objects.size() && !OutOfBudget(); ++i) {
      attempt([i](SceneSpec& s) {  // tags, and the links that named them
        s.objects[i].tags.clear();
        for (ObjectSpec& o : s.objects) {
          if (o.link.kind == LinkSpec::kTag && o.link.object == static_cast<int>(i)) o.link = {};
          if (o.record && o.record->partner && o.record->partner->kind == LinkSpec::kTag &&
              o.record->partner->object == static_cast<int>(i))
            o.record->partner = LinkSpec{};
        }
      });
      // Flatten: the object's children go up to its parent and it goes; or it moves to the top.
      attempt([i](SceneSpec& s) {
        for (ObjectSpec& o : s.objects)
          if (o.parent == static_cast<int>(i)) o.parent = s.objects[i].parent;
        s = WithoutObject(s, static_cast<int>(i));
      });
      if (i >= best_.scene.objects.size()) break;
      attempt([i](SceneSpec& s) { s.objects[i].parent = -1; });
      attempt([i](SceneSpec& s) { s.objects[i].record.reset(); });
      attempt([i](SceneSpec& s) { s.objects[i].link = {}; });
      attempt([i](SceneSpec& s) { s.objects[i].bits = 0; });
      attempt([i](SceneSpec& s) { s.objects[i].mode = 0; });
      attempt([i](SceneSpec& s) {
        for (double& d : s.objects[i].off) d = 0;
        s.objects[i].scale = 1;
      });
      attempt([i](SceneSpec& s) {
        if (!IsInstanceType(s.objects[i].type)) s.objects[i].type = standin::kOnull;
      });
    }
  }

  Runner run_;
  int max_runs_;
  double max_seconds_;
  std::chrono::steady_clock::time_point start_;
  Reduced best_;
  std::string signature_;
  int runs_ = 0;
};

}  // namespace

Reduced Shrink(const SceneSpec& scene, const std::vector<Step>& steps, const Outcome& failing,
               const Runner& run, int max_runs, double max_seconds) {
  return Shrinker(scene, steps, failing, run, max_runs, max_seconds).Run();
}

std::string ReproductionCpp(uint64_t seed, const Reduced& r) {
  std::ostringstream out;
  out << "// Seed " << seed << ": " << r.outcome.failure.signature << "\n";
  // What failed, the step and the difference; the whole scenes that follow are left out.
  std::istringstream detail(r.outcome.failure.detail);
  std::string line;
  for (int k = 0; k < 16 && std::getline(detail, line) && line.rfind("  scene before:", 0) != 0; ++k)
    out << "//   " << line << "\n";
  out << "TEST_F(Reproduction, Seed" << seed << ") {\n";
  out << "  standin::Host& h = host();\n";
  out << SceneToCpp(r.scene, "  ");
  for (const Step& s : r.steps) out << "  " << StepToCpp(s) << "\n";
  out << "}\n";
  return out.str();
}

}  // namespace reliability
