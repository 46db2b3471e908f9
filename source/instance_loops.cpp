#include "instance_loops.h"

#include <vector>

#include "instance_ops.h"

namespace {

// One object on the walk's path: the successors not yet taken (its link first, then its children).
struct Step {
  BaseObject* node;
  BaseObject* nextChild;
  Bool linkTaken;
  Bool loops;
};

}  // namespace

// A depth-first walk without recursion (hierarchies and chains may be deep), colouring each object:
// on the path, known to loop, known to end. An object loops when a successor is on the path (the
// walk came back to it) or loops itself; it ends when every successor ends.
Bool InstanceLoops::Loops(BaseObject* op) {
  if (!op) return false;
  const auto known = _state.find(op);
  if (known != _state.end()) return known->second != State::kEnds;

  std::vector<Step> path;
  const auto enter = [&](BaseObject* node) {
    _state[node] = State::kOnPath;
    path.push_back(Step{node, node->GetDown(), false, false});
  };
  enter(op);
  while (!path.empty()) {
    Step& step = path.back();
    BaseObject* next = nullptr;
    if (!step.linkTaken) {
      step.linkTaken = true;
      next = GetReferenceObject(step.node, false);  // null for an object that is no instance
    } else if (step.nextChild) {
      next = step.nextChild;
      step.nextChild = next->GetNext();
    } else {
      const Bool loops = step.loops;
      _state[step.node] = loops ? State::kLoops : State::kEnds;
      path.pop_back();
      if (loops && !path.empty()) path.back().loops = true;
      continue;
    }
    if (!next) continue;
    const auto seen = _state.find(next);
    if (seen == _state.end())
      enter(next);  // `step` is not used again: the push may move it
    else if (seen->second != State::kEnds)
      step.loops = true;
  }
  return _state[op] == State::kLoops;
}
