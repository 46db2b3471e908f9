// Undo and redo of every entry type, the group rules and the ownership of what undo holds.
#include "standin_fixture.h"

namespace standin_test {

class Undo : public HostTest {
 protected:
  // Runs `step` in one undo group and checks that one undo gives back the scene before it and one
  // redo the scene after it (twice, to show the entries survive a round trip).
  template <class Fn>
  void ExpectRoundTrip(Fn step) {
    const SceneSnapshot before = host.Capture();
    api->doc_start_undo(doc);
    step();
    api->doc_end_undo(doc);
    const SceneSnapshot after = host.Capture();
    ASSERT_EQ(host.UndoSteps(), 1);
    for (int round = 0; round < 2; ++round) {
      ASSERT_TRUE(host.Undo());
      EXPECT_EQ(Diff(before, host.Capture()), "") << "undo, round " << round;
      ASSERT_TRUE(host.Redo());
      EXPECT_EQ(Diff(after, host.Capture()), "") << "redo, round " << round;
    }
  }
  Marker M(const GmNode* n) const { return Host::MarkerOf(n); }
};

TEST_F(Undo, BitsRestoreSelectionAndItsOrder) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* b = host.AddObject(kOnull, "B");
  host.Select({b, a});
  ExpectRoundTrip([&] {
    api->doc_add_undo(doc, kUndoBits, b);
    api->node_set_all_bits(b, 0);
    api->doc_add_undo(doc, kUndoBits, b);
    api->node_set_all_bits(b, kBitActive);  // now selected after A
    api->doc_add_undo(doc, kUndoBits, a);
    api->node_set_all_bits(a, kBitActive | 0x10);
  });
  EXPECT_EQ(host.Selection(), (std::vector<GmNode*>{a, b}));
  host.Undo();
  EXPECT_EQ(host.Selection(), (std::vector<GmNode*>{b, a}));
  EXPECT_EQ(host.Bits(a), kBitActive);
}

TEST_F(Undo, ChangeSmallRestoresTheNodesOwnData) {
  GmNode* ref = host.AddObject(kOcube, "ref");
  GmNode* inst = Instance("inst", nullptr);
  GmNode* tag = host.AddTag(inst, "tag");
  ExpectRoundTrip([&] {
    api->doc_add_undo(doc, kUndoChangeSmall, inst);
    api->node_set_name(inst, "renamed", 7);
    const GmValue link = Link(M(ref));
    const GmValue mode = Long(2);
    api->node_set_parameter(inst, kInstanceLink, &link, 0);
    api->node_set_parameter(inst, kInstanceMode, &mode, 0);
    const GmMatrix m = TranslationMatrix(4, 5, 6);
    api->object_set_ml(inst, &m);
    GmContainer* rec = api->container_alloc();
    const GmValue one = Long(1);
    api->container_set(rec, 1, &one);
    const GmValue sub = Sub(rec);
    api->container_set(api->node_get_data_instance(inst), kPluginId, &sub);
    api->container_free(rec);
    api->doc_add_undo(doc, kUndoChangeSmall, tag);  // a tag is covered by an entry of its own
    api->node_set_name(tag, "tag2", 4);
  });
  EXPECT_EQ(host.Name(inst), "renamed");
  host.Undo();
  EXPECT_EQ(host.Name(inst), "inst");
  EXPECT_EQ(host.Name(tag), "tag");
  EXPECT_EQ(host.Find(M(tag)), tag);  // the tag keeps its identity
}

TEST_F(Undo, ChangeRestoresThePlace) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* b = host.AddObject(kOnull, "B");
  GmNode* c1 = host.AddObject(kOnull, "c1", a);
  GmNode* c2 = host.AddObject(kOnull, "c2", a);
  GmNode* c3 = host.AddObject(kOnull, "c3", a);
  host.AddObject(kOnull, "b1", b);
  // Moves every child of A to the end of B's children, as MoveChildren does.
  ExpectRoundTrip([&] {
    for (GmNode* c : {c1, c2, c3}) {
      api->doc_add_undo(doc, kUndoChange, c);
      api->node_remove(c);
      api->node_insert_under_last(c, b);
    }
  });
  EXPECT_EQ(Names(host.Children(b)), (std::vector<std::string>{"b1", "c1", "c2", "c3"}));
  host.Undo();
  EXPECT_EQ(Names(host.Children(a)), (std::vector<std::string>{"c1", "c2", "c3"}));
}

