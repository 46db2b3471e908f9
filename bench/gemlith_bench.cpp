// gemlith_bench: every command of the module on scenes of 10^3 to 10^6 objects.
//
// Each benchmark picks a fixed selection and runs one untimed round; then per iteration it runs the
// command through the host's registry as the host does on a pick (Host::Call → the command's
// Execute), undoes the step and redoes it, each timed on its own, and finally undoes it again and
// drops the redo step (untimed) so that every iteration starts from the same scene. Times are the
// CPU time of this thread (the machine is shared). The reported time is Execute's; the counters
// give Execute, undo and redo per unit of work (per object of the scene for Select and Rename,
// whose walks cover the whole document, per selected object for the others) and the bytes the undo
// step holds. Select and Rename are also measured against k, the number of selected entries (1 to
// 1,000, at 10^5 and 10^6 objects), and a menu redraw (every entry's GetState) against the size of
// the selection. After the run follows a summary in Markdown: medians over the repetitions, the
// growth from 10^4 to 10^6 objects, the k table, and each target with its figure.
//
// Scenes of at most 10^4 objects are also compared whole (Host::Capture) before and after each
// benchmark, so a smoke run on the smallest size checks that undo gives back exactly the scene.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "bench_scene.h"
#include "c4d.h"
#include "ids.h"

#ifndef GEMLITH_RES_DIR
#define GEMLITH_RES_DIR "res"
#endif

