// Select and Rename walk the document once and replay what a walk per entry would do. Here both
// forms run on the sequence tester's random scenes (fixed seeds), each with its own selection and
// with up to kMoreSelected objects selected in a random order, for every key combination: the
// results, the scenes after the run and the undo entries in order must be the same, and undo must
// give back the scene from before. Where the per-entry form showed the chain-limit message at all,
// the module shows it exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "ids.h"
#include "per_entry_commands.h"
#include "runner.h"
#include "scene.h"
#include "session.h"

namespace reliability {
namespace {

// CI's share: a few seconds in the normal build. The per-entry form runs every chain-limit look-up
// to its end once per entry, which the sanitizers make about ten times slower.
#ifdef GEMLITH_RELIABILITY_SANITIZED
constexpr uint64_t kSeeds = 20;
#else
constexpr uint64_t kSeeds = 150;
#endif
constexpr size_t kMoreSelected = 20;

struct Outcome {
  bool result = false;
  standin::Activity activity;
  standin::SceneSnapshot scene;
};

// Runs `execute` (which returns the result and what the host saw) with `keys` held, keeps what
// it did, checks that undo gives back `before`, and leaves no redo step behind.
template <class Execute>
Outcome RunAndUndo(standin::Host& h, int32_t keys, const standin::SceneSnapshot& before,
                   Execute execute, std::string& error) {
  const int32_t steps = h.UndoSteps();
  h.SetQualifiers(keys);
  Outcome o;
  o.result = execute(o.activity);
  h.SetQualifiers(0);
  o.scene = h.Capture();
  if (h.UndoSteps() > steps) {
    h.Undo();
    h.DropRedo();
  }
  const standin::SceneSnapshot undone = h.Capture();
  if (undone != before)
    error += "undo does not give back the scene:\n" + standin::Diff(before, undone);
  return o;
}

// "" when the module's run matches the per-entry run.
std::string Compare(const Outcome& module, const Outcome& perEntry) {
  std::ostringstream out;
  if (module.result != perEntry.result)
    out << "result " << module.result << ", per entry " << perEntry.result << "\n";
  if (module.scene != perEntry.scene)
    out << "scenes differ (per entry, then module):\n"
        << standin::Diff(perEntry.scene, module.scene);
  const auto& a = module.activity.undo;
  const auto& b = perEntry.activity.undo;
  if (a != b) {
    const size_t at = static_cast<size_t>(
        std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    out << "undo entries differ at " << at << " (" << a.size() << " entries, per entry " << b.size()
        << ")\n";
  }
  const size_t expected = perEntry.activity.messages.empty() ? 0 : 1;
  if (module.activity.messages.size() != expected)
    out << module.activity.messages.size() << " messages, per entry "
        << perEntry.activity.messages.size() << "\n";
  return out.str();
}

TEST(PerEntry, OneWalkGivesTheSameSceneAndUndoEntriesAsAWalkPerEntry) {
  PerEntrySelect perEntrySelect;
  PerEntryRename perEntryRename;
  const struct {
    int32_t id;
    CommandData* perEntry;
    const char* name;
  } commands[] = {{ID_GEMLITH_SELECT, &perEntrySelect, "Select"},
                  {ID_GEMLITH_RENAME, &perEntryRename, "Rename"}};
  size_t runs = 0, messages = 0, entries = 0;
  for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
    Rng rng(seed);
    const SceneSpec spec = GenerateScene(rng, SceneParams{});
    Session session;
    ASSERT_FALSE(session.load_failure().failed()) << session.load_failure().detail;
    standin::Host& h = session.host();
    const std::vector<GmNode*> objects = BuildScene(h, spec);
    std::vector<GmNode*> more = objects;
    std::shuffle(more.begin(), more.end(), rng);
    more.resize(std::min(more.size(), kMoreSelected));
    for (int selection = 0; selection < 2; ++selection) {
      if (selection == 1) h.Select(more);
      const standin::SceneSnapshot before = h.Capture();
      for (const auto& c : commands) {
        for (int32_t keys = 0; keys < 8; ++keys) {
          std::string error;
          const Outcome module = RunAndUndo(
              h, keys, before,
              [&](standin::Activity& seen) {
                const standin::RunResult r = h.Call(c.id);
                seen = r.activity;
                return r.result;
              },
              error);
          const Outcome perEntry = RunAndUndo(
              h, keys, before,
              [&](standin::Activity& seen) {
                h.activity() = standin::Activity{};
                const bool result =
                    c.perEntry->Execute(reinterpret_cast<BaseDocument*>(h.ActiveDocument()), nullptr);
                seen = h.activity();
                return result;
              },
              error);
          error += Compare(module, perEntry);
          ASSERT_EQ(error, "") << c.name << ", seed " << seed << ", keys " << keys
                               << (selection ? ", more selected" : "");
          ++runs;
          messages += perEntry.activity.messages.size();
          entries += module.activity.undo.size();
        }
      }
    }
    ASSERT_TRUE(h.CodingErrors().empty()) << "seed " << seed << ": " << h.CodingErrors().front();
  }
  std::printf(
      "[per entry] %zu runs compared, %zu undo entries, %zu chain-limit messages of the "
      "per-entry form\n",
      runs, entries, messages);
}

}  // namespace
}  // namespace reliability
