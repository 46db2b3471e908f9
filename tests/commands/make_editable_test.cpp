// Make editable: each selected instance becomes a copy of its reference, in its place.
#include "module_fixture.h"

namespace gemlith_test {
namespace {

// R (a cube at x=1) has child rc; instance I (at x=7) of R has children i1, i2; instance J links to
// I. I is selected.
class MakeEditable : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    r = Cube("R");
    rc = Null("rc", r);
    i = Instance("I", r);
    i1 = Null("i1", i);
    i2 = Null("i2", i);
    j = Instance("J", i);
    host().SetMatrix(r, TranslationMatrix(1, 0, 0));
    host().SetMatrix(i, TranslationMatrix(7, 0, 0));
    SelectOnly({i});
  }
  RunResult Run(int32_t keys = 0) { return RunCommand(ID_GEMLITH_MAKEEDITABLE, keys); }
  // The object now standing where I stood (right after R).
  GmNode* CopyOfR() { return TopLevel()[1]; }

  GmNode *r, *rc, *i, *i1, *i2, *j;
};

TEST_F(MakeEditable, CopyTakesPlaceMatrixChildrenAndIncomingLinks) {
  const Marker mi = M(i);
  const RunResult res = Run();
  ASSERT_TRUE(res.result);
  EXPECT_EQ(res.activity.event_adds, 1);
  GmNode* copy = CopyOfR();
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{r, copy, j}));
  EXPECT_EQ(Find(mi), nullptr);
  EXPECT_EQ(host().Type(copy), kOcube);
  EXPECT_EQ(Name(copy), "R");
  EXPECT_EQ(host().Matrix(copy), TranslationMatrix(7, 0, 0));
  EXPECT_EQ(Names(Children(copy)), (std::vector<std::string>{"rc", "i1", "i2"}));
  EXPECT_EQ(Children(copy)[1], i1);
  EXPECT_EQ(host().LinkTarget(j), copy);
  EXPECT_EQ(Selection(), (std::vector<GmNode*>{copy}));
  ExpectUndo(res, {{kUndoChange, mi}, {kUndoNewObj, M(copy)}, {kUndoBits, M(copy)},
                   {kUndoChangeSmall, M(j)}, {kUndoChange, M(i1)}, {kUndoChange, M(i2)},
                   {kUndoDeleteObj, mi}});
  ExpectUndoRedoRoundTrip();
}

