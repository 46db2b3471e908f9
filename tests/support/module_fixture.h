// The stand-in host with the module linked in and loaded (ModuleTest, the fixture of the command
// and module tests), helpers to build scenes, to run a command with modifier keys held, and the
// Execute / undo / redo round trip.
//
// Typical test:
//   GmNode* cube = Cube("Cube");
//   GmNode* inst = Instance("I", cube);
//   SelectOnly({cube});
//   const RunResult r = RunCommand(ID_GEMLITH_SELECT, kQShift);
//   EXPECT_TRUE(r.result);
//   ExpectUndo(r, {{kUndoBits, M(cube)}, ...});
//   ... checks on the scene ...
//   ExpectUndoRedoRoundTrip();   // undo gives back the scene before the run, redo the result
//
// RunExecute(command_object, keys) calls a command's Execute alone (no GetState first): use it when
// a fault is injected into the next allocation.
//
// Nodes are the stand-in's `GmNode*` handles; `Obj(node)` views one as the module's BaseObject.
// A node that was deleted and brought back by undo may be a new handle: keep its marker (`M`) and
// look it up again with `Find`. TearDown checks that the stand-in recorded no coding error.
#ifndef GEMLITH_TESTS_SUPPORT_MODULE_FIXTURE_H
#define GEMLITH_TESTS_SUPPORT_MODULE_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "c4d.h"
#include "module_ids.h"
#include "module_record.h"

#ifndef GEMLITH_RES_DIR
#error "GEMLITH_RES_DIR must name the module's res folder"
#endif

namespace gemlith_test {

using namespace standin;

// A stand-in host that reads the module's strings from the source res folder.
inline std::unique_ptr<Host> NewModuleHost() {
  HostOptions options;
  options.res_path = GEMLITH_RES_DIR;
  return std::make_unique<Host>(options);
}
// Starts the module linked into this program in `host`, as the application starts a module file;
// with GEMLITH_TEST_MODULE set, that module file instead (the real one, through the adapter).
inline LoadResult LoadModule(Host& host) {
  const char* file = std::getenv("GEMLITH_TEST_MODULE");
  if (file && *file) return host.LoadModuleFile(file);
  return host.LoadLinkedModule(&c4d_main, "gemlith_r21 (linked)");
}

class ModuleTest : public ::testing::Test {
 protected:
  // `load` false: the test starts the module itself (or makes its start fail).
  explicit ModuleTest(bool load = true) : load_(load) {}

  void SetUp() override {
    host_ = NewModuleHost();
    if (!load_) return;
    const LoadResult load = LoadModule(*host_);
    ASSERT_TRUE(load.ok) << load.error;
  }

  void TearDown() override {
    if (!host_) return;
    const std::vector<std::string>& errors = host_->CodingErrors();
    EXPECT_TRUE(errors.empty()) << "coding errors:\n" << Join(errors);
    host_->Unload();
    host_.reset();
  }

  // ---- the host and the scene ----
  Host& host() { return *host_; }
  GmDoc* Doc() { return host_->ActiveDocument(); }
  BaseDocument* ModuleDoc() { return reinterpret_cast<BaseDocument*>(Doc()); }
  static BaseObject* Obj(GmNode* node) { return reinterpret_cast<BaseObject*>(node); }
  static GmNode* Node(BaseObject* op) { return reinterpret_cast<GmNode*>(op); }
  static Marker M(const GmNode* node) { return Host::MarkerOf(node); }
  GmNode* Find(Marker m) const { return host_->Find(m); }

  // New objects as the last child of `parent` (or last at the top level).
  GmNode* Add(int32_t type, const std::string& name, GmNode* parent = nullptr) {
    return host_->AddObject(type, name, parent);
  }
  GmNode* Null(const std::string& name, GmNode* parent = nullptr) {
    return Add(kOnull, name, parent);
  }
  GmNode* Cube(const std::string& name, GmNode* parent = nullptr) {
    return Add(kOcube, name, parent);
  }
  // An instance object linking to `target` (null: an empty link).
  GmNode* Instance(const std::string& name, GmNode* target, GmNode* parent = nullptr) {
    GmNode* inst = Add(kOinstance, name, parent);
    host_->SetLink(inst, target);
    return inst;
  }
  // Selects exactly these objects, first = selected first.
  void SelectOnly(const std::vector<GmNode*>& in_order) { host_->Select(in_order); }

  std::vector<GmNode*> Selection() const { return host_->Selection(); }
  std::vector<GmNode*> Children(GmNode* n) const { return host_->Children(n); }
  std::vector<GmNode*> TopLevel() const {
    std::vector<GmNode*> top;
    for (GmNode* n : host_->Walk())
      if (!host_->Parent(n)) top.push_back(n);
    return top;
  }
  std::string Name(const GmNode* n) const { return host_->Name(n); }
  // Names of these objects (of all objects in document order), for compact checks.
  std::vector<std::string> Names(const std::vector<GmNode*>& nodes) const {
    std::vector<std::string> names;
    for (GmNode* n : nodes) names.push_back(host_->Name(n));
    return names;
  }
  std::vector<std::string> NamesInOrder() const { return Names(host_->Walk()); }

