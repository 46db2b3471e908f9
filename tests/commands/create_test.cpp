// Create instances: instance step, duplicate step, replace mode with Shift / Alt, nested objects
// in replace mode, injected failures. Every run is checked through undo and redo.
#include "module_fixture.h"
#include "commands/commands.h"

namespace gemlith_test {
namespace {

class Create : public ModuleTest {
 protected:
  // The entries for `inst` made from `source`: the source deselected, then the instance new once
  // it is inserted (the strict host refuses an entry for an object in no document).
  static std::vector<UndoRecord> MadeFrom(Marker inst, Marker source) {
    return {{kUndoBits, source}, {kUndoNewObj, inst}};
  }
  static std::vector<UndoRecord> MadeFrom(GmNode* inst, GmNode* source) {
    return MadeFrom(M(inst), M(source));
  }
  static std::vector<UndoRecord> Cat(std::initializer_list<std::vector<UndoRecord>> parts) {
    std::vector<UndoRecord> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }
  void ExpectInstanceOf(GmNode* inst, GmNode* reference, const std::string& name) {
    ASSERT_NE(inst, nullptr);
    EXPECT_EQ(host().Type(inst), kOinstance);
    EXPECT_EQ(host().LinkTarget(inst), reference);
    EXPECT_EQ(Name(inst), name);
  }
  static constexpr int32_t kCtrl = kQCtrl;
};

TEST_F(Create, NoKeysPutsInstanceWithMatrixAndStoredModeInFrontOfObject) {
  host().SetPrefs(ID_GEMLITH, {{SETTING_INSTANCE_MODE, 2}});
  GmNode* other = Cube("Other");
  GmNode* cube = Cube("Cube");
  host().SetMatrix(cube, TranslationMatrix(5, 0, 0));
  SelectOnly({cube});
  const RunResult r = RunCommand(ID_GEMLITH_CREATE);
  EXPECT_TRUE(r.result);
  EXPECT_EQ(r.activity.event_adds, 1);
  const std::vector<GmNode*> top = TopLevel();
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(top[0], other);
  EXPECT_EQ(top[2], cube);
  ExpectInstanceOf(top[1], cube, "Cube");
  EXPECT_EQ(host().Mode(top[1]), 2);
  EXPECT_EQ(host().Matrix(top[1]), TranslationMatrix(5, 0, 0));
  EXPECT_EQ(Selection(), std::vector<GmNode*>{top[1]});
  ExpectUndo(r, MadeFrom(top[1], cube));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, NoKeysDuplicatesSelectedInstanceWithItsChildren) {
  GmNode* r0 = Cube("R");
  GmNode* inst = Instance("I", r0);
  GmNode* child = Cube("child", inst);
  SelectOnly({inst});
  const RunResult r = RunCommand(ID_GEMLITH_CREATE);
  EXPECT_TRUE(r.result);
  const std::vector<GmNode*> top = TopLevel();
  ASSERT_EQ(top.size(), 3u);
  GmNode* copy = top[1];
  ExpectInstanceOf(copy, r0, "I");
  ASSERT_EQ(Children(copy).size(), 1u);
  EXPECT_NE(Children(copy)[0], child);
  EXPECT_EQ(Children(inst), std::vector<GmNode*>{child});
  EXPECT_TRUE(host().IsSelected(copy));
  EXPECT_FALSE(host().IsSelected(inst));
  ExpectUndo(r, {{kUndoBits, M(inst)}, {kUndoNewObj, M(copy)}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, NewObjectsBecomeFirstChildAndFirstAtTopLevel) {
  GmNode* x = Cube("X");
  GmNode* parent = Null("P");
  GmNode* a = Cube("A", parent);
  GmNode* b = Cube("B", parent);
  SelectOnly({x, a});
  EXPECT_TRUE(RunCommand(ID_GEMLITH_CREATE).result);
  ExpectInstanceOf(TopLevel()[0], x, "X");
  const std::vector<GmNode*> kids = Children(parent);
  ASSERT_EQ(kids.size(), 3u);
  ExpectInstanceOf(kids[0], a, "A");
  EXPECT_EQ(kids[1], a);
  EXPECT_EQ(kids[2], b);
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, NothingSelectedChangesNothingButStillRefreshes) {
  Cube("Cube");
  SelectOnly({});
  const RunResult r = RunCommand(ID_GEMLITH_CREATE);
  EXPECT_TRUE(r.result);
  EXPECT_EQ(r.activity.event_adds, 1);
  EXPECT_TRUE(r.activity.undo.empty());
  EXPECT_EQ(Diff(SceneBefore(), SceneAfter()), "");
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, CtrlReplacesEarlierSelectedByInstancesOfTheLastOne) {
  GmNode* a = Cube("A");
  GmNode* a1 = Cube("a1", a);
  GmNode* b = Cube("B");
  GmNode* c = Add(kOsphere, "C");
  host().SetMatrix(a, TranslationMatrix(1, 0, 0));
  host().SetMatrix(b, TranslationMatrix(0, 2, 0));
  host().SetBits(b, 0x100);
  SelectOnly({a, b, c});
  const int32_t bitsA = host().Bits(a), bitsB = host().Bits(b);
  const Marker ma = M(a), ma1 = M(a1), mb = M(b);

  const RunResult r = RunCommand(ID_GEMLITH_CREATE, kCtrl);
  EXPECT_TRUE(r.result);
  const std::vector<GmNode*> top = TopLevel();
  ASSERT_EQ(top.size(), 3u);
  ExpectInstanceOf(top[0], c, "C");
  ExpectInstanceOf(top[1], c, "C");
  EXPECT_EQ(top[2], c);
  EXPECT_EQ(host().Matrix(top[0]), TranslationMatrix(1, 0, 0));
  EXPECT_EQ(host().Matrix(top[1]), TranslationMatrix(0, 2, 0));
  EXPECT_EQ(host().Bits(top[0]), bitsA);
  EXPECT_EQ(host().Bits(top[1]), bitsB);
  EXPECT_FALSE(host().IsSelected(c));
  EXPECT_EQ(Find(ma), nullptr);
  EXPECT_EQ(Find(ma1), nullptr);
  EXPECT_EQ(Find(mb), nullptr);
  ExpectUndo(r, Cat({MadeFrom(top[0], c), {{kUndoDeleteObj, ma}}, MadeFrom(top[1], c),
                     {{kUndoDeleteObj, mb}}}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, CtrlChangesNothingWithOneObjectOrAnInstanceSelectedLast) {
  GmNode* a = Cube("A");
  GmNode* r0 = Cube("R");
  GmNode* inst = Instance("I", r0);
  for (const std::vector<GmNode*>& sel : {std::vector<GmNode*>{a}, std::vector<GmNode*>{a, inst}}) {
    SelectOnly(sel);
    const RunResult r = RunCommand(ID_GEMLITH_CREATE, kCtrl);
    EXPECT_TRUE(r.result);
    EXPECT_TRUE(r.activity.undo.empty());
    EXPECT_EQ(Diff(SceneBefore(), SceneAfter()), "");
  }
}

TEST_F(Create, CtrlShiftMovesChildrenUnderTheReferenceInSelectionOrder) {
  for (int32_t keys : {kCtrl | kQShift, kCtrl | kQShift | kQAlt}) {
    GmNode* a = Null("A");
    GmNode* a1 = Cube("a1", a);
    GmNode* a2 = Cube("a2", a);
    GmNode* b = Null("B");
    GmNode* b1 = Cube("b1", b);
    GmNode* c = Null("C");
    GmNode* c0 = Cube("c0", c);
    SelectOnly({a, b, c});
    const Marker ma = M(a), mb = M(b);
    const RunResult r = RunCommand(ID_GEMLITH_CREATE, keys);
    EXPECT_TRUE(r.result);
    EXPECT_EQ(Children(c), (std::vector<GmNode*>{c0, a1, a2, b1}));
    const std::vector<GmNode*> top = TopLevel();
    ASSERT_EQ(top.size(), 3u);
    GmNode* ia = top[0];
    GmNode* ib = top[1];
    EXPECT_TRUE(Children(ia).empty());
    ExpectUndo(r, Cat({{{kUndoChange, M(a1)}, {kUndoChange, M(a2)}}, MadeFrom(ia, c),
                       {{kUndoDeleteObj, ma}, {kUndoChange, M(b1)}}, MadeFrom(ib, c),
                       {{kUndoDeleteObj, mb}}}));
    ExpectUndoRedoRoundTrip();
    for (GmNode* n : TopLevel()) host().Delete(n);  // a clean document for the next key set
  }
}

TEST_F(Create, CtrlAltMovesChildrenUnderTheNewInstance) {
  GmNode* a = Null("A");
  GmNode* a1 = Cube("a1", a);
  GmNode* a2 = Cube("a2", a);
  GmNode* c = Cube("C");
  SelectOnly({a, c});
  const Marker ma = M(a);
  const RunResult r = RunCommand(ID_GEMLITH_CREATE, kCtrl | kQAlt);
  GmNode* ia = TopLevel()[0];
  ExpectInstanceOf(ia, c, "C");
  EXPECT_EQ(Children(ia), (std::vector<GmNode*>{a1, a2}));
  EXPECT_TRUE(Children(c).empty());
  ExpectUndo(r, Cat({MadeFrom(ia, c),
                     {{kUndoChange, M(a1)}, {kUndoChange, M(a2)}, {kUndoDeleteObj, ma}}}));
  ExpectUndoRedoRoundTrip();
}

// ---- replace mode with objects inside one another ----

TEST_F(Create, CtrlLeavesAnObjectHoldingTheReferenceUnchanged) {
  for (int32_t keys : {kCtrl, kCtrl | kQShift, kCtrl | kQAlt}) {
    GmNode* holder = Null("holder");
    GmNode* mid = Null("mid", holder);
    GmNode* c = Cube("C", mid);
    GmNode* b = Cube("B");
    SelectOnly({holder, b, c});
    const Marker mb = M(b);
    const RunResult r = RunCommand(ID_GEMLITH_CREATE, keys);
    EXPECT_TRUE(r.result);
    EXPECT_EQ(Children(holder), std::vector<GmNode*>{mid});
    EXPECT_EQ(Children(mid), std::vector<GmNode*>{c});
    EXPECT_EQ(Find(mb), nullptr);  // B was replaced all the same
    ExpectUndoRedoRoundTrip();
    for (GmNode* n : TopLevel()) host().Delete(n);
  }
}

TEST_F(Create, CtrlSkipsASelectedObjectDeletedWithItsReplacedParent) {
  GmNode* a = Null("A");
  GmNode* b = Cube("B", a);
  Cube("b1", b);
  GmNode* c = Cube("C");
  SelectOnly({a, b, c});
  const Marker ma = M(a);
  const RunResult r = RunCommand(ID_GEMLITH_CREATE, kCtrl);
  EXPECT_TRUE(r.result);
  const std::vector<GmNode*> all = host().Walk();
  ASSERT_EQ(all.size(), 2u);
  ExpectInstanceOf(all[0], c, "C");
  EXPECT_EQ(all[1], c);
  ExpectUndo(r, Cat({MadeFrom(all[0], c), {{kUndoDeleteObj, ma}}}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, CtrlReplacesAChildBeforeItsParentWhenSelectedFirst) {
  GmNode* a = Null("A");
  GmNode* b = Cube("B", a);
  GmNode* c = Cube("C");
  SelectOnly({b, a, c});
  const Marker ma = M(a), mb = M(b);
  const RunResult r = RunCommand(ID_GEMLITH_CREATE, kCtrl);
  EXPECT_TRUE(r.result);
  ASSERT_FALSE(r.activity.undo.empty());
  ASSERT_GE(r.activity.undo.size(), 2u);
  const Marker ib = r.activity.undo[1].marker;  // B's instance, deleted later with A
  const std::vector<GmNode*> all = host().Walk();
  ASSERT_EQ(all.size(), 2u);
  ExpectInstanceOf(all[0], c, "C");
  EXPECT_EQ(Find(ib), nullptr);
  ExpectUndo(r, Cat({MadeFrom(ib, M(c)), {{kUndoDeleteObj, mb}}, MadeFrom(all[0], c),
                     {{kUndoDeleteObj, ma}}}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, CtrlShiftOrAltRescuesASelectedChildBeforeItsParentIsDeleted) {
  for (int32_t keys : {kCtrl | kQShift, kCtrl | kQAlt}) {
    GmNode* a = Null("A");
    GmNode* b = Cube("B", a);
    GmNode* c = Null("C");
    SelectOnly({a, b, c});
    const Marker mb = M(b);
    const RunResult r = RunCommand(ID_GEMLITH_CREATE, keys);
    EXPECT_TRUE(r.result);
    EXPECT_EQ(Find(mb), nullptr);  // moved away, then replaced in its new place
    GmNode* newParent = (keys & kQShift) ? c : TopLevel()[0];
    const std::vector<GmNode*> kids = Children(newParent);
    ASSERT_EQ(kids.size(), 1u);
    ExpectInstanceOf(kids[0], c, "C");
    ExpectUndoRedoRoundTrip();
    for (GmNode* n : TopLevel()) host().Delete(n);
  }
}

// ---- failures ----

TEST_F(Create, ArrayAllocationFailureGivesUpWithoutChanges) {
  GmNode* a = Cube("A");
  SelectOnly({a});
  host().faults().FailNext(Alloc::Array);
  Command_Create command;
  ExpectGaveUp(RunExecute(command));
}

TEST_F(Create, AFailedInstanceOrCopyLeavesThatObjectAndTheRunGoesOn) {
  GmNode* a = Cube("A");
  GmNode* b = Cube("B");
  GmNode* r0 = Cube("R");
  GmNode* i1 = Instance("I1", r0);
  GmNode* i2 = Instance("I2", r0);
  SelectOnly({a, b, i1, i2});
  host().faults().FailNext(Alloc::Object);  // A's instance
  host().faults().FailNext(Alloc::Clone);   // I1's copy
  const RunResult r = RunCommand(ID_GEMLITH_CREATE);
  EXPECT_TRUE(r.result);
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A", "B", "B", "R", "I1", "I2", "I2"}));
  EXPECT_TRUE(host().IsSelected(a));
  EXPECT_TRUE(host().IsSelected(i1));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Create, CtrlWithAFailedInstanceKeepsThatObject) {
  GmNode* a = Cube("A");
  GmNode* b = Cube("B");
  GmNode* c = Cube("C");
  SelectOnly({a, b, c});
  host().faults().FailNext(Alloc::Object);
  const Marker mb = M(b);
  const RunResult r = RunCommand(ID_GEMLITH_CREATE, kCtrl);
  EXPECT_TRUE(r.result);
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A", "C", "C"}));
  EXPECT_EQ(TopLevel()[0], a);
  EXPECT_EQ(Find(mb), nullptr);
  ExpectUndoRedoRoundTrip();
}

}  // namespace
}  // namespace gemlith_test