TEST_F(Undo, NewObjectIsTakenOutAndKeptForRedo) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* made = nullptr;
  const size_t live = host.LiveNodes();
  ExpectRoundTrip([&] {
    made = api->object_alloc(kOinstance);
    GmNode* child = api->object_alloc(kOcube);
    api->node_insert_under_last(child, made);
    api->node_set_name(made, "made", 4);  // still ours: no entry
    api->doc_insert_object(doc, made, nullptr, a, 0);
    api->doc_add_undo(doc, kUndoNewObj, made);  // after the insertion
  });
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A", "made", ""}));
  host.Undo();
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(host.Find(M(made)), made);  // alive, held by the redo step
  EXPECT_EQ(host.DetachedNodes(), 0u);  // held, not leaked
  EXPECT_EQ(host.LiveNodes(), live + 2);

  // A new step drops the redo step and frees what it held.
  const Marker m_made = M(made);
  api->doc_start_undo(doc);
  api->doc_add_undo(doc, kUndoBits, a);
  api->doc_end_undo(doc);
  EXPECT_EQ(host.RedoSteps(), 0);
  EXPECT_EQ(host.Find(m_made), nullptr);
  EXPECT_EQ(host.LiveNodes(), live);
}

TEST_F(Undo, DeletedObjectComesBackWithItsIdentityAndItsLinksResolve) {
  GmNode* p = host.AddObject(kOnull, "P");
  GmNode* ref = host.AddObject(kOcube, "ref", p);
  GmNode* child = host.AddObject(kOsphere, "child", ref);
  GmNode* tag = host.AddTag(ref, "tag");
  host.AddObject(kOnull, "after", p);
  GmNode* inst = Instance("inst", ref);
  GmNode* to_tag = Instance("to_tag", nullptr);
  host.SetLinkMarker(to_tag, M(tag));
  host.SetMatrix(ref, TranslationMatrix(0, 0, 9));
  host.Select({child, ref});
  const Marker mref = M(ref), mchild = M(child), mtag = M(tag);

  ExpectRoundTrip([&] {
    api->doc_add_undo(doc, kUndoDeleteObj, ref);
    api->node_remove(ref);
    api->object_free(ref);
  });
  EXPECT_EQ(host.Find(mref), nullptr);
  EXPECT_EQ(host.LinkTarget(inst), nullptr);

  ASSERT_TRUE(host.Undo());
  GmNode* back = host.Find(mref);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(api->link_resolve(host.LinkMarker(inst), doc, kObase), back);
  EXPECT_EQ(api->link_resolve(mtag, doc, 0), host.Find(mtag));
  EXPECT_NE(host.Find(mchild), nullptr);
  EXPECT_EQ(host.Selection(), (std::vector<GmNode*>{host.Find(mchild), back}));

  ASSERT_TRUE(host.Redo());  // frees it again
  EXPECT_EQ(host.Find(mref), nullptr);
  EXPECT_EQ(host.Find(mchild), nullptr);
}

TEST_F(Undo, DeleteObjForAnObjectThatIsMovedIsACodingError) {
  // DELETEOBJ is for deletion: an application restores the stored object on undo, and the moved
  // one would stay beside it.
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* moved = host.AddObject(kOcube, "moved", a);
  GmNode* b = host.AddObject(kOnull, "B");
  api->doc_start_undo(doc);
  api->doc_start_undo(doc);
  api->doc_add_undo(doc, kUndoDeleteObj, moved);
  api->node_remove(moved);
  api->node_insert_under_last(moved, b);
  api->doc_end_undo(doc);
  ExpectCodingErrors(0);  // checked when the outermost group closes
  api->doc_end_undo(doc);
  ExpectCodingErrors(1);
}