  // ---- running commands ----

  // Runs the command `id` as the application's command call does (whatever its menu state), with
  // the modifier keys `keys` (kQShift | kQCtrl | kQAlt) held. Keeps the scene before and after for
  // ExpectUndoRedoRoundTrip.
  RunResult RunCommand(int32_t id, int32_t keys = 0) {
    BeginRun(keys);
    RunResult r = host_->Call(id);
    EndRun();
    EXPECT_TRUE(r.found) << "command " << id << " is not registered";
    return r;
  }

  // The same for a command object of the test's own, calling only its Execute on the active
  // document (the host's call also asks GetState first, which matters when a test injects a fault
  // into the next allocation). The result's activity is what the host saw during Execute.
  RunResult RunExecute(CommandData& command, int32_t keys = 0) {
    BeginRun(keys);
    host_->activity() = Activity{};
    RunResult r;
    r.found = true;
    r.enabled = true;
    r.result = command.Execute(ModuleDoc(), nullptr);
    r.activity = host_->activity();
    EndRun();
    return r;
  }

  // One undo gives back exactly the scene from before the last RunCommand, one redo exactly the
  // scene after it. A run that recorded no undo step must have left the scene unchanged.
  void ExpectUndoRedoRoundTrip() {
    ASSERT_TRUE(ran_) << "no command was run";
    if (host_->UndoSteps() == steps_before_) {
      EXPECT_EQ(Diff(before_, after_), "") << "the scene changed without an undo step";
      return;
    }
    ASSERT_EQ(host_->UndoSteps(), steps_before_ + 1) << "the run must be one undo step";
    ASSERT_TRUE(host_->Undo());
    const SceneSnapshot undone = host_->Capture();
    EXPECT_EQ(Diff(before_, undone), "") << "undo does not restore the scene";
    EXPECT_TRUE(undone == before_);
    ASSERT_TRUE(host_->Redo());
    const SceneSnapshot redone = host_->Capture();
    EXPECT_EQ(Diff(after_, redone), "") << "redo does not give the result again";
    EXPECT_TRUE(redone == after_);
  }

  // A run that gave up: false, no refresh, no undo entry (unless `recorded`: entries recorded
  // before it gave up, which one undo takes back), the scene as it was.
  void ExpectGaveUp(const RunResult& r, bool recorded = false) {
    EXPECT_FALSE(r.result);
    EXPECT_EQ(r.activity.event_adds, 0);
    EXPECT_TRUE(recorded || r.activity.undo.empty());
    ExpectUndoRedoRoundTrip();
  }

  const SceneSnapshot& SceneBefore() const { return before_; }
  const SceneSnapshot& SceneAfter() const { return after_; }

  // The undo entries of a run, compared in order, printed readably on a mismatch.
  void ExpectUndo(const RunResult& r, const std::vector<UndoRecord>& expected) {
    ExpectUndoEntries(r.activity.undo, expected);
  }
  void ExpectUndoEntries(const std::vector<UndoRecord>& actual,
                         const std::vector<UndoRecord>& expected) {
    EXPECT_TRUE(actual == expected) << "undo entries\n  actual:   " << UndoText(actual)
                                    << "\n  expected: " << UndoText(expected);
  }
  // "BITS Cube, NEWOBJ #12, ..." (the name when the marker is alive, else #marker).
  std::string UndoText(const std::vector<UndoRecord>& entries) const {
    std::ostringstream out;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (i) out << ", ";
      out << UndoTypeName(entries[i].type) << ' ';
      GmNode* n = host_->Find(entries[i].marker);
      if (n)
        out << '"' << host_->Name(n) << "\"#" << entries[i].marker;
      else
        out << '#' << entries[i].marker;
    }
    return out.str();
  }

  // For calling the shared operations directly: opens an undo group on the active document and
  // clears the activity log, so that `host().activity().undo` holds just what the calls record.
  void BeginDirectCalls() {
    host_->activity() = Activity{};
    ModuleDoc()->StartUndo();
  }
  void EndDirectCalls() { ModuleDoc()->EndUndo(); }
  // The undo entries the direct calls recorded.
  void ExpectRecorded(const std::vector<UndoRecord>& expected) {
    ExpectUndoEntries(host_->activity().undo, expected);
  }

  static std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += "  " + l + "\n";
    return s;
  }

 private:
  void BeginRun(int32_t keys) {
    before_ = host_->Capture();
    steps_before_ = host_->UndoSteps();
    host_->SetQualifiers(keys);
  }
  void EndRun() {
    host_->SetQualifiers(0);
    after_ = host_->Capture();
    ran_ = true;
  }

  const bool load_;
  std::unique_ptr<Host> host_;
  SceneSnapshot before_, after_;
  int32_t steps_before_ = 0;
  bool ran_ = false;
};

}  // namespace gemlith_test

#endif  // GEMLITH_TESTS_SUPPORT_MODULE_FIXTURE_H
