// The shared instance operations, called directly inside an undo group of the test's own.
#include "module_fixture.h"
#include "instance_ops.h"
#include "resource.h"
#include "scoped.h"

namespace gemlith_test {
namespace {

class InstanceOps : public ModuleTest {};

TEST_F(InstanceOps, ReferenceFollowsChainOnlyWhenAsked) {
  GmNode* c = Cube("C");
  GmNode* b = Instance("B", c);
  GmNode* a = Instance("A", b);
  EXPECT_EQ(GetReferenceObject(Obj(a), false), Obj(b));
  EXPECT_EQ(GetReferenceObject(Obj(a), true), Obj(c));
  EXPECT_EQ(GetReferenceObject(Obj(b), true), Obj(c));
  EXPECT_EQ(GetReferenceObject(Obj(c), true), nullptr);  // not an instance
  EXPECT_EQ(GetReferenceObject(nullptr, true), nullptr);
}

TEST_F(InstanceOps, ReferenceIsNullForEmptyTagOrDeadLinks) {
  GmNode* cube = Cube("Cube");
  GmNode* empty = Instance("empty", nullptr);
  GmNode* toTag = Instance("tag", nullptr);
  host().SetLink(toTag, host().AddTag(cube, "t"));
  GmNode* gone = Cube("gone");
  GmNode* toGone = Instance("dead", gone);
  host().Delete(gone);
  for (GmNode* inst : {empty, toTag, toGone}) {
    EXPECT_EQ(GetReferenceObject(Obj(inst), false), nullptr) << Name(inst);
    EXPECT_EQ(GetReferenceObject(Obj(inst), true), nullptr) << Name(inst);
  }
  EXPECT_TRUE(host().activity().messages.empty());
}

TEST_F(InstanceOps, ChainLimitAllowsTenThousandFurtherLinksAndNoMore) {
  // first -> I1 -> ... -> I10000 -> R: the first link plus 10000 further ones.
  GmNode* r = Cube("R");
  GmNode* next = r;
  for (int i = 0; i < MAX_INSTANCE_CHAIN; ++i) next = Instance("I", next);
  GmNode* first = Instance("first", next);
  EXPECT_EQ(GetReferenceObject(Obj(first), true), Obj(r));
  EXPECT_TRUE(host().activity().messages.empty());

  GmNode* tooLong = Instance("too long", first);
  EXPECT_EQ(GetReferenceObject(Obj(tooLong), true), nullptr);
  EXPECT_EQ(host().activity().messages.size(), 1u);
}

TEST_F(InstanceOps, CycleShowsTheChainLimitMessageOnceAndYieldsNull) {
  GmNode* x = Instance("X", nullptr);
  GmNode* y = Instance("Y", x);
  host().SetLink(x, y);
  EXPECT_EQ(GetReferenceObject(Obj(x), false), Obj(y));
  EXPECT_TRUE(host().activity().messages.empty());
  EXPECT_EQ(GetReferenceObject(Obj(x), true), nullptr);
  ASSERT_EQ(host().activity().messages.size(), 1u);
  EXPECT_EQ(host().activity().messages[0], g_resource.LoadString(IDS_CHAIN_LIMIT).GetStdString());
  EXPECT_FALSE(host().activity().messages[0].empty());
}

TEST_F(InstanceOps, CreateInstanceOfNamesLinksSelectsAndRecordsInOrder) {
  host().SetPrefs(ID_GEMLITH, {{SETTING_INSTANCE_MODE, 2}});
  GmNode* cube = Cube("Cube");
  host().SetMatrix(cube, TranslationMatrix(1, 2, 3));
  SelectOnly({cube});
  BeginDirectCalls();
  BaseObject* made = CreateInstanceOf(Obj(cube));
  ASSERT_NE(made, nullptr);
  GmNode* inst = Node(made);
  EXPECT_EQ(host().DocumentOf(inst), nullptr);  // the caller inserts it
  ModuleDoc()->InsertObject(made, nullptr, nullptr);
  EndDirectCalls();

  EXPECT_EQ(host().Type(inst), kOinstance);
  EXPECT_EQ(Name(inst), "Cube");
  EXPECT_EQ(host().LinkTarget(inst), cube);
  EXPECT_EQ(host().Mode(inst), 2);
  EXPECT_EQ(host().Matrix(inst), IdentityMatrix());  // the matrix is the caller's business
  EXPECT_EQ(Selection(), std::vector<GmNode*>{inst});
  // The new instance is the caller's until it is inserted: only the source's entry.
  ExpectRecorded({{kUndoBits, M(cube)}});
}

TEST_F(InstanceOps, CreateInstanceOfUsesModeZeroWithoutPrefsAndAnyStoredValueUnchanged) {
  GmNode* cube = Cube("Cube");
  BeginDirectCalls();
  BaseObject* plain = CreateInstanceOf(Obj(cube));
  host().SetPrefs(ID_GEMLITH, {{SETTING_INSTANCE_MODE, 77}});  // a value no mode entry carries
  BaseObject* odd = CreateInstanceOf(Obj(cube));
  ModuleDoc()->InsertObject(plain, nullptr, nullptr);
  ModuleDoc()->InsertObject(odd, nullptr, nullptr);
  EndDirectCalls();
  EXPECT_EQ(host().Mode(Node(plain)), 0);
  EXPECT_EQ(host().Mode(Node(odd)), 77);
}

TEST_F(InstanceOps, CreateInstanceOfOnInstanceMakesInstanceOfThatInstance) {
  GmNode* r = Cube("R");
  GmNode* a = Instance("A", r);
  SelectOnly({a});
  BeginDirectCalls();
  BaseObject* made = CreateInstanceOf(Obj(a));
  ModuleDoc()->InsertObject(made, nullptr, nullptr);
  EndDirectCalls();
  EXPECT_EQ(host().LinkTarget(Node(made)), a);
  EXPECT_FALSE(host().IsSelected(a));
  EXPECT_TRUE(host().IsSelected(Node(made)));
}

TEST_F(InstanceOps, CreateInstanceOfFailures) {
  GmNode* cube = Cube("Cube");
  BeginDirectCalls();
  host().faults().FailNext(Alloc::Object);
  EXPECT_EQ(CreateInstanceOf(Obj(cube)), nullptr);
  EXPECT_TRUE(host().activity().undo.empty());
  // Without a link the instance is still made, only unlinked.
  host().faults().FailNext(Alloc::Link);
  BaseObject* unlinked = CreateInstanceOf(Obj(cube));
  ASSERT_NE(unlinked, nullptr);
  ModuleDoc()->InsertObject(unlinked, nullptr, nullptr);
  EndDirectCalls();
  EXPECT_EQ(host().LinkMarker(Node(unlinked)), 0u);
  ExpectRecorded({{kUndoBits, M(cube)}});
}

TEST_F(InstanceOps, LinkInstanceToDemandsTheExactInstanceType) {
  GmNode* cube = Cube("Cube");
  GmNode* derived = Add(kOinstanceDerived, "derived");
  GmNode* inst = Instance("I", nullptr);
  BeginDirectCalls();
  EXPECT_FALSE(LinkInstanceTo(Obj(derived), Obj(cube)));
  EXPECT_FALSE(LinkInstanceTo(Obj(cube), Obj(inst)));
  EXPECT_FALSE(LinkInstanceTo(nullptr, Obj(cube)));
  EXPECT_FALSE(LinkInstanceTo(Obj(inst), nullptr));
  EXPECT_TRUE(host().activity().undo.empty());
  EXPECT_TRUE(LinkInstanceTo(Obj(inst), Obj(cube)));
  EndDirectCalls();
  EXPECT_EQ(host().LinkMarker(derived), 0u);
  EXPECT_EQ(host().LinkTarget(inst), cube);
  ExpectRecorded({{kUndoChangeSmall, M(inst)}});
}

TEST_F(InstanceOps, CloneReferenceRecordsChangeEvenWhenItYieldsNothing) {
  GmNode* r = Cube("R");
  GmNode* child = Cube("child", r);
  GmNode* a = Instance("A", r);
  GmNode* b = Instance("B", a);
  BeginDirectCalls();
  EXPECT_EQ(CloneReferenceObject(Obj(r), false), nullptr);
  BaseObject* direct = CloneReferenceObject(Obj(b), false);
  BaseObject* end = CloneReferenceObject(Obj(b), true);
  EndDirectCalls();
  ASSERT_NE(direct, nullptr);
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(host().Type(Node(direct)), kOinstance);
  EXPECT_EQ(Name(Node(end)), "R");
  ASSERT_EQ(Children(Node(end)).size(), 1u);
  EXPECT_NE(Children(Node(end))[0], child);  // a copy of the child, not the child
  EXPECT_EQ(host().DocumentOf(Node(end)), nullptr);
  ExpectRecorded({{kUndoChange, M(r)}, {kUndoChange, M(b)}, {kUndoChange, M(b)}});
  BaseObject::Free(direct);
  BaseObject::Free(end);
}

TEST_F(InstanceOps, MoveChildrenKeepsOrderAfterExistingChildren) {
  GmNode* from = Null("from");
  GmNode* c1 = Cube("c1", from);
  GmNode* c2 = Cube("c2", from);
  Cube("grandchild", c2);
  GmNode* c3 = Cube("c3", from);
  GmNode* to = Null("to");
  GmNode* own = Cube("own", to);
  GmNode* empty = Null("empty");
  BeginDirectCalls();
  MoveChildren(Obj(empty), Obj(to));
  EXPECT_TRUE(host().activity().undo.empty());
  MoveChildren(Obj(from), Obj(to));
  EndDirectCalls();
  EXPECT_TRUE(Children(from).empty());
  EXPECT_EQ(Children(to), (std::vector<GmNode*>{own, c1, c2, c3}));
  EXPECT_EQ(Children(c2).size(), 1u);
  ExpectRecorded({{kUndoChange, M(c1)}, {kUndoChange, M(c2)}, {kUndoChange, M(c3)}});
}

TEST_F(InstanceOps, MoveChildrenIntoOwnSubtreeMovesNothing) {
  GmNode* from = Null("from");
  GmNode* child = Cube("child", from);
  GmNode* deep = Cube("deep", child);
  BeginDirectCalls();
  MoveChildren(Obj(from), Obj(from));
  MoveChildren(Obj(from), Obj(deep));
  EndDirectCalls();
  EXPECT_EQ(Children(from), std::vector<GmNode*>{child});
  EXPECT_TRUE(host().activity().undo.empty());
}

TEST_F(InstanceOps, CollectDescendantsInPreOrderWithoutTheObject) {
  GmNode* root = Null("root");
  GmNode* a = Cube("a", root);
  GmNode* a1 = Cube("a1", a);
  GmNode* a2 = Cube("a2", a);
  GmNode* a21 = Cube("a21", a2);
  GmNode* b = Cube("b", root);
  Cube("after root");
  ScopedAtomArray arr;
  CollectDescendants(Obj(root), arr.get());
  std::vector<GmNode*> got;
  for (Int32 i = 0; i < arr->GetCount(); ++i) got.push_back(Node(static_cast<BaseObject*>(arr->GetIndex(i))));
  EXPECT_EQ(got, (std::vector<GmNode*>{a, a1, a2, a21, b}));
}

}  // namespace
}  // namespace gemlith_test
