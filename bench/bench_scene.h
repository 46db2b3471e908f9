// The scenes the benchmarks run on: a production-like mix of a given number of objects, built
// through the stand-in's scene-building calls (no command, no undo), so that even a million objects
// take well under a second.
#ifndef GEMLITH_BENCH_SCENE_H
#define GEMLITH_BENCH_SCENE_H

#include <cstddef>
#include <memory>
#include <vector>

#include "standin/host.h"

namespace bench {

using standin::Marker;

// What one scene holds, by marker: nodes are looked up anew with Host::Find, since an undo may
// rebuild an object under the same marker at another address.
struct Scene {
  std::unique_ptr<standin::Host> host;
  size_t objects = 0;              // every object of the document
  std::vector<Marker> references;  // the few hundred objects the instances show
  std::vector<Marker> plain;       // ordinary leaves that are no reference
  std::vector<Marker> direct;      // instances linked straight to a reference
  std::vector<Marker> chained;     // instances linked to another instance
  std::vector<Marker> instances;   // every instance above (not the swap set), in document order
  Marker swap_reference = 0;       // a reference with exactly kSwapInstances instances...
  std::vector<Marker> swap_instances;  // ...these, spread over the tree
  size_t held_bytes = 0;           // heap the stand-in took for the scene (0 when not measurable)
  double build_ns = 0;             // time taken to build the objects (CPU time where available)
};

constexpr size_t kSwapInstances = 100;

// Builds `objects` objects into a fresh host with the module linked in (its strings from
// `res_path`). The tree: top-level groups of ten sub-groups of twenty leaves, some leaves with a
// child (three to four levels). About half of all objects are instances; 300 references (fewer in
// small scenes) chosen evenly among the ordinary leaves; 6% of the instances link to a direct
// instance and 1% to a chained one, so that chains of two and three links occur. The same size
// always gives the same scene.
std::unique_ptr<Scene> BuildScene(size_t objects, const char* res_path);

// Bytes the process has taken from the heap so far (0 where the C library cannot tell).
size_t HeapInUse();

// This thread's CPU time in nanoseconds (the wall clock where there is no such clock).
double Now();

// `count` markers taken evenly from `from` (all of them when it holds fewer), in its order.
std::vector<Marker> Spread(const std::vector<Marker>& from, size_t count, size_t offset = 0);

}  // namespace bench

#endif