TEST_F(Undo, ChangeOfAnObjectFreedLaterBringsItBack) {
  // Recorded for the object, then the object is removed and freed without an entry of its own.
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* partner = host.AddObject(kOcube, "partner");
  host.AddObject(kOnull, "B");
  GmNode* inst = Instance("inst", partner);
  ExpectRoundTrip([&] {
    api->doc_add_undo(doc, kUndoChange, partner);
    const GmMatrix m = TranslationMatrix(1, 1, 1);
    api->object_set_ml(partner, &m);
    api->node_remove(partner);
    api->object_free(partner);
  });
  host.Undo();
  EXPECT_NE(host.LinkTarget(inst), nullptr);
  (void)a;
}

TEST_F(Undo, NeighboursTradingPlacesRoundTrip) {
  // Two neighbours exchanged as Swap does, each moved after its CHANGE entry: every place restored
  // names the other as its previous sibling at some point.
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* r = host.AddObject(kOcube, "R");
  host.AddObject(kOnull, "rc", r);
  GmNode* i = Instance("I", r);
  host.SetMatrix(i, TranslationMatrix(5, 0, 0));
  host.AddObject(kOnull, "Z");
  host.Select({i});
  ExpectRoundTrip([&] {
    const GmMatrix mi = *api->object_get_ml(i);
    const GmMatrix mr = *api->object_get_ml(r);
    api->doc_add_undo(doc, kUndoChange, i);
    api->node_remove(i);
    api->doc_insert_object(doc, i, nullptr, api->node_get_pred(r), 0);
    api->object_set_ml(i, &mr);
    api->doc_add_undo(doc, kUndoChange, r);
    api->node_remove(r);
    api->doc_insert_object(doc, r, nullptr, i, 0);
    api->object_set_ml(r, &mi);
    api->doc_add_undo(doc, kUndoBits, i);
    api->node_set_all_bits(i, api->node_get_all_bits(i) ^ kBitActive);
    api->doc_add_undo(doc, kUndoBits, r);
    api->node_set_all_bits(r, api->node_get_all_bits(r) ^ kBitActive);
  });
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"A", "I", "R", "rc", "Z"}));
  EXPECT_EQ(host.Selection(), (std::vector<GmNode*>{r}));
  (void)a;
}

TEST_F(Undo, WhatWasNotRecordedStays) {
  // Undo puts back only what its entries cover: an unrecorded insertion, an unrecorded link change
  // and a tag changed after a CHANGE_SMALL entry for its object survive it.
  GmNode* r = host.AddObject(kOcube, "R");
  GmNode* j = Instance("J", r);
  GmNode* x = host.AddObject(kOnull, "X");
  GmNode* tag = host.AddTag(x, "tag");
  api->doc_start_undo(doc);
  api->doc_add_undo(doc, kUndoChangeSmall, x);
  api->node_set_name(tag, "renamed", 7);
  api->doc_add_undo(doc, kUndoChange, r);
  host.SetName(r, "changed");
  GmNode* copy = api->node_get_clone(r, 0);
  api->doc_insert_object(doc, copy, nullptr, nullptr, 0);
  api->node_transfer_goal(r, copy, 0);
  api->doc_end_undo(doc);
  ASSERT_TRUE(host.Undo());
  EXPECT_EQ(host.Name(r), "R");
  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"R", "changed", "J", "X"}));
  EXPECT_EQ(host.LinkTarget(j), copy);
  EXPECT_EQ(host.Name(tag), "renamed");
}

