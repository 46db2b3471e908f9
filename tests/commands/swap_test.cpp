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

TEST_F(Swap, InstanceAndReferenceTradePlacesAndMatricesKeepingEveryLink) {
  GmNode* r = Cube("R");
  GmNode* x = Null("X");
  GmNode* i = Instance("I", r);
  GmNode* j = Instance("J", r);
  GmNode* k = Instance("K", i);
  host().SetMatrix(r, TranslationMatrix(1, 0, 0));
  host().SetMatrix(i, TranslationMatrix(5, 0, 0));
  // Links to either object held in another object's data and in a tag's data.
  gemhost::WriteRecord(host(), x, gemhost::Record{std::nullopt, M(r)});
  GmNode* tag = host().AddTag(x, "T");
  ValueData toI;
  toI.type = GM_VALUE_LINK;
  toI.marker = M(i);
  host().SetDataElement(tag, 7, toI);
  const std::vector<GmNode*> all = host().Walk();
  SelectOnly({i});

  const RunResult r1 = RunSwap();
  ASSERT_TRUE(r1.result);
  EXPECT_EQ(r1.activity.event_adds, 1);
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{i, x, r, j, k}));
  EXPECT_EQ(host().Matrix(i), TranslationMatrix(1, 0, 0));
  EXPECT_EQ(host().Matrix(r), TranslationMatrix(5, 0, 0));
  EXPECT_EQ(host().Walk().size(), all.size());  // nothing copied, nothing freed
  for (GmNode* inst : {i, j}) EXPECT_EQ(host().LinkTarget(inst), r) << Name(inst);
  EXPECT_EQ(host().LinkTarget(k), i);
  EXPECT_EQ(gemhost::ReadRecord(host(), x)->swap_partner, M(r));
  EXPECT_EQ(host().Data(tag), (ContainerData{{7, toI}}));
  EXPECT_EQ(Selection(), (std::vector<GmNode*>{r}));
  EXPECT_EQ(gemhost::ReadRecord(host(), r)->swap_partner, M(i));
  ExpectUndo(r1, {{kUndoChange, M(i)}, {kUndoChange, M(r)}, {kUndoBits, M(i)}, {kUndoBits, M(r)}});
  ExpectUndoRedoRoundTrip();  // whole scenes, links and identities included
}

TEST_F(Swap, SecondSwapRestoresPlacesAndMatrices) {
  GmNode* r = Cube("R");
  GmNode* i = Instance("I", r);
  host().SetMatrix(r, TranslationMatrix(1, 0, 0));
  host().SetMatrix(i, TranslationMatrix(5, 0, 0));
  SelectOnly({i});
  ASSERT_TRUE(RunSwap().result);
  ASSERT_EQ(Selection(), (std::vector<GmNode*>{r}));  // the first swap left the reference active

  const RunResult r2 = RunSwap();
  ASSERT_TRUE(r2.result);
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{r, i}));
  EXPECT_EQ(host().Matrix(r), TranslationMatrix(1, 0, 0));
  EXPECT_EQ(host().Matrix(i), TranslationMatrix(5, 0, 0));
  EXPECT_EQ(host().LinkTarget(i), r);
  ASSERT_TRUE(gemhost::ReadRecord(host(), r).has_value());
  EXPECT_EQ(gemhost::ReadRecord(host(), r)->swap_partner, Marker{0});
  EXPECT_EQ(Selection(), (std::vector<GmNode*>{i}));
  ExpectUndo(r2, {{kUndoChange, M(r)}, {kUndoChange, M(i)}, {kUndoBits, M(r)}, {kUndoBits, M(i)}});
  ExpectUndoRedoRoundTrip();
  EXPECT_TRUE(SwapEnabled());  // on I, an instance
  SelectOnly({r});
  EXPECT_FALSE(SwapEnabled());  // its record now holds an empty link
}

