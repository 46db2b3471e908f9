// Select: the selection replaced by the instances of the selected references.
#include "module_fixture.h"
#include "commands/commands.h"

namespace gemlith_test {
namespace {

class Select : public ModuleTest {
 protected:
  // The selected objects, in document order (the order the run selects them in is not the point).
  std::vector<GmNode*> SelectedInDocOrder() {
    std::vector<GmNode*> out;
    for (GmNode* n : host().Walk())
      if (host().IsSelected(n)) out.push_back(n);
    return out;
  }
  // One BITS entry per object of the document, in document order (the deselect pass).
  std::vector<UndoRecord> DeselectEntries() {
    std::vector<UndoRecord> out;
    for (const ObjectSnapshot& o : SceneBefore().objects) out.push_back({kUndoBits, o.marker});
    return out;
  }
};

TEST_F(Select, NothingSelectedDeselectsEveryObjectWithAnUndoEntry) {
  GmNode* p = Null("P");
  Cube("child", p);
  Cube("Cube");
  SelectOnly({});
  host().SetBits(p, kBitActive);  // a stray selected bit is cleared too
  const RunResult r = RunCommand(ID_GEMLITH_SELECT);
  EXPECT_TRUE(r.result);
  EXPECT_EQ(r.activity.stop_all_threads, 1);
  EXPECT_EQ(r.activity.event_adds, 1);
  EXPECT_TRUE(SelectedInDocOrder().empty());
  ExpectUndo(r, DeselectEntries());
  ExpectUndoRedoRoundTrip();
}

TEST_F(Select, EmptyDocumentIsATrueRunWithoutEntries) {
  const RunResult r = RunCommand(ID_GEMLITH_SELECT);
  EXPECT_TRUE(r.result);
  EXPECT_TRUE(r.activity.undo.empty());
  ExpectUndoRedoRoundTrip();
}

TEST_F(Select, ReferenceSelectsAllItsInstancesAtAnyDepthAndItselfWithShift) {
  for (bool shift : {false, true}) {
    GmNode* r0 = Cube("R");
    GmNode* i1 = Instance("I1", r0);
    GmNode* holder = Null("holder");
    GmNode* i2 = Instance("I2", r0, holder);
    GmNode* i3 = Instance("I3", r0);
    Instance("other", holder);
    SelectOnly({r0});
    const RunResult r = RunCommand(ID_GEMLITH_SELECT, shift ? kQShift : 0);
    EXPECT_TRUE(r.result);
    if (shift)
      EXPECT_EQ(SelectedInDocOrder(), (std::vector<GmNode*>{r0, i1, i2, i3}));
    else
      EXPECT_EQ(SelectedInDocOrder(), (std::vector<GmNode*>{i1, i2, i3}));
    std::vector<UndoRecord> expected = DeselectEntries();
    for (GmNode* inst : {i1, i2, i3}) {
      if (shift) expected.push_back({kUndoBits, M(r0)});
      expected.push_back({kUndoBits, M(inst)});
    }
    ExpectUndo(r, expected);
    ExpectUndoRedoRoundTrip();
    for (GmNode* n : TopLevel()) host().Delete(n);
  }
}

TEST_F(Select, ReferenceWithoutInstancesEndsDeselectedEvenWithShift) {
  GmNode* r0 = Cube("R");
  Cube("other");
  SelectOnly({r0});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT, kQShift).result);
  EXPECT_TRUE(SelectedInDocOrder().empty());
  ExpectUndoRedoRoundTrip();
}

