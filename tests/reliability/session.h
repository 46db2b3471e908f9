// One run of the sequence tester: a stand-in host with the module loaded, a scene, and the steps,
// each followed by the whole-scene checks.
//
// After every step:
//   - the object tree of every document is consistent and only live objects are reachable,
//     no object lies outside a document without undo holding it, no undo group is left open;
//   - the host recorded no coding error;
//   - a command that answered false left every document exactly as it was, refreshed nothing
//     and showed nothing;
//   - a command that recorded an undo step is undone by one undo exactly to the scene before it
//     and redone by one redo exactly to the scene after it; a command that recorded none left the
//     scene unchanged. The frame commands restore the modes themselves: their scene must equal the
//     one before apart from the records they write on the selected instance objects;
//   - an undo or redo step is reversed exactly by the opposite step.
#ifndef GEMLITH_TESTS_RELIABILITY_SESSION_H
#define GEMLITH_TESTS_RELIABILITY_SESSION_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scene.h"
#include "standin/host.h"
#include "steps.h"

namespace reliability {

struct Counters {
  uint64_t seeds = 0;
  uint64_t steps = 0;
  uint64_t commands = 0;          // command steps whose Execute ran
  uint64_t undo_round_trips = 0;  // undo + redo pairs compared with whole scenes
  uint64_t faults = 0;            // faults injected
  uint64_t reloads = 0;
  uint64_t objects = 0;           // objects of the generated scenes
  // What shows that the runs did work: the command steps that answered true, by command id, and
  // the injected faults the host delivered (an armed fault the step never reached counts not).
  std::map<int32_t, uint64_t> succeeded;
  std::map<Fault, uint64_t> faults_taken;

  void Add(const Counters& o);
  std::string ToString() const;
};

// What went wrong. `signature` is short and stable (what failed, in which kind of step), so the
// shrinker can tell the same failure from another one; `detail` is for people.
struct Failure {
  std::string signature;
  std::string detail;
  bool failed() const { return !signature.empty(); }
};

class Session {
 public:
  // A host with the module linked in and loaded, and an empty active document.
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  standin::Host& host() { return *host_; }
  // Whether the module loaded (a failure here is reported by the first Apply).
  const Failure& load_failure() const { return load_failure_; }

  void Build(const SceneSpec& scene);
  // Runs the step and the checks after it.
  Failure Apply(const Step& step);

  const Counters& counters() const { return counters_; }

 private:
  struct Before;
  Before Take();
  Failure ApplyCommand(const Step& step);
  Failure ApplyUndoRedo(const Step& step);
  Failure ApplyQuiet(const Step& step);  // steps that must not touch any document
  Failure CheckCommon(const std::string& where);
  Failure CheckOtherDocuments(const Before& before, const std::string& where);
  void Arm(Fault fault, int nth);
  void Disarm();
  bool Reload(Fault fault, int nth, standin::LoadResult* result);

  std::unique_ptr<standin::Host> host_;
  Failure load_failure_;
  Counters counters_;
  Fault armed_ = Fault::kNone;
  int delivered_when_armed_ = 0;  // the host's count of delivered faults when armed_ was armed
  int registration_calls_ = 0;  // registrations the host has been asked for, over all loads
};

// Whole-tree consistency of one document, through the host's own structures: parent, child and
// sibling links agree, nothing lies under itself or in two places, every object reachable is
// alive in the host's registry with its tags. "" when all holds.
std::string CheckTree(standin::Host& host, GmDoc* doc);

}  // namespace reliability

#endif  // GEMLITH_TESTS_RELIABILITY_SESSION_H
