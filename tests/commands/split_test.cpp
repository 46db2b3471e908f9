// Split: the instance selected last becomes a copy of its reference; the other selected instances
// link to that copy and take its name.
#include "module_fixture.h"

namespace gemlith_test {
namespace {

// R (a cube at x=3 with child rc) and S; instances I1, I2 of R, placed elsewhere.
class Split : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    r = Cube("R");
    Null("rc", r);
    s = Cube("S");
    i1 = Instance("one", r);
    i2 = Instance("two", r);
    host().SetMatrix(r, TranslationMatrix(3, 0, 0));
    host().SetMatrix(i2, TranslationMatrix(9, 0, 0));
  }
  RunResult Run(int32_t keys = 0) { return RunCommand(ID_GEMLITH_SPLIT, keys); }

  GmNode *r, *s, *i1, *i2;
};

TEST_F(Split, TwoInstancesOfOneReference) {
  SelectOnly({i1, i2});
  const Marker m2 = M(i2);
  const RunResult res = Run();
  ASSERT_TRUE(res.result);
  const std::vector<GmNode*> top = TopLevel();
  ASSERT_EQ(top.size(), 4u);  // R, S, one, copy
  GmNode* copy = top[3];
  EXPECT_EQ(Find(m2), nullptr);
  EXPECT_EQ(Name(copy), "R");
  EXPECT_EQ(host().Matrix(copy), TranslationMatrix(3, 0, 0));  // the reference's, not the instance's
  EXPECT_EQ(Children(copy).size(), 1u);
  EXPECT_FALSE(host().IsSelected(copy));
  EXPECT_EQ(host().LinkTarget(i1), copy);
  EXPECT_EQ(Name(i1), "R");
  ExpectUndo(res, {{kUndoChange, m2}, {kUndoNewObj, M(copy)}, {kUndoChangeSmall, M(i1)},
                   {kUndoDeleteObj, m2}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(Split, EveryInstanceFollowsTheReferenceOfTheLastInstance) {
  GmNode* i3 = Instance("three", s);
  GmNode* x = Null("X");
  SelectOnly({i3, x, i1, i2});  // ordinary X selected among them, last instance I2 (of R)
  ASSERT_TRUE(Run().result);
  GmNode* copy = TopLevel()[3];
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"R", "rc", "S", "R", "R", "rc", "R", "X"}));
  EXPECT_EQ(host().LinkTarget(i3), copy);
  EXPECT_EQ(host().LinkTarget(i1), copy);
  ExpectUndoRedoRoundTrip();
}

TEST_F(Split, RefusesWithFewerThanTwoInstances) {
  GmNode* x = Null("X");
  SelectOnly({i1, x});
  ExpectGaveUp(Run());
  GmNode* derived = Add(kOinstanceDerived, "D");  // not exactly an instance object
  host().SetLink(derived, r);
  SelectOnly({i1, derived});
  ExpectGaveUp(Run());
}

TEST_F(Split, CtrlNamesTheCopyFromTheRenameDialog) {
  SelectOnly({i1, i2});
  host().QueueRenameConfirm("Neu");
  RunResult res = Run(kQCtrl);
  ASSERT_TRUE(res.result);
  EXPECT_EQ(res.activity.rename_dialogs, 1);
  EXPECT_EQ(Name(TopLevel()[3]), "Neu");
  EXPECT_EQ(Name(i1), "Neu");
  ExpectUndoRedoRoundTrip();

  ASSERT_TRUE(host().Undo());  // an empty confirmed name keeps the reference's
  SelectOnly({i1, Find(SceneBefore().objects.back().marker)});
  host().QueueRenameConfirm("");
  ASSERT_TRUE(Run(kQCtrl).result);
  EXPECT_EQ(Name(TopLevel()[3]), "R");
  EXPECT_EQ(Name(i1), "R");
  ExpectUndoRedoRoundTrip();

  ASSERT_TRUE(host().Undo());  // a cancelled dialog changes nothing
  SelectOnly({i1, Find(SceneBefore().objects.back().marker)});
  host().QueueRenameCancel();
  res = Run(kQCtrl);
  EXPECT_EQ(res.activity.rename_dialogs, 1);
  ExpectGaveUp(res);
}

