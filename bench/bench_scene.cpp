#include "bench_scene.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "c4d.h"

namespace bench {

namespace {

// A small deterministic generator (splitmix64): the same size always gives the same scene.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t operator()() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>((*this)() % n); }

 private:
  uint64_t state_;
};

constexpr int kSubgroupsPerGroup = 10;
constexpr int kLeavesPerSubgroup = 20;
constexpr size_t kMaxReferences = 300;

class Builder {
 public:
  Builder(standin::Host& host, size_t budget) : host_(host), budget_(budget) {}

  bool Full() const { return made_ >= budget_; }
  size_t Made() const { return made_; }

  // A new object named like "Cube.17" (short enough to need no heap for its name).
  GmNode* Add(int32_t type, const char* base, GmNode* parent) {
    ++made_;
    return host_.AddObject(type, std::string(base) + "." + std::to_string(made_), parent);
  }

 private:
  standin::Host& host_;
  size_t budget_;
  size_t made_ = 0;
};

}  // namespace

double Now() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
#else
  return std::chrono::duration<double, std::nano>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
#endif
}

size_t HeapInUse() {
#if defined(__GLIBC__)
  const struct mallinfo2 mi = mallinfo2();
  return mi.uordblks + mi.hblkhd;
#else
  return 0;
#endif
}

std::vector<Marker> Spread(const std::vector<Marker>& from, size_t count, size_t offset) {
  if (from.empty()) return {};
  count = std::min(count, from.size());
  std::vector<Marker> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i)
    out.push_back(from[(i * from.size() / count + offset) % from.size()]);
  return out;
}

std::unique_ptr<Scene> BuildScene(size_t objects, const char* res_path) {
  auto s = std::make_unique<Scene>();
  standin::HostOptions options;
  options.res_path = res_path;
  options.log_undo_entries = false;  // the tests' list of entries is no part of the host's work
  s->host = std::make_unique<standin::Host>(options);
  standin::Host& host = *s->host;
  host.LoadLinkedModule(&c4d_main, "gemlith_r21");
  const size_t heap_before = HeapInUse();
  const double t0 = Now();

  Rng rng(objects);
  const size_t swap_set = 1 + kSwapInstances;
  Builder b(host, objects > 2 * swap_set ? objects - swap_set : objects / 2);
  std::vector<GmNode*> subgroups, instances, plain;
  while (!b.Full()) {
    GmNode* group = b.Add(standin::kOnull, "Group", nullptr);
    for (int g = 0; g < kSubgroupsPerGroup && !b.Full(); ++g) {
      GmNode* sub = b.Add(standin::kOnull, "Null", group);
      subgroups.push_back(sub);
      for (int leaf = 0; leaf < kLeavesPerSubgroup && !b.Full(); ++leaf) {
        const double x = static_cast<double>(rng.Below(2000)) - 1000.0;
        const uint64_t kind = rng.Below(100);
        GmNode* obj = nullptr;
        if (kind < 55) {
          obj = b.Add(standin::kOinstance, "Instance", sub);
          host.SetMode(obj, static_cast<int32_t>(rng.Below(3)));
          instances.push_back(obj);
          if (rng.Below(20) == 0 && !b.Full()) b.Add(standin::kOcube, "Detail", obj);
        } else {
          const bool cube = kind < 80;
          obj = b.Add(cube ? standin::kOcube : standin::kOsphere, cube ? "Cube" : "Sphere", sub);
          plain.push_back(obj);
          if (rng.Below(10) == 0 && !b.Full()) b.Add(standin::kOsphere, "Part", obj);
        }
        host.SetMatrix(obj, standin::TranslationMatrix(x, 0, static_cast<double>(leaf) * 10));
      }
    }
  }

  // References evenly among the ordinary leaves; the other ordinary leaves stay plain.
  const size_t count = std::min(kMaxReferences, std::max<size_t>(10, objects / 30));
  std::vector<GmNode*> refs;
  std::vector<char> is_ref(plain.size(), 0);
  for (size_t i = 0; i < count && i < plain.size(); ++i) {
    const size_t k = i * plain.size() / count;
    is_ref[k] = 1;
    refs.push_back(plain[k]);
    s->references.push_back(standin::Host::MarkerOf(plain[k]));
  }
  for (size_t i = 0; i < plain.size(); ++i)
    if (!is_ref[i]) s->plain.push_back(standin::Host::MarkerOf(plain[i]));

  // Links: mostly straight to a reference, some through one or two further instances.
  std::vector<GmNode*> direct, chained;
  for (GmNode* inst : instances) {
    const uint64_t r = rng.Below(100);
    if (r < 1 && !chained.empty()) {
      host.SetLink(inst, chained[rng.Below(chained.size())]);
      chained.push_back(inst);
    } else if (r < 7 && !direct.empty()) {
      host.SetLink(inst, direct[rng.Below(direct.size())]);
      chained.push_back(inst);
    } else {
      host.SetLink(inst, refs[rng.Below(refs.size())]);
      direct.push_back(inst);
    }
  }
  for (GmNode* n : direct) s->direct.push_back(standin::Host::MarkerOf(n));
  for (GmNode* n : chained) s->chained.push_back(standin::Host::MarkerOf(n));
  for (GmNode* n : instances) s->instances.push_back(standin::Host::MarkerOf(n));

  // The swap set: a top-level reference whose instances lie all over the tree.
  GmNode* swap_ref = host.AddObject(standin::kOcube, "SwapRef");
  s->swap_reference = standin::Host::MarkerOf(swap_ref);
  for (size_t i = 0; i < kSwapInstances && b.Made() + 1 + i < objects; ++i) {
    GmNode* parent = subgroups.empty() ? nullptr : subgroups[i * subgroups.size() / kSwapInstances];
    GmNode* inst = host.AddObject(standin::kOinstance, "SwapInstance." + std::to_string(i), parent);
    host.SetLink(inst, swap_ref);
    s->swap_instances.push_back(standin::Host::MarkerOf(inst));
  }
  s->objects = b.Made() + 1 + s->swap_instances.size();
  s->build_ns = Now() - t0;
  const size_t heap_after = HeapInUse();
  s->held_bytes = heap_after > heap_before ? heap_after - heap_before : 0;
  return s;
}

}  // namespace bench