TEST_F(Undo, GroupRules) {
  GmNode* a = host.AddObject(kOnull, "A");
  EXPECT_FALSE(api->doc_add_undo(doc, kUndoBits, a));
  ExpectCodingErrors(1);
  EXPECT_FALSE(api->doc_end_undo(doc));
  ExpectCodingErrors(1);

  // Nested groups make one step; only the outermost StartUndo counts as a group.
  api->doc_start_undo(doc);
  api->doc_start_undo(doc);
  api->doc_add_undo(doc, kUndoBits, a);
  api->doc_end_undo(doc);
  EXPECT_EQ(host.UndoSteps(), 0);
  api->doc_add_undo(doc, kUndoBits, a);
  api->doc_end_undo(doc);
  EXPECT_EQ(host.UndoSteps(), 1);
  EXPECT_EQ(host.activity().undo_groups, 1);
  EXPECT_EQ(host.activity().undo.size(), 2u);

  // A group without entries makes no step.
  api->doc_start_undo(doc);
  api->doc_end_undo(doc);
  EXPECT_EQ(host.UndoSteps(), 1);

  // Undo refuses while a group is open; an empty history has nothing to undo.
  api->doc_start_undo(doc);
  EXPECT_FALSE(host.Undo());
  ExpectCodingErrors(1);
  api->doc_end_undo(doc);
  EXPECT_TRUE(host.Undo());
  EXPECT_FALSE(host.Undo());
  EXPECT_TRUE(host.Redo());
  EXPECT_FALSE(host.Redo());
}

TEST_F(Undo, EntryForAnObjectOfAnotherOrNoDocumentIsRefused) {
  GmDoc* other = host.NewDocument();
  GmNode* there = host.AddObjectTo(other, kOnull, "there");
  api->doc_start_undo(doc);
  EXPECT_FALSE(api->doc_add_undo(doc, kUndoBits, there));
  EXPECT_FALSE(api->doc_add_undo(doc, 12345, there));
  api->doc_end_undo(doc);
  ExpectCodingErrors(2);

  // A new object is recorded once it is inserted, not before; nor is anything else of it.
  GmNode* made = api->object_alloc(kOinstance);
  GmNode* tag = host.AddTag(made, "tag");
  api->doc_start_undo(doc);
  for (int32_t type : {kUndoNewObj, kUndoChangeSmall, kUndoBits})
    EXPECT_FALSE(api->doc_add_undo(doc, type, made));
  EXPECT_FALSE(api->doc_add_undo(doc, kUndoChangeSmall, tag));
  api->doc_insert_object(doc, made, nullptr, nullptr, 0);
  EXPECT_TRUE(api->doc_add_undo(doc, kUndoNewObj, made));
  EXPECT_TRUE(api->doc_add_undo(doc, kUndoChangeSmall, tag));
  api->doc_end_undo(doc);
  ExpectCodingErrors(4);
}

TEST_F(Undo, ABitsStepHoldsThirtyTwoBytesAnEntry) {
  std::vector<GmNode*> objects;
  for (int i = 0; i < 5000; ++i) objects.push_back(host.AddObject(kOcube));
  api->doc_start_undo(doc);
  for (GmNode* n : objects) {
    api->doc_add_undo(doc, kUndoBits, n);
    api->node_set_all_bits(n, kBitActive);
  }
  api->doc_end_undo(doc);
  const UndoStepSize step = host.NewestUndoStep();
  EXPECT_EQ(step.entries, objects.size());
  // The entries themselves, plus at most one block of room and the step's own bookkeeping.
  EXPECT_LE(step.bytes, 32 * step.entries + 32 * 1024 + 1024);
  ASSERT_TRUE(host.Undo());
  EXPECT_TRUE(host.Selection().empty());
}

TEST_F(Undo, DroppingTheRedoStepsFreesWhatOnlyTheyHeld) {
  GmNode* a = host.AddObject(kOcube, "a");
  const size_t live = host.LiveNodes();
  api->doc_start_undo(doc);
  GmNode* copy = api->node_get_clone(a, 0);
  api->doc_insert_object(doc, copy, nullptr, a, 0);
  api->doc_add_undo(doc, kUndoNewObj, copy);
  api->doc_end_undo(doc);
  ASSERT_TRUE(host.Undo());
  EXPECT_EQ(host.LiveNodes(), live + 1);  // the copy, kept for the redo
  host.DropRedo();
  EXPECT_EQ(host.LiveNodes(), live);
  EXPECT_EQ(host.RedoSteps(), 0);
}

}  // namespace standin_test