TEST_F(Select, SelectedInstanceSelectsItsSiblingInstancesAndTheReferenceOnlyWithShift) {
  GmNode* r0 = Cube("R");
  GmNode* i1 = Instance("I1", r0);
  GmNode* i2 = Instance("I2", r0);
  GmNode* elsewhere = Instance("J", Cube("S"));
  SelectOnly({i2, elsewhere});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT).result);
  EXPECT_EQ(SelectedInDocOrder().size(), 3u);
  EXPECT_FALSE(host().IsSelected(r0));
  EXPECT_TRUE(host().IsSelected(i1) && host().IsSelected(i2) && host().IsSelected(elsewhere));
  ExpectUndoRedoRoundTrip();

  SelectOnly({i2});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT, kQShift).result);
  EXPECT_EQ(SelectedInDocOrder(), (std::vector<GmNode*>{r0, i1, i2}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Select, ChainIsFollowedOnlyWithCtrl) {
  GmNode* r0 = Cube("R");
  GmNode* a = Instance("A", r0);
  GmNode* b = Instance("B", a);
  SelectOnly({r0});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT).result);
  EXPECT_EQ(SelectedInDocOrder(), std::vector<GmNode*>{a});
  ExpectUndoRedoRoundTrip();

  SelectOnly({r0});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT, kQCtrl).result);
  EXPECT_EQ(SelectedInDocOrder(), (std::vector<GmNode*>{a, b}));
  ExpectUndoRedoRoundTrip();

  // From the chain's far end: without Ctrl B's direct reference is A, and only B links to A.
  SelectOnly({b});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT).result);
  EXPECT_EQ(SelectedInDocOrder(), std::vector<GmNode*>{b});
  SelectOnly({b});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT, kQCtrl | kQShift).result);
  EXPECT_EQ(SelectedInDocOrder(), (std::vector<GmNode*>{r0, a, b}));
}

TEST_F(Select, AnEntryWithoutTargetIsSkippedInEitherOrder) {
  GmNode* empty = Instance("empty", nullptr);
  GmNode* r0 = Cube("R");
  GmNode* i1 = Instance("I1", r0);
  GmNode* i2 = Instance("I2", r0, empty);
  for (const std::vector<GmNode*>& order :
       {std::vector<GmNode*>{empty, r0}, std::vector<GmNode*>{r0, empty}}) {
    SelectOnly(order);
    const RunResult r = RunCommand(ID_GEMLITH_SELECT);
    EXPECT_TRUE(r.result);
    EXPECT_EQ(SelectedInDocOrder(), (std::vector<GmNode*>{i2, i1}));
    ExpectUndoRedoRoundTrip();
  }
}

TEST_F(Select, ASelectedObjectBelowASelectedParentIsNoEntry) {
  GmNode* parent = Null("P");
  GmNode* r0 = Cube("R", parent);
  Instance("I", r0);
  SelectOnly({parent, r0});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_SELECT).result);
  EXPECT_TRUE(SelectedInDocOrder().empty());
  ExpectUndoRedoRoundTrip();
}

TEST_F(Select, SameTargetTwiceGivesTheSameSelectionWithEntriesTwice) {
  GmNode* r0 = Cube("R");
  GmNode* i1 = Instance("I1", r0);
  SelectOnly({r0, i1});
  const RunResult r = RunCommand(ID_GEMLITH_SELECT);
  EXPECT_EQ(SelectedInDocOrder(), std::vector<GmNode*>{i1});
  std::vector<UndoRecord> expected = DeselectEntries();
  expected.push_back({kUndoBits, M(i1)});
  expected.push_back({kUndoBits, M(i1)});
  ExpectUndo(r, expected);
  ExpectUndoRedoRoundTrip();
}

TEST_F(Select, CycleWithCtrlShowsTheMessageOnceInEachRun) {
  GmNode* x = Instance("X", nullptr);
  GmNode* y = Instance("Y", x);
  GmNode* z = Instance("Z", y);
  host().SetLink(x, z);
  GmNode* r0 = Cube("R0");
  GmNode* i0 = Instance("I0", r0);
  GmNode* r1 = Cube("R1");
  GmNode* i1 = Instance("I1", r1);
  // Every look-up of X, Y and Z runs over the chain limit: the selected X, and all three met for
  // each of the two references.
  for (int run = 0; run < 2; ++run) {
    SelectOnly({x, r0, r1});
    const RunResult r = RunCommand(ID_GEMLITH_SELECT, kQCtrl);
    EXPECT_TRUE(r.result);
    EXPECT_EQ(r.activity.messages.size(), 1u);
    EXPECT_EQ(SelectedInDocOrder(), (std::vector<GmNode*>{i0, i1}));
    ExpectUndoRedoRoundTrip();
  }
}

TEST_F(Select, ArrayAllocationFailureGivesUpWithoutChanges) {
  GmNode* r0 = Cube("R");
  Instance("I", r0);
  SelectOnly({r0});
  host().faults().FailNext(Alloc::Array);
  Command_Select command;
  ExpectGaveUp(RunExecute(command));
}

}  // namespace
}  // namespace gemlith_test
