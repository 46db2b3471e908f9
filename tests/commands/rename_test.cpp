// Rename: instances named after their references, numbered with Shift, chains followed with Ctrl.
// The active list comes in the host's order (document order here), so the scenes are built with
// selection order equal to document order.
#include "module_fixture.h"
#include "commands/commands.h"

namespace gemlith_test {
namespace {

using Rename = ModuleTest;

TEST_F(Rename, ReferenceNamesItsInstancesInDocumentOrderNumberedWithShift) {
  GmNode* cube = Cube("Cube");
  GmNode* i1 = Instance("old", cube);
  GmNode* holder = Null("holder");
  GmNode* i2 = Instance("Cube.7", cube, holder);
  GmNode* i3 = Instance("", cube);
  GmNode* stranger = Instance("stranger", Cube("Other"));
  SelectOnly({cube});
  RunResult r = RunCommand(ID_GEMLITH_RENAME);
  EXPECT_TRUE(r.result);
  EXPECT_EQ(r.activity.event_adds, 1);
  EXPECT_EQ(Names({i1, i2, i3}), (std::vector<std::string>{"Cube", "Cube", "Cube"}));
  ExpectUndo(r, {{kUndoChangeSmall, M(i1)}, {kUndoChangeSmall, M(i2)}, {kUndoChangeSmall, M(i3)}});
  ExpectUndoRedoRoundTrip();

  SelectOnly({cube});
  r = RunCommand(ID_GEMLITH_RENAME, kQShift);
  EXPECT_EQ(Names({i1, i2, i3}), (std::vector<std::string>{"Cube.1", "Cube.2", "Cube.3"}));
  EXPECT_EQ(Names({cube, holder, stranger}),
            (std::vector<std::string>{"Cube", "holder", "stranger"}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, SelectedInstancesAreNumberedByListPositionWithGaps) {
  GmNode* other = Cube("Other");  // not an instance, no instances: takes position 1
  GmNode* x = Cube("X");
  GmNode* i1 = Instance("a", x);
  GmNode* i2 = Instance("b", x);
  SelectOnly({other, i1, i2});
  const RunResult r = RunCommand(ID_GEMLITH_RENAME, kQShift);
  EXPECT_TRUE(r.result);
  EXPECT_EQ(Names({other, x, i1, i2}), (std::vector<std::string>{"Other", "X", "X.2", "X.3"}));
  ExpectUndo(r, {{kUndoChangeSmall, M(i1)}, {kUndoChangeSmall, M(i2)}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, EachSelectedReferenceCountsFromOne) {
  GmNode* a = Cube("A");
  GmNode* b = Cube("B");
  GmNode* a1 = Instance("", a);
  GmNode* b1 = Instance("", b);
  GmNode* a2 = Instance("", a);
  GmNode* b2 = Instance("", b);
  SelectOnly({a, b});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_RENAME, kQShift).result);
  EXPECT_EQ(Names({a1, a2, b1, b2}), (std::vector<std::string>{"A.1", "A.2", "B.1", "B.2"}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, ReferenceNameIsTakenAsItIsAndNumbersHaveNoPadding) {
  GmNode* cube = Cube("Cube.2");
  std::vector<GmNode*> insts;
  for (int i = 0; i < 11; ++i) insts.push_back(Instance("", cube));
  GmNode* unnamed = Cube("");
  GmNode* u1 = Instance("x", unnamed);
  SelectOnly({cube, unnamed});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_RENAME, kQShift).result);
  EXPECT_EQ(Name(insts[0]), "Cube.2.1");
  EXPECT_EQ(Name(insts[8]), "Cube.2.9");
  EXPECT_EQ(Name(insts[9]), "Cube.2.10");
  EXPECT_EQ(Name(insts[10]), "Cube.2.11");
  EXPECT_EQ(Name(u1), ".1");
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, ChainIsFollowedOnlyWithCtrl) {
  GmNode* r0 = Cube("Root");
  GmNode* a = Instance("Mid", r0);
  GmNode* b = Instance("B", a);
  SelectOnly({b});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_RENAME).result);
  EXPECT_EQ(Name(b), "Mid");
  EXPECT_TRUE(RunCommand(ID_GEMLITH_RENAME, kQCtrl).result);
  EXPECT_EQ(Name(b), "Root");
  ExpectUndoRedoRoundTrip();

  host().SetName(a, "A");
  host().SetName(b, "B");
  SelectOnly({r0});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_RENAME).result);
  EXPECT_EQ(Names({a, b}), (std::vector<std::string>{"Root", "B"}));
  host().SetName(a, "A");
  EXPECT_TRUE(RunCommand(ID_GEMLITH_RENAME, kQCtrl).result);
  EXPECT_EQ(Names({a, b}), (std::vector<std::string>{"Root", "Root"}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, InstanceAndItsReferenceBothSelectedTheLaterEntryWins) {
  GmNode* r0 = Cube("R");
  GmNode* inst = Instance("I", r0);
  SelectOnly({r0, inst});
  const RunResult r = RunCommand(ID_GEMLITH_RENAME, kQShift);
  EXPECT_EQ(Name(inst), "R.2");  // first R.1 from R's walk, then R.2 from its own position
  ExpectUndo(r, {{kUndoChangeSmall, M(inst)}, {kUndoChangeSmall, M(inst)}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, SelectedInstanceBelowSelectedParentIsRenamedToo) {
  GmNode* r0 = Cube("R");
  GmNode* parent = Null("P");
  GmNode* inst = Instance("I", r0, parent);
  SelectOnly({parent, inst});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_RENAME, kQShift).result);
  EXPECT_EQ(Name(inst), "R.2");
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, NothingToRenameIsATrueRun) {
  GmNode* lonely = Cube("lonely");
  GmNode* empty = Instance("empty", nullptr);
  GmNode* derived = Add(kOinstanceDerived, "derived");
  host().SetLink(derived, lonely);  // not exactly the instance type: never renamed
  SelectOnly({lonely, empty});
  const RunResult r = RunCommand(ID_GEMLITH_RENAME, kQShift);
  EXPECT_TRUE(r.result);
  EXPECT_TRUE(r.activity.undo.empty());
  EXPECT_EQ(Names({lonely, empty, derived}),
            (std::vector<std::string>{"lonely", "empty", "derived"}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, CycleWithCtrlShowsTheMessageOnceAndRenamesNothingOfIt) {
  GmNode* n = Cube("N");
  GmNode* x = Instance("X", nullptr);
  GmNode* y = Instance("Y", x);
  host().SetLink(x, y);
  GmNode* in = Instance("in", n);
  SelectOnly({n, x});
  const RunResult r = RunCommand(ID_GEMLITH_RENAME, kQCtrl);
  EXPECT_TRUE(r.result);
  // N's walk meets X and Y, then the selected X looks itself up: one message for the run.
  EXPECT_EQ(r.activity.messages.size(), 1u);
  EXPECT_EQ(Names({x, y, in}), (std::vector<std::string>{"X", "Y", "N"}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Rename, ArrayAllocationFailureGivesUpWithoutChanges) {
  GmNode* r0 = Cube("R");
  Instance("I", r0);
  SelectOnly({r0});
  host().faults().FailNext(Alloc::Array);
  Command_Rename command;
  ExpectGaveUp(RunExecute(command));
}

}  // namespace
}  // namespace gemlith_test