namespace {

using bench::Marker;
using bench::Scene;

const size_t kSizes[] = {1000, 10000, 100000, 1000000};
constexpr size_t kVerifyUpTo = 10000;

// ---- the scene of the size being measured (one at a time: a million objects is a lot) ----

std::unique_ptr<Scene> g_scene;
bool g_failed = false;  // some benchmark stopped with an error: the program then fails too

void Fail(benchmark::State& state, const std::string& why) {
  g_failed = true;
  state.SkipWithError(why.c_str());
}

Scene& SceneOf(size_t objects) {
  if (!g_scene || g_scene->objects != objects) {
    g_scene.reset();  // the old scene leaves before the new one is built
    g_scene = bench::BuildScene(objects, GEMLITH_RES_DIR);
  }
  return *g_scene;
}

// ---- what each benchmark runs ----

enum class Unit { kObject, kSelected, kRun };

struct Case {
  const char* name;
  int32_t command;
  int32_t keys;
  Unit unit;
  bool undoable;  // the frame commands leave no undo step
  std::vector<Marker> (*selection)(const Scene&);
  const char* title;  // for the summary
  size_t min_objects = 0;  // measured on scenes of at least this many objects
  int k = 0;               // Select and Rename: the number of selected entries, for the k table
};

std::vector<Marker> OneReference(const Scene& s) { return {s.references[s.references.size() / 2]}; }
std::vector<Marker> TenReferences(const Scene& s) { return bench::Spread(s.references, 10); }
// k selected entries: references first (the scene has 300), then ordinary leaves without
// instances, each of which still costs a walk when every entry walks the document.
template <size_t k>
std::vector<Marker> Entries(const Scene& s) {
  std::vector<Marker> sel = bench::Spread(s.references, k);
  if (sel.size() < k) {
    const std::vector<Marker> more = bench::Spread(s.plain, k - sel.size(), 1);
    sel.insert(sel.end(), more.begin(), more.end());
  }
  return sel;
}
// 1,000 entries of which only one has instances: what the number of entries costs by itself, with
// the renames of a run with one reference.
std::vector<Marker> OneReferenceAmongThousand(const Scene& s) {
  std::vector<Marker> sel = OneReference(s);
  const std::vector<Marker> more = bench::Spread(s.plain, 999, 1);
  sel.insert(sel.end(), more.begin(), more.end());
  return sel;
}
std::vector<Marker> ThousandPlain(const Scene& s) { return bench::Spread(s.plain, 1000); }
std::vector<Marker> ThousandPlainThenReference(const Scene& s) {
  std::vector<Marker> sel = bench::Spread(s.plain, 999);
  sel.push_back(s.references.front());  // selected last: what the others are replaced by
  return sel;
}
std::vector<Marker> ThousandInstances(const Scene& s) { return bench::Spread(s.instances, 1000); }
std::vector<Marker> HundredInstances(const Scene& s) { return bench::Spread(s.instances, 100, 7); }
std::vector<Marker> OneSwapInstance(const Scene& s) { return {s.swap_instances.front()}; }

constexpr size_t kLarge = 100000;  // the k axis is measured at 10^5 and 10^6 objects

const Case kCases[] = {
    {"Select/refs:1", ID_GEMLITH_SELECT, 0, Unit::kObject, true, OneReference,
     "Select, 1 reference", 0, 1},
    {"Select/refs:1/ctrl", ID_GEMLITH_SELECT, standin::kQCtrl, Unit::kObject, true, OneReference,
     "Select, 1 reference, Ctrl", 0, 1},
    {"Select/refs:10", ID_GEMLITH_SELECT, 0, Unit::kObject, true, TenReferences,
     "Select, 10 references", 0, 10},
    {"Select/refs:10/ctrl", ID_GEMLITH_SELECT, standin::kQCtrl, Unit::kObject, true, TenReferences,
     "Select, 10 references, Ctrl", 0, 10},
    {"Select/refs:100", ID_GEMLITH_SELECT, 0, Unit::kObject, true, Entries<100>,
     "Select, 100 references", kLarge, 100},
    {"Select/refs:100/ctrl", ID_GEMLITH_SELECT, standin::kQCtrl, Unit::kObject, true,
     Entries<100>, "Select, 100 references, Ctrl", kLarge, 100},
    {"Select/refs:1000", ID_GEMLITH_SELECT, 0, Unit::kObject, true, Entries<1000>,
     "Select, 1,000 entries", kLarge, 1000},
    {"Select/refs:1000/ctrl", ID_GEMLITH_SELECT, standin::kQCtrl, Unit::kObject, true,
     Entries<1000>, "Select, 1,000 entries, Ctrl", kLarge, 1000},
    {"Rename/refs:1", ID_GEMLITH_RENAME, 0, Unit::kObject, true, OneReference,
     "Rename, 1 reference", 0, 1},
    {"Rename/refs:1/ctrl", ID_GEMLITH_RENAME, standin::kQCtrl, Unit::kObject, true, OneReference,
     "Rename, 1 reference, Ctrl", 0, 1},
    {"Rename/refs:10", ID_GEMLITH_RENAME, 0, Unit::kObject, true, TenReferences,
     "Rename, 10 references", 0, 10},
    {"Rename/refs:10/ctrl", ID_GEMLITH_RENAME, standin::kQCtrl, Unit::kObject, true, TenReferences,
     "Rename, 10 references, Ctrl", 0, 10},
    {"Rename/refs:100", ID_GEMLITH_RENAME, 0, Unit::kObject, true, Entries<100>,
     "Rename, 100 references", kLarge, 100},
    {"Rename/refs:100/ctrl", ID_GEMLITH_RENAME, standin::kQCtrl, Unit::kObject, true,
     Entries<100>, "Rename, 100 references, Ctrl", kLarge, 100},
    {"Rename/refs:1000", ID_GEMLITH_RENAME, 0, Unit::kObject, true, Entries<1000>,
     "Rename, 1,000 entries", kLarge, 1000},
    {"Rename/refs:1000/ctrl", ID_GEMLITH_RENAME, standin::kQCtrl, Unit::kObject, true,
     Entries<1000>, "Rename, 1,000 entries, Ctrl", kLarge, 1000},
    {"Rename/refs:1+999", ID_GEMLITH_RENAME, 0, Unit::kObject, true, OneReferenceAmongThousand,
     "Rename, 1,000 entries, 1 reference among them", kLarge, 0},
    {"Create/sel:1000", ID_GEMLITH_CREATE, 0, Unit::kSelected, true, ThousandPlain,
     "Create, 1,000 objects"},
    {"Create/sel:1000/ctrl", ID_GEMLITH_CREATE, standin::kQCtrl, Unit::kSelected, true,
     ThousandPlainThenReference, "Create, 1,000 objects, Ctrl"},
    {"MakeEditable/sel:1000", ID_GEMLITH_MAKEEDITABLE, 0, Unit::kSelected, true, ThousandInstances,
     "Make editable, 1,000 instances"},
    {"Split/sel:100", ID_GEMLITH_SPLIT, 0, Unit::kSelected, true, HundredInstances,
     "Split, 100 instances"},
    {"Swap", ID_GEMLITH_SWAP, 0, Unit::kRun, true, OneSwapInstance,
     "Swap (reference with 100 instances)"},
    {"FrameObjects/sel:1000", ID_GEMLITH_FRAMEOBJECTS, 0, Unit::kSelected, false,
     ThousandInstances, "Frame objects, 1,000 instances"},
    {"FrameElements/sel:1000", ID_GEMLITH_FRAMEELEMENTS, 0, Unit::kSelected, false,
     ThousandInstances, "Frame elements, 1,000 instances"},
};

// ---- results, kept for the summary ----

struct Result {
  double exec_ns = 0, undo_ns = 0, redo_ns = 0;  // per run, not per unit
  double units = 1;
  size_t step_bytes = 0, step_entries = 0;
  int64_t iterations = 0;
};
// Every run of every benchmark: Google Benchmark first tries a few iteration counts, then runs the
// one it settled on (once per repetition); the summary takes the median of the latter.
std::map<std::string, std::map<size_t, std::vector<Result>>> g_runs;
std::map<std::string, std::map<size_t, Result>> g_results;
struct SceneResult {
  double build_ns_per_object = 0;
  double bytes_per_object = 0;
};
std::map<size_t, SceneResult> g_scenes;

double Ns(double a, double b) { return b - a; }

void BM_Scene(benchmark::State& state, size_t objects) {
  for (auto _ : state) {
    g_scene.reset();
    Scene& s = SceneOf(objects);
    state.SetIterationTime(s.build_ns * 1e-9);
    benchmark::DoNotOptimize(s.objects);
  }
  const Scene& s = *g_scene;
  SceneResult r;
  r.build_ns_per_object = s.build_ns / static_cast<double>(s.objects);
  r.bytes_per_object = static_cast<double>(s.held_bytes) / static_cast<double>(s.objects);
  g_scenes[objects] = r;
  state.counters["objects"] = static_cast<double>(s.objects);
  state.counters["build_ns/object"] = r.build_ns_per_object;
  state.counters["bytes/object"] = r.bytes_per_object;
}

void BM_Command(benchmark::State& state, const Case& c, size_t objects) {
  Scene& s = SceneOf(objects);
  standin::Host& host = *s.host;
  std::vector<GmNode*> selection;
  for (Marker m : c.selection(s)) selection.push_back(host.Find(m));
  host.Select(selection);
  host.SetQualifiers(c.keys);
  host.ClearCodingErrors();
  const bool verify = s.objects <= kVerifyUpTo && c.undoable;
  standin::SceneSnapshot before;
  if (verify) before = host.Capture();

  Result r;
  r.units = c.unit == Unit::kObject     ? static_cast<double>(s.objects)
            : c.unit == Unit::kSelected ? static_cast<double>(selection.size())
                                        : 1.0;
  // One untimed round first: the first run after building a scene meets cold caches and memory
  // the process has not used yet, which says more about the machine than about the command.
  if (host.Call(c.command).result && c.undoable) {
    host.Undo();
    host.DropRedo();
  }

  double exec = 0, undo = 0, redo = 0;
  for (auto _ : state) {
    const auto t0 = bench::Now();
    const standin::RunResult run = host.Call(c.command);
    const auto t1 = bench::Now();
    if (!run.result) {
      Fail(state, "the command returned false");
      break;
    }
    exec += Ns(t0, t1);
    state.SetIterationTime(Ns(t0, t1) * 1e-9);
    if (!c.undoable) continue;
    if (r.step_entries == 0) {  // every run records the same step: measured once
      const standin::UndoStepSize step = host.NewestUndoStep();
      r.step_bytes = step.bytes;
      r.step_entries = step.entries;
    }
    const auto t2 = bench::Now();
    host.Undo();
    const auto t3 = bench::Now();
    host.Redo();
    const auto t4 = bench::Now();
    undo += Ns(t2, t3);
    redo += Ns(t3, t4);
    // Back to the scene the iteration started from, with no redo step left for the next run to
    // drop inside its own time.
    host.Undo();
    host.DropRedo();
  }
  host.SetQualifiers(0);
  if (!host.CodingErrors().empty()) {
    Fail(state, "coding error: " + host.CodingErrors().front());
    return;
  }
  if (verify) {
    const standin::SceneSnapshot after = host.Capture();
    if (after != before) {
      std::fprintf(stderr, "%s", standin::Diff(before, after).c_str());
      Fail(state, "undo did not give back the scene");
      return;
    }
  }

  const double n = static_cast<double>(state.iterations());
  r.exec_ns = exec / n;
  r.undo_ns = undo / n;
  r.redo_ns = redo / n;
  r.iterations = state.iterations();
  g_runs[c.name][objects].push_back(r);
  state.counters["objects"] = static_cast<double>(s.objects);
  state.counters["units"] = r.units;
  state.counters["exec_ns/unit"] = r.exec_ns / r.units;
  if (c.undoable) {
    state.counters["undo_ns/unit"] = r.undo_ns / r.units;
    state.counters["redo_ns/unit"] = r.redo_ns / r.units;
    state.counters["step_bytes/unit"] = static_cast<double>(r.step_bytes) / r.units;
    state.counters["step_entries"] = static_cast<double>(r.step_entries);
  }
}

// The floor under Select and Rename: the same document-order walk (down, else the next sibling of
// the object or of its nearest ancestor) and one type query per object, through the host's table,
// with no command around it. Its growth from 10^4 to 10^6 objects is what the memory system alone
// costs a walk.
void BM_Walk(benchmark::State& state, size_t objects) {
  Scene& s = SceneOf(objects);
  const GmHostApi* api = s.host->Api();
  GmDoc* doc = s.host->ActiveDocument();
  Result r;
  r.units = static_cast<double>(s.objects);
  double exec = 0;
  for (auto _ : state) {
    const auto t0 = bench::Now();
    size_t visited = 0;
    int64_t types = 0;
    for (GmNode* op = api->doc_get_first_object(doc); op;) {
      ++visited;
      types += api->node_get_type(op);
      if (GmNode* down = api->node_get_down(op)) {
        op = down;
        continue;
      }
      for (;;) {
        if (GmNode* next = api->node_get_next(op)) {
          op = next;
          break;
        }
        op = api->node_get_up(op);
        if (!op) break;
      }
    }
    const auto t1 = bench::Now();
    benchmark::DoNotOptimize(types);
    if (visited != s.objects) {
      Fail(state, "the walk missed objects");
      break;
    }
    exec += Ns(t0, t1);
    state.SetIterationTime(Ns(t0, t1) * 1e-9);
  }
  r.exec_ns = exec / static_cast<double>(state.iterations());
  r.iterations = state.iterations();
  g_runs["Walk"][objects].push_back(r);
  state.counters["objects"] = static_cast<double>(s.objects);
  state.counters["exec_ns/unit"] = r.exec_ns / r.units;
}

// A menu redraw: the host asks every entry's GetState, each of which reads the selection. Timed
// per selected object, with 1,000 instances and with every instance of the scene selected.
struct MenuCase {
  const char* name;
  std::vector<Marker> (*selection)(const Scene&);
  const char* title;
};
std::vector<Marker> AllInstances(const Scene& s) { return s.instances; }
const MenuCase kMenuCases[] = {
    {"Menu/sel:1000", ThousandInstances, "Menu redraw, 1,000 instances selected"},
    {"Menu/sel:all", AllInstances, "Menu redraw, every instance selected"},
};

void BM_Menu(benchmark::State& state, const MenuCase& c, size_t objects) {
  Scene& s = SceneOf(objects);
  standin::Host& host = *s.host;
  std::vector<GmNode*> selection;
  for (Marker m : c.selection(s)) selection.push_back(host.Find(m));
  host.Select(selection);
  Result r;
  r.units = static_cast<double>(selection.size());
  double exec = 0;
  size_t enabled = 0;
  for (auto _ : state) {
    const auto t0 = bench::Now();
    const std::vector<standin::MenuEntry> menu = host.Menu();
    const auto t1 = bench::Now();
    enabled = static_cast<size_t>(std::count_if(
        menu.begin(), menu.end(), [](const standin::MenuEntry& e) { return e.enabled; }));
    exec += Ns(t0, t1);
    state.SetIterationTime(Ns(t0, t1) * 1e-9);
  }
  host.Select({});
  if (enabled == 0) Fail(state, "no entry enabled with a selection");
  r.exec_ns = exec / static_cast<double>(state.iterations());
  r.iterations = state.iterations();
  g_runs[c.name][objects].push_back(r);
  state.counters["units"] = r.units;
  state.counters["exec_ns/unit"] = r.exec_ns / r.units;
}

// ---- the summary ----

std::string Time(double ns) {
  char buf[32];
  if (ns < 1e3)
    std::snprintf(buf, sizeof buf, "%.0f ns", ns);
  else if (ns < 1e6)
    std::snprintf(buf, sizeof buf, "%.1f µs", ns / 1e3);
  else
    std::snprintf(buf, sizeof buf, "%.1f ms", ns / 1e6);
  return buf;
}

std::string Bytes(double b) {
  char buf[32];
  if (b < 1024)
    std::snprintf(buf, sizeof buf, "%.0f B", b);
  else if (b < 1024 * 1024)
    std::snprintf(buf, sizeof buf, "%.1f KiB", b / 1024);
  else
    std::snprintf(buf, sizeof buf, "%.1f MiB", b / (1024 * 1024));
  return buf;
}

const char* UnitName(Unit u) {
  switch (u) {
    case Unit::kObject: return "per object";
    case Unit::kSelected: return "per selected";
    case Unit::kRun: return "per run";
  }
  return "";
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// The median of the runs made with the settled iteration count, per benchmark.
void TakeMedians() {
  for (const auto& [name, by_size] : g_runs) {
    for (const auto& [n, runs] : by_size) {
      int64_t most = 0;
      for (const Result& r : runs) most = std::max(most, r.iterations);
      std::vector<double> exec, undo, redo;
      for (const Result& r : runs) {
        if (r.iterations != most) continue;
        exec.push_back(r.exec_ns);
        undo.push_back(r.undo_ns);
        redo.push_back(r.redo_ns);
      }
      Result m = runs.back();
      m.exec_ns = Median(exec);
      m.undo_ns = Median(undo);
      m.redo_ns = Median(redo);
      g_results[name][n] = m;
    }
  }
}

// The cells of one row: the time per unit at each size, then the growth from 10^4 to 10^6.
void PrintTimesAndGrowth(const std::map<size_t, Result>& by_size) {
  for (size_t n : kSizes) {
    auto r = by_size.find(n);
    const std::string t = r == by_size.end() ? "" : Time(r->second.exec_ns / r->second.units);
    std::printf(" %s |", t.c_str());
  }
  auto small = by_size.find(10000), large = by_size.find(1000000);
  if (small != by_size.end() && large != by_size.end())
    std::printf(" %.1f |", large->second.exec_ns / small->second.exec_ns);
  else
    std::printf(" |");
}

// One row of the k table: the run at 10^5 and 10^6 objects, per entry, and against `one`'s run.
void PrintKRow(const Case& c, const std::map<size_t, Result>& by_size,
               const std::map<size_t, Result>* one) {
  const size_t sizes[] = {100000, 1000000};
  if (!by_size.count(sizes[0]) && !by_size.count(sizes[1])) return;
  std::printf("| %s%s | %d |", c.command == ID_GEMLITH_SELECT ? "Select" : "Rename",
              c.keys ? ", Ctrl" : "", c.k);
  for (size_t n : sizes) {
    auto r = by_size.find(n);
    if (r == by_size.end()) {
      std::printf(" | | |");
      continue;
    }
    const double run = r->second.exec_ns;
    std::printf(" %s | %s |", Time(run).c_str(), Time(run / c.k).c_str());
    auto base = one ? one->find(n) : by_size.end();
    if (one && base != one->end())
      std::printf(" %.2f |", run / base->second.exec_ns);
    else
      std::printf(" |");
  }
  std::printf("\n");
}

// Select and Rename against k, the number of selected entries: the whole run, the run per entry,
// and the run against the same command's run with k = 1 in the same scene.
void PrintKTable() {
  std::printf("\n### Select and Rename by the number of selected entries k\n\n");
  std::printf("| command | k | 10^5: run | per entry | × k=1 | 10^6: run | per entry | × k=1 |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
  for (int32_t command : {ID_GEMLITH_SELECT, ID_GEMLITH_RENAME}) {
    for (int32_t keys : {0, standin::kQCtrl}) {
      const std::map<size_t, Result>* one = nullptr;  // the same command and keys with k = 1
      for (const Case& c : kCases) {
        auto it = g_results.find(c.name);
        if (c.command != command || c.keys != keys || c.k == 0 || it == g_results.end()) continue;
        if (c.k == 1) one = &it->second;
        PrintKRow(c, it->second, one);
      }
    }
  }
}

void PrintSummary() {
  TakeMedians();
  std::printf("\n### Per step and unit of work\n\n");
  std::printf("| command | unit | 10^3 | 10^4 | 10^5 | 10^6 | growth 10^4→10^6 | undo | redo |"
              " undo step |\n");
  std::printf("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const Case& c : kCases) {
    auto it = g_results.find(c.name);
    if (it == g_results.end()) continue;
    const auto& by_size = it->second;
    std::printf("| %s | %s |", c.title, UnitName(c.unit));
    PrintTimesAndGrowth(by_size);
    // Undo, redo and the step's bytes at the largest size measured.
    const Result& last = by_size.rbegin()->second;
    if (c.undoable)
      std::printf(" %s | %s | %s (%zu entries) |\n", Time(last.undo_ns / last.units).c_str(),
                  Time(last.redo_ns / last.units).c_str(),
                  Bytes(static_cast<double>(last.step_bytes) / last.units).c_str(),
                  last.step_entries);
    else
      std::printf(" no step | no step | none |\n");
  }
  if (auto it = g_results.find("Walk"); it != g_results.end()) {
    const auto& by_size = it->second;
    std::printf("| (the bare walk through the host table, no command) | per object |");
    PrintTimesAndGrowth(by_size);
    std::printf(" | | |\n");
  }
  for (const MenuCase& c : kMenuCases) {
    auto it = g_results.find(c.name);
    if (it == g_results.end()) continue;
    std::printf("| %s | per selected |", c.title);
    PrintTimesAndGrowth(it->second);
    std::printf(" | | |\n");
  }
  std::printf("\nUndo, redo and undo step at the largest size measured, per the same unit.\n");

  PrintKTable();

  if (!g_scenes.empty()) {
    std::printf("\n### Scenes\n\n| objects | built in, per object | stand-in heap per object |\n");
    std::printf("|---:|---:|---:|\n");
    for (const auto& [n, r] : g_scenes)
      std::printf("| %zu | %s | %s |\n", n, Time(r.build_ns_per_object).c_str(),
                  Bytes(r.bytes_per_object).c_str());
  }

  // The targets, where the run covered them.
  std::printf("\n### Targets\n\n");
  auto result = [](const char* name, size_t n) -> const Result* {
    auto it = g_results.find(name);
    if (it == g_results.end()) return nullptr;
    auto r = it->second.find(n);
    return r == it->second.end() ? nullptr : &r->second;
  };
  for (const Case& c : kCases) {
    const Result* small = result(c.name, 10000);
    const Result* large = result(c.name, 1000000);
    if (!small || !large) continue;
    const double limit = c.unit == Unit::kObject ? 110 : 3;
    const double growth = large->exec_ns / small->exec_ns;
    std::printf("- %s: growth %.1f (at most %.0f) %s\n", c.title, growth, limit,
                growth <= limit ? "met" : "MISSED");
  }
  for (const char* name : {"Select/refs:1", "Rename/refs:1"}) {
    if (const Result* r = result(name, 1000000)) {
      const double per = r->exec_ns / r->units;
      std::printf("- %s on 10^6: %.0f ns per object (at most 100) %s; undo %.0f, redo %.0f ns per "
                  "object (no slower than the command) %s\n",
                  name, per, per <= 100 ? "met" : "MISSED", r->undo_ns / r->units,
                  r->redo_ns / r->units,
                  r->undo_ns <= r->exec_ns && r->redo_ns <= r->exec_ns ? "met" : "MISSED");
    }
  }
  for (const char* name : {"Select", "Rename"}) {
    for (const char* keys : {"", "/ctrl"}) {
      const Result* one = result((std::string(name) + "/refs:1" + keys).c_str(), 1000000);
      const Result* many = result((std::string(name) + "/refs:1000" + keys).c_str(), 1000000);
      if (!one || !many) continue;
      const double ratio = many->exec_ns / one->exec_ns;
      std::printf("- %s%s on 10^6, k = 1,000 against k = 1: %.2f times (at most 3) %s\n", name,
                  *keys ? " with Ctrl" : "", ratio, ratio <= 3 ? "met" : "MISSED");
    }
  }
  if (const Result* one = result("Rename/refs:1", 1000000)) {
    if (const Result* many = result("Rename/refs:1+999", 1000000))
      std::printf("- Rename on 10^6, 1,000 entries with the renames of one reference, against one "
                  "reference: %.2f times\n",
                  many->exec_ns / one->exec_ns);
  }
  for (const char* name : {"MakeEditable/sel:1000", "Create/sel:1000/ctrl"}) {
    if (const Result* r = result(name, 100000))
      std::printf("- %s on 10^5: %s (under 50 ms) %s\n", name, Time(r->exec_ns).c_str(),
                  r->exec_ns < 50e6 ? "met" : "MISSED");
  }
  for (const auto& [n, r] : g_scenes)
    std::printf("- stand-in heap at %zu objects: %s per object (at most 1 KiB) %s\n", n,
                Bytes(r.bytes_per_object).c_str(), r.bytes_per_object <= 1024 ? "met" : "MISSED");
  if (const Result* r = result("Select/refs:1", 1000000)) {
    std::printf("- undo step of Select on 10^6, all BITS entries: %.2f bytes per entry (an entry "
                "is 32 bytes; the rest is the step's list of blocks) %s\n",
                static_cast<double>(r->step_bytes) / static_cast<double>(r->step_entries),
                static_cast<double>(r->step_bytes) <= 32.1 * static_cast<double>(r->step_entries)
                    ? "met"
                    : "MISSED");
  }
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // Keep freed memory in the process, as a host that has run for a while would have it: by default
  // the C library hands every large block back to the system at once, and each run would pay again
  // for fresh zeroed pages for its undo step.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  for (size_t n : kSizes) {
    const std::string size = "/objects:" + std::to_string(n);
    benchmark::RegisterBenchmark(("Scene" + size).c_str(), BM_Scene, n)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Walk" + size).c_str(), BM_Walk, n)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    for (const MenuCase& c : kMenuCases) {
      benchmark::RegisterBenchmark((std::string(c.name) + size).c_str(), BM_Menu, c, n)
          ->UseManualTime()
          ->Unit(benchmark::kMicrosecond);
    }
    for (const Case& c : kCases) {
      if (n < c.min_objects) continue;
      benchmark::RegisterBenchmark((std::string(c.name) + size).c_str(), BM_Command, c, n)
          ->UseManualTime()
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_scene.reset();
  PrintSummary();
  return g_failed ? 1 : 0;
}