TEST_F(Split, LastInstanceLinkingToAnInstanceIsReplacedByACopyOfThatInstance) {
  GmNode* a = Instance("A", r);
  host().SetLink(i1, a);
  host().SetLink(i2, a);
  SelectOnly({i1, i2});
  ASSERT_TRUE(Run().result);
  GmNode* copy = TopLevel()[3];
  EXPECT_EQ(host().Type(copy), kOinstance);
  EXPECT_EQ(host().LinkTarget(copy), r);
  EXPECT_EQ(host().LinkTarget(i1), copy);
  EXPECT_EQ(Name(i1), "A");
  ExpectUndoRedoRoundTrip();
}

TEST_F(Split, SelectedInstanceBelowTheLastOneGoesWithIt) {
  GmNode* below = Instance("below", r, i2);
  SelectOnly({below, i2});
  const Marker mBelow = M(below);
  const Marker m2 = M(i2);
  const RunResult res = Run();
  ASSERT_TRUE(res.result);
  EXPECT_EQ(Find(mBelow), nullptr);
  GmNode* copy = TopLevel().back();
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"R", "rc", "S", "one", "R", "rc"}));
  ExpectUndo(res, {{kUndoChange, m2}, {kUndoNewObj, M(copy)}, {kUndoChangeSmall, mBelow},
                   {kUndoDeleteObj, m2}});
  ExpectUndoRedoRoundTrip();
}

// The scene with every marker replaced by its object's place in document order (+1), so that the
// scenes of two runs that made different new objects compare whole.
SceneSnapshot ByPlace(SceneSnapshot s) {
  std::map<Marker, Marker> place;
  for (const ObjectSnapshot& o : s.objects) place.emplace(o.marker, place.size() + 1);
  const auto at = [&](Marker m) { return place.count(m) ? place[m] : m; };
  for (ObjectSnapshot& o : s.objects) {
    o.marker = at(o.marker);
    o.parent = at(o.parent);
    o.link = at(o.link);
  }
  return s;
}

// Each allocation Split makes, failing: the list and the copy make it give up; a link that cannot
// be made leaves that instance on the old reference, renamed all the same.
TEST_F(Split, AllocationFailures) {
  const Marker m2 = M(i2);  // undo brings I2 back as a new handle
  SelectOnly({i1, i2});
  ASSERT_TRUE(Run().result);
  SceneSnapshot want = ByPlace(SceneAfter());  // i1 keeps linking to R
  want.objects[3].link = 1;
  ASSERT_TRUE(host().Undo());

  host().faults().FailNth(Alloc::Link, 1);
  ASSERT_TRUE(Run().result);
  EXPECT_EQ(Diff(want, ByPlace(SceneAfter())), "");
  EXPECT_EQ(host().LinkTarget(i1), r);
  ExpectUndoRedoRoundTrip();
  ASSERT_TRUE(host().Undo());

  host().faults().FailNth(Alloc::Array, 2);  // the first array is the menu state's
  ExpectGaveUp(Run());
  host().faults().FailNth(Alloc::Clone, 1);
  const RunResult res = Run();
  ExpectUndo(res, {{kUndoChange, m2}});
  ExpectGaveUp(res, true);
}

TEST_F(Split, RefusesWhenTheReferenceCannotBeCopied) {
  host().SetLink(i2, nullptr);
  SelectOnly({i1, i2});
  const RunResult res = Run();
  ExpectUndo(res, {{kUndoChange, M(i2)}});
  ExpectGaveUp(res, true);
}

}  // namespace
}  // namespace gemlith_test