TEST_F(Swap, PartnerOfAChainIsTheDirectlyLinkedInstance) {
  GmNode* r = Cube("R");
  GmNode* a = Instance("A", r);
  GmNode* b = Instance("B", a);
  SelectOnly({b});
  ASSERT_TRUE(RunSwap().result);
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{r, b, a}));
  EXPECT_EQ(host().LinkTarget(a), r);
  EXPECT_EQ(host().LinkTarget(b), a);
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
  const RunResult res = RunSwap();
  ASSERT_TRUE(res.result);
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{i, r}));
  EXPECT_EQ(Children(r), (std::vector<GmNode*>{r1, r2}));
  EXPECT_EQ(Children(r1), (std::vector<GmNode*>{r1a}));
  EXPECT_EQ(Children(i), (std::vector<GmNode*>{i1}));
  ExpectUndo(res, {{kUndoChange, M(i)}, {kUndoChange, M(r)}, {kUndoBits, M(i)}, {kUndoBits, M(r)}});
  ExpectUndoRedoRoundTrip();
}

TEST_F(SwapChildren, WithCtrlTheActiveObjectGetsThePartnersDescendantsFlattened) {
  const RunResult res = RunSwap(kQCtrl);
  ASSERT_TRUE(res.result);
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{i, r}));
  EXPECT_EQ(Children(r), (std::vector<GmNode*>{i1}));
  EXPECT_EQ(Children(i), (std::vector<GmNode*>{r1, r1a, r2}));
  EXPECT_TRUE(Children(r1).empty());
  ExpectUndo(res, {{kUndoChange, M(i1)}, {kUndoChange, M(r1)}, {kUndoChange, M(r1a)},
                   {kUndoChange, M(r2)}, {kUndoChange, M(i)}, {kUndoChange, M(r)},
                   {kUndoBits, M(i)}, {kUndoBits, M(r)}});
  ExpectUndoRedoRoundTrip();
  // Swapping back with Ctrl again: each side takes the other's children, flattened.
  ASSERT_TRUE(RunSwap(kQCtrl).result);
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{r, i}));
  EXPECT_EQ(Children(r), (std::vector<GmNode*>{r1, r1a, r2}));
  EXPECT_EQ(Children(i), (std::vector<GmNode*>{i1}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Swap, ReferenceTakesThePlaceOfAFirstChild) {
  GmNode* p = Null("P");
  GmNode* r = Cube("R");
  GmNode* i = Instance("I", r, p);
  GmNode* y = Null("Y", p);
  SelectOnly({i});
  ASSERT_TRUE(RunSwap().result);
  EXPECT_EQ(Children(p), (std::vector<GmNode*>{r, y}));
  EXPECT_EQ(TopLevel(), (std::vector<GmNode*>{p, i}));
  ExpectUndoRedoRoundTrip();
}

TEST_F(Swap, NeighboursTradePlacesInEitherOrder) {
  Null("A");
  GmNode* i = Instance("I", Cube("R"));
  Null("Z");
  SelectOnly({i});  // the partner directly in front of the active object
  ASSERT_TRUE(RunSwap().result);
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A", "I", "R", "Z"}));
  ExpectUndoRedoRoundTrip();
  SelectOnly({i});  // now the active object stands directly in front of its partner
  ASSERT_TRUE(RunSwap().result);
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A", "R", "I", "Z"}));
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

TEST_F(Swap, RefusesWhenTheRecordOrTheArrayCannotBeMade) {
  GmNode* r = Cube("R");
  Null("r1", r);
  GmNode* i = Instance("I", r);
  SelectOnly({i});
  ExpectRefused(kQCtrl, [&] { host().faults().FailNext(Alloc::Array); });
  // Without a new record the reference would keep its old one, naming its old partner. (The first
  // container of the run holds the input state read for Ctrl.)
  ExpectRefused(0, [&] { host().faults().FailNth(Alloc::Container, 2); });
}

}  // namespace
}  // namespace gemlith_test
