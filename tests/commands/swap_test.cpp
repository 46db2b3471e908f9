// Swap: the instance and its reference trade places and matrices; a second Swap trades them back.
#include <functional>

#include "module_fixture.h"

namespace gemlith_test {
namespace {

class Swap : public ModuleTest {
 protected:
  RunResult RunSwap(int32_t keys = 0) { return RunCommand(ID_GEMLITH_SWAP, keys); }

  bool SwapEnabled() {
    for (const MenuEntry& e : host().Menu())
      if (e.id == ID_GEMLITH_SWAP) return e.enabled;
    return false;
  }

  // A refused swap: false, no refresh, no undo entry, nothing changed. (An undo group left open
  // would be a coding error of the host, which TearDown checks.) `arm` runs before the run.
  void ExpectRefused(int32_t keys = 0, const std::function<void()>& arm = {}) {
    if (arm) arm();
    const RunResult r = RunSwap(keys);
    ExpectGaveUp(r);
    EXPECT_EQ(r.activity.undo_groups, 1);
  }
};

TEST_F(Swap, InstanceAndReferenceTradePlacesMatricesAndLinks) {
  GmNode* r = Cube("R");
  GmNode* x = Null("X");
  GmNode* i = Instance("I", r);
  GmNode* j = Instance("J", r);
  GmNode* k = Instance("K", r);
  host().SetMatrix(r, TranslationMatrix(1, 0, 0));
  host().SetMatrix(i, TranslationMatrix(5, 0, 0));
  SelectOnly({i});
  const Marker mr = M(r);

  const RunResult r1 = RunSwap();
  ASSERT_TRUE(r1.result);
  EXPECT_EQ(r1.activity.event_adds, 1);
  const std::vector<GmNode*> top = TopLevel();
  ASSERT_EQ(top.size(), 5u);
  GmNode* copy = top[2];
  EXPECT_EQ(top, (std::vector<GmNode*>{i, x, copy, j, k}));
  EXPECT_EQ(Find(mr), nullptr);
  EXPECT_EQ(Name(copy), "R");
  EXPECT_EQ(host().Type(copy), kOcube);
  EXPECT_EQ(host().Matrix(i), TranslationMatrix(1, 0, 0));
  EXPECT_EQ(host().Matrix(copy), TranslationMatrix(5, 0, 0));
  for (GmNode* inst : {i, j, k}) EXPECT_EQ(host().LinkTarget(inst), copy) << Name(inst);
  EXPECT_EQ(Selection(), (std::vector<GmNode*>{copy}));
  ASSERT_TRUE(gemhost::ReadRecord(host(), copy).has_value());
  EXPECT_EQ(gemhost::ReadRecord(host(), copy)->swap_partner, M(i));
  ExpectUndo(r1, {{kUndoDeleteObj, M(i)}, {kUndoChange, M(i)}, {kUndoChange, mr},
                  {kUndoNewObj, M(copy)}, {kUndoChangeSmall, M(i)}, {kUndoChangeSmall, M(j)},
                  {kUndoChangeSmall, M(k)}, {kUndoDeleteObj, mr}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(Swap, SecondSwapRestoresPlacesAndMatrices) {
  GmNode* r = Cube("R");
  GmNode* i = Instance("I", r);
  host().SetMatrix(r, TranslationMatrix(1, 0, 0));
  host().SetMatrix(i, TranslationMatrix(5, 0, 0));
  SelectOnly({i});
  ASSERT_TRUE(RunSwap().result);
  GmNode* copyOfR = TopLevel()[1];
  ASSERT_EQ(Selection(), (std::vector<GmNode*>{copyOfR}));  // the first swap left the copy active

  const RunResult r2 = RunSwap();
  ASSERT_TRUE(r2.result);
  const std::vector<GmNode*> top = TopLevel();
  ASSERT_EQ(top.size(), 2u);
  GmNode* copyOfI = top[1];
  EXPECT_EQ(top[0], copyOfR);
  EXPECT_EQ(Name(copyOfI), "I");
  EXPECT_EQ(host().Matrix(copyOfR), TranslationMatrix(1, 0, 0));
  EXPECT_EQ(host().Matrix(copyOfI), TranslationMatrix(5, 0, 0));
  EXPECT_EQ(host().LinkTarget(copyOfI), copyOfR);
  ASSERT_TRUE(gemhost::ReadRecord(host(), copyOfR).has_value());
  EXPECT_EQ(gemhost::ReadRecord(host(), copyOfR)->swap_partner, Marker{0});
  EXPECT_EQ(Selection(), (std::vector<GmNode*>{copyOfI}));
  const Marker mCopyOfR = M(copyOfR);
  ExpectUndoRedoRoundTrip();
  EXPECT_TRUE(SwapEnabled());  // on the copy of I, an instance
  SelectOnly({Find(mCopyOfR)});
  EXPECT_FALSE(SwapEnabled());  // its record now holds an empty link
}

TEST_F(Swap, PartnerOfAChainIsTheDirectlyLinkedInstance) {
  GmNode* r = Cube("R");
  GmNode* a = Instance("A", r);
  GmNode* b = Instance("B", a);
  SelectOnly({b});
  ASSERT_TRUE(RunSwap().result);
  const std::vector<GmNode*> top = TopLevel();
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(top[0], r);
  EXPECT_EQ(top[1], b);
  EXPECT_EQ(host().Type(top[2]), kOinstance);  // the copy of A, still linking to R
  EXPECT_EQ(host().LinkTarget(top[2]), r);
  EXPECT_EQ(host().LinkTarget(b), top[2]);
  ExpectUndoRedoRoundTrip();
}

// R has children r1 (with r1a) and r2; I has child i1.
class SwapChildren : public Swap {
 protected:
  void SetUp() override {
    Swap::SetUp();
    r = Cube("R");
    r1 = Null("r1", r);
    r1a = Null("r1a", r1);
    r2 = Null("r2", r);
    i = Instance("I", r);
    i1 = Null("i1", i);
    SelectOnly({i});
  }
  GmNode *r, *r1, *r1a, *r2, *i, *i1;
};

TEST_F(SwapChildren, WithoutCtrlChildrenStayWithTheirParents) {
  const Marker mr = M(r);
  const RunResult res = RunSwap();
  ASSERT_TRUE(res.result);
  GmNode* copy = TopLevel()[1];
  EXPECT_EQ(Children(copy), (std::vector<GmNode*>{r1, r2}));
  EXPECT_EQ(Children(r1), (std::vector<GmNode*>{r1a}));
  EXPECT_EQ(Children(i), (std::vector<GmNode*>{i1}));
  ExpectUndo(res, {{kUndoChange, M(r1)}, {kUndoChange, M(r2)}, {kUndoDeleteObj, M(i)},
                   {kUndoChange, M(i)}, {kUndoChange, mr}, {kUndoNewObj, M(copy)},
                   {kUndoChangeSmall, M(i)}, {kUndoDeleteObj, mr}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(SwapChildren, WithCtrlTheActiveObjectGetsThePartnersDescendantsFlattened) {
  const Marker mr = M(r);
  const RunResult res = RunSwap(kQCtrl);
  ASSERT_TRUE(res.result);
  GmNode* copy = TopLevel()[1];
  EXPECT_EQ(Children(copy), (std::vector<GmNode*>{i1}));
  EXPECT_EQ(Children(i), (std::vector<GmNode*>{r1, r1a, r2}));
  EXPECT_TRUE(Children(r1).empty());
  ExpectUndo(res, {{kUndoChange, M(i1)}, {kUndoDeleteObj, M(r1)}, {kUndoDeleteObj, M(r1a)},
                   {kUndoDeleteObj, M(r2)}, {kUndoDeleteObj, M(i)}, {kUndoChange, M(i)},
                   {kUndoChange, mr}, {kUndoNewObj, M(copy)}, {kUndoChangeSmall, M(i)},
                   {kUndoDeleteObj, mr}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(Swap, CopyTakesThePlaceOfAFirstChild) {
  GmNode* p = Null("P");
  GmNode* r = Cube("R");
  GmNode* i = Instance("I", r, p);
  GmNode* y = Null("Y", p);
  SelectOnly({i});
  ASSERT_TRUE(RunSwap().result);
  const std::vector<GmNode*> kids = Children(p);
  ASSERT_EQ(kids.size(), 2u);
  EXPECT_EQ(Name(kids[0]), "R");
  EXPECT_EQ(kids[1], y);
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{p, i}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Swap, PartnerDirectlyInFrontEndsSecond) {
  Null("A");
  GmNode* r = Cube("R");
  GmNode* i = Instance("I", r);
  Null("Z");
  SelectOnly({i});
  ASSERT_TRUE(RunSwap().result);
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A", "I", "R", "Z"}));
  EXPECT_EQ(TopLevel()[1], i);
  ExpectUndoRedoRoundTrip();
}

TEST_F(Swap, RefusesWithoutAPartner) {
  GmNode* empty = Instance("E", nullptr);
  SelectOnly({empty});
  ExpectRefused();

  GmNode* plain = Cube("Plain");  // no record at all
  SelectOnly({plain});
  ExpectRefused();

  GmNode* gone = Cube("Gone");
  const Marker goneMarker = M(gone);
  host().Delete(gone);
  gemhost::Record rec;
  rec.swap_partner = goneMarker;  // a record whose link no longer resolves
  gemhost::WriteRecord(host(), plain, rec);
  ExpectRefused();
}

TEST_F(Swap, RefusesTheSameOrNestedObjects) {
  GmNode* self = Instance("Self", nullptr);
  host().SetLink(self, self);
  SelectOnly({self});
  ExpectRefused();

  GmNode* outer = Instance("Outer", nullptr);
  GmNode* inner = Cube("Inner", outer);  // the reference lies below the instance
  host().SetLink(outer, inner);
  SelectOnly({outer});
  ExpectRefused(kQCtrl);

  GmNode* ref = Cube("Ref");
  GmNode* below = Instance("Below", ref, ref);  // the instance lies below its reference
  SelectOnly({below});
  ExpectRefused();
}

TEST_F(Swap, RefusesWhenTheCopyOrTheArrayCannotBeMade) {
  GmNode* r = Cube("R");
  Null("r1", r);
  GmNode* i = Instance("I", r);
  SelectOnly({i});
  ExpectRefused(0, [&] { host().faults().FailNext(Alloc::Clone); });
  ExpectRefused(kQCtrl, [&] { host().faults().FailNext(Alloc::Array); });
  // Without a new record the copy would keep the partner's old one, naming its old partner. (The
  // first container of the run holds the input state read for Ctrl.)
  ExpectRefused(0, [&] { host().faults().FailNth(Alloc::Container, 2); });
  EXPECT_EQ(host().DetachedNodes(), 0u);  // the copies made before the array failed were freed
}

// Links held below the copy (children moved there before it entered the document) move to the
// copy like every other link: an instance link and a record's swap partner.
class SwapLinksBelowTheCopy : public Swap {
 protected:
  // `below_partner`: the holders are children of the partner, else of the active object.
  void Check(bool below_partner, int32_t keys) {
    GmNode* r = Cube("R");
    GmNode* i = Instance("I", r);
    GmNode* k = Instance("K", r, below_partner ? r : i);
    GmNode* n = Null("N", below_partner ? r : i);
    gemhost::WriteRecord(host(), n, gemhost::Record{std::nullopt, M(r)});
    SelectOnly({i});
    ASSERT_TRUE(RunSwap(keys).result);
    GmNode* copy = TopLevel()[1];
    ASSERT_EQ(Name(copy), "R");
    EXPECT_EQ(Children(copy), (std::vector<GmNode*>{k, n}));
    EXPECT_EQ(host().LinkTarget(k), copy);
    EXPECT_EQ(host().LinkTarget(i), copy);
    EXPECT_EQ(gemhost::ReadRecord(host(), n)->swap_partner, M(copy));
    ExpectUndoRedoRoundTrip();
  }
};

TEST_F(SwapLinksBelowTheCopy, ChildrenOfThePartner) { Check(true, 0); }
TEST_F(SwapLinksBelowTheCopy, ChildrenOfTheActiveObjectWithCtrl) { Check(false, kQCtrl); }

}  // namespace
}  // namespace gemlith_test