// Links to a converted instance move to its copy wherever they are held: elsewhere in the document,
// in a record, below the copy (a child moved there), and inside a copy made earlier in the same run.
TEST_F(MakeEditable, LinksHeldAnywhereMoveToTheCopyAndUndoPutsThemBack) {
  GmNode* x = Instance("X", r);  // a second selected instance, converted after I
  GmNode* rc2 = Null("rc2", r);  // R's child links to X, so I's copy will hold a link to X
  gemhost::WriteRecord(host(), rc2, gemhost::Record{std::nullopt, M(x)});
  GmNode* k = Instance("K", i, i);       // I's child links to I and moves below I's copy
  GmNode* n = Null("N");
  gemhost::WriteRecord(host(), n, gemhost::Record{std::nullopt, M(x)});
  SelectOnly({i, x});
  const RunResult res = Run();
  ASSERT_TRUE(res.result);
  GmNode* copy_i = CopyOfR();
  GmNode* copy_x = TopLevel()[3];
  ASSERT_EQ(Names(Children(copy_i)), (std::vector<std::string>{"rc", "rc2", "i1", "i2", "K"}));
  ASSERT_EQ(Names(Children(copy_x)), (std::vector<std::string>{"rc", "rc2"}));
  GmNode* rc2_in_i = Children(copy_i)[1];
  GmNode* rc2_in_x = Children(copy_x)[1];
  for (GmNode* h : {j, k}) EXPECT_EQ(host().LinkTarget(h), copy_i) << Name(h);
  for (GmNode* h : {rc2, rc2_in_i, rc2_in_x, n})
    EXPECT_EQ(gemhost::ReadRecord(host(), h)->swap_partner, M(copy_x)) << Name(h);
  std::vector<UndoRecord> link_entries;
  for (const UndoRecord& e : res.activity.undo)
    if (e.type == kUndoChangeSmall) link_entries.push_back(e);
  ExpectUndoEntries(link_entries, {{kUndoChangeSmall, M(k)}, {kUndoChangeSmall, M(j)},
                                   {kUndoChangeSmall, M(rc2)}, {kUndoChangeSmall, M(rc2_in_i)},
                                   {kUndoChangeSmall, M(rc2_in_x)}, {kUndoChangeSmall, M(n)}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(MakeEditable, ShiftAndAltChooseWhichChildrenTheCopyKeeps) {
  struct Case {
    int32_t keys;
    std::vector<std::string> children;
  };
  for (const Case& c : {Case{kQShift, {"i1", "i2"}}, Case{kQAlt, {"rc"}},
                        Case{kQShift | kQAlt, {}}}) {
    SCOPED_TRACE(c.keys);
    const Marker mi = M(i);
    ASSERT_TRUE(Run(c.keys).result);
    EXPECT_EQ(Names(Children(CopyOfR())), c.children);
    EXPECT_EQ(NamesInOrder().size(), 4 + c.children.size());  // R, rc, copy, J + kept children
    ExpectUndoRedoRoundTrip();
    ASSERT_TRUE(host().Undo());  // back to the scene of SetUp for the next case
    i = Find(mi);
    ASSERT_NE(i, nullptr);
    SelectOnly({i});
  }
}

TEST_F(MakeEditable, CtrlCopiesTheEndOfTheChain) {
  const Marker ma = M(Instance("A", i));  // A -> I -> R
  for (int32_t keys : {0, kQCtrl}) {
    SelectOnly({Find(ma)});
    ASSERT_TRUE(Run(keys).result);
    GmNode* copy = TopLevel().back();
    EXPECT_EQ(host().Type(copy), keys ? kOcube : kOinstance);
    if (!keys) {
      EXPECT_EQ(host().LinkTarget(copy), r);  // a clone of I, linking to R
    }
    ExpectUndoRedoRoundTrip();
    ASSERT_TRUE(host().Undo());
    ASSERT_NE(Find(ma), nullptr);
  }
}

TEST_F(MakeEditable, CtrlOnACycleShowsTheChainMessageOnceAndCopiesNothing) {
  GmNode* x = Instance("X", nullptr);
  GmNode* y = Instance("Y", x);
  host().SetLink(x, y);
  SelectOnly({x, y});
  const std::vector<std::string> names = NamesInOrder();
  const RunResult res = Run(kQCtrl);
  EXPECT_TRUE(res.result);
  EXPECT_EQ(res.activity.messages.size(), 1u);
  EXPECT_EQ(NamesInOrder(), names);
  ExpectUndoRedoRoundTrip();
}

TEST_F(MakeEditable, EmptyLinksAndOrdinaryObjectsStayUnchanged) {
  GmNode* e = Instance("E", nullptr);
  GmNode* x = Null("X");
  SelectOnly({e, x, i});
  const RunResult res = Run();
  ASSERT_TRUE(res.result);
  EXPECT_EQ(NamesInOrder(),
            (std::vector<std::string>{"R", "rc", "R", "rc", "i1", "i2", "J", "E", "X"}));
  EXPECT_TRUE(host().IsSelected(e));
  EXPECT_TRUE(host().IsSelected(x));
  ASSERT_FALSE(res.activity.undo.empty());
  EXPECT_EQ(res.activity.undo.back(), (UndoRecord{kUndoChange, M(e)}));  // E comes after I
  ExpectUndoRedoRoundTrip();
}

TEST_F(MakeEditable, WithAltASelectedInstanceBelowAConvertedOneIsSkipped) {
  GmNode* inner = Instance("Inner", r, i);  // selected, and freed with I when Alt is held
  SelectOnly({i, inner});
  const Marker mi = M(i);
  const Marker mInner = M(inner);
  const RunResult res = Run(kQAlt);
  ASSERT_TRUE(res.result);
  EXPECT_EQ(Find(mInner), nullptr);
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"R", "rc", "R", "rc", "J"}));
  ExpectUndoRedoRoundTrip();

  ASSERT_TRUE(host().Undo());  // without Alt both are converted, the inner copy below the outer one
  SelectOnly({Find(mi), Find(mInner)});
  ASSERT_TRUE(Run().result);
  EXPECT_EQ(Names(Children(CopyOfR())), (std::vector<std::string>{"rc", "i1", "i2", "R"}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(MakeEditable, NothingChangesWhenTheListCannotBeMade) {
  host().faults().FailNth(Alloc::Array, 2);  // the first array is the menu state's
  ExpectGaveUp(Run());
}

}  // namespace
}  // namespace gemlith_test

namespace gemlith_test {
namespace {

// An instance whose display loops is left alone: one inside its own reference (its copy would hold
// a copy of itself), one linking to itself (its copy would hold its children twice, again at every
// run), and one showing a reference that holds such an instance (each copy would bring along
// instances that show the reference again).
TEST_F(MakeEditable, InstanceWhoseDisplayLoopsIsLeftAlone) {
  GmNode* cube = Cube("Cube");
  GmNode* inner = Instance("Inner", cube, cube);
  GmNode* outer = Instance("Outer", cube);
  GmNode* self = Instance("Self", nullptr);
  host().SetLink(self, self);
  Null("Under self", self);
  SelectOnly({inner, self, outer});
  const SceneSnapshot before = host().Capture();
  const RunResult r = RunCommand(ID_GEMLITH_MAKEEDITABLE);
  EXPECT_TRUE(r.result);
  EXPECT_TRUE(host().Capture() == before);
  ExpectUndo(r, {{kUndoChange, M(inner)}, {kUndoChange, M(outer)}, {kUndoChange, M(self)}});
}

// With Ctrl the copy is of the chain's end, reached over at most 10,000 further links: at 10,000
// the instance becomes a copy of R; at 10,001 the run shows the chain-limit message and leaves the
// instance as it is.
TEST_F(MakeEditable, CtrlFollowsTheChainUpToItsLimit) {
  GmNode* next = r;
  for (int k = 0; k < MAX_INSTANCE_CHAIN; ++k) next = Instance("link", next);
  GmNode* first = Instance("first", next);
  GmNode* too_long = Instance("too long", first);
  const Marker m_first = M(first);
  SelectOnly({first});
  const RunResult res = Run(kQCtrl);
  ASSERT_TRUE(res.result);
  EXPECT_TRUE(res.activity.messages.empty());
  // The whole scene: `first` replaced by a copy of R (with R's child) in its place, selected, and
  // the instance that linked to it linking to the copy.
  SceneSnapshot want = SceneBefore();
  const SceneSnapshot& got = SceneAfter();
  size_t at = 0;
  while (at < want.objects.size() && want.objects[at].marker != m_first) ++at;
  ASSERT_LT(at + 2, got.objects.size());
  ObjectSnapshot copy = want.objects[0], child = want.objects[1];  // R and rc
  copy.marker = got.objects[at].marker;
  child.marker = got.objects[at + 1].marker;
  child.parent = copy.marker;
  copy.index = want.objects[at].index;
  copy.ml = want.objects[at].ml;
  copy.bits = want.objects[at].bits;
  copy.selection_rank = 0;
  want.objects[at] = copy;
  want.objects.insert(want.objects.begin() + static_cast<std::ptrdiff_t>(at) + 1, child);
  want.objects.back().link = copy.marker;
  EXPECT_EQ(Diff(want, got), "");
  ExpectUndoRedoRoundTrip();
  ASSERT_TRUE(host().Undo());

  SelectOnly({too_long});
  const RunResult refused = Run(kQCtrl);
  EXPECT_EQ(refused.activity.messages.size(), 1u);
  EXPECT_EQ(Diff(SceneBefore(), SceneAfter()), "");
  ExpectUndoRedoRoundTrip();
}

}  // namespace
}  // namespace gemlith_test
