// The stand-in's scene model: tree edits and their refusals, clones, links, parameters,
// containers, selection and TransferGoal.
#include "standin/node.h"
#include "standin_test_util.h"

namespace standin_test {

using Scene = HostTest;

TEST_F(Scene, InsertObjectPlacesAfterPredUnderParentOrFirst) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* b = host.AddObject(kOnull, "B");
  GmNode* child = host.AddObject(kOnull, "child", a);

  GmNode* x = api->object_alloc(kOcube);
  api->node_set_name(x, "x", 1);
  api->doc_insert_object(doc, x, nullptr, a, 0);  // after A
  GmNode* y = api->object_alloc(kOcube);
  api->node_set_name(y, "y", 1);
  api->doc_insert_object(doc, y, a, nullptr, 0);  // first child of A
  GmNode* z = api->object_alloc(kOcube);
  api->node_set_name(z, "z", 1);
  api->doc_insert_object(doc, z, nullptr, nullptr, 0);  // first top-level object
  GmNode* w = api->object_alloc(kOcube);
  api->node_set_name(w, "w", 1);
  api->doc_insert_object(doc, w, a, child, 0);  // after child, under A

  EXPECT_EQ(NamesInOrder(), (std::vector<std::string>{"z", "A", "y", "child", "w", "x", "B"}));
  EXPECT_EQ(api->node_get_up(w), a);
  EXPECT_EQ(api->node_get_document(w), doc);
  EXPECT_EQ(api->node_get_pred(b), x);
  EXPECT_EQ(api->doc_get_first_object(doc), z);
}

TEST_F(Scene, MisplacedInsertionsAreCodingErrorsAndChangeNothing) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* b = host.AddObject(kOnull, "B");
  const SceneSnapshot before = host.Capture();

  api->doc_insert_object(doc, a, nullptr, b, 0);  // already in the tree
  api->node_insert_under_last(a, b);              // already in the tree
  ExpectCodingErrors(2);

  // A loose subtree may not be inserted under or after one of its own objects.
  GmNode* loose = api->object_alloc(kOnull);
  GmNode* inner = api->object_alloc(kOnull);
  api->node_insert_under_last(inner, loose);
  api->node_insert_under_last(loose, inner);
  api->node_insert_under_last(loose, loose);
  ExpectCodingErrors(2);

  // Freeing an object that is still in a document.
  api->object_free(b);
  ExpectCodingErrors(1);
  EXPECT_EQ(host.Find(Host::MarkerOf(b)), b);
  EXPECT_EQ(host.Capture(), before);

  api->object_free(loose);  // with its child
  EXPECT_EQ(host.DetachedNodes(), 0u);
}

TEST_F(Scene, RemoveThenFreeTakesTheSubtree) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* c = host.AddObject(kOcube, "c", a);
  host.AddTag(c, "tag");
  const Marker mc = Host::MarkerOf(c);
  const size_t live = host.LiveNodes();
  api->node_remove(a);
  EXPECT_EQ(api->node_get_document(a), nullptr);
  EXPECT_EQ(api->node_get_document(c), nullptr);
  EXPECT_EQ(host.DetachedNodes(), 1u);
  api->object_free(a);
  EXPECT_EQ(host.LiveNodes(), live - 3);
  EXPECT_EQ(host.Find(mc), nullptr);
  EXPECT_TRUE(host.Walk().empty());
}

TEST_F(Scene, InsertUnderLastAppends) {
  GmNode* p = host.AddObject(kOnull, "P");
  for (const char* name : {"1", "2", "3"}) {
    GmNode* n = api->object_alloc(kOnull);
    api->node_set_name(n, name, 1);
    api->node_insert_under_last(n, p);
  }
  EXPECT_EQ(Names(host.Children(p)), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(Scene, CloneCopiesEverythingWithFreshMarkers) {
  GmNode* ref = host.AddObject(kOcube, "ref");
  GmNode* inst = Instance("inst", ref);
  host.SetMode(inst, 2);
  host.SetMatrix(inst, TranslationMatrix(1, 2, 3));
  SetSub(inst, 7, Host::MarkerOf(ref));
  GmNode* tag = host.AddTag(inst, "t");
  GmNode* child = host.AddObject(kOsphere, "child", inst);
  host.SetBits(inst, 0x100);

  GmNode* copy = api->node_get_clone(inst, 0);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(api->node_get_document(copy), nullptr);
  EXPECT_NE(Host::MarkerOf(copy), Host::MarkerOf(inst));
  EXPECT_EQ(host.Name(copy), "inst");
  EXPECT_EQ(host.LinkMarker(copy), Host::MarkerOf(ref));  // links are copied as they are
  EXPECT_EQ(host.Mode(copy), 2);
  EXPECT_EQ(host.Matrix(copy), TranslationMatrix(1, 2, 3));
  EXPECT_EQ(host.Bits(copy), 0x100);
  EXPECT_EQ(host.Data(copy), host.Data(inst));
  ASSERT_EQ(host.Tags(copy).size(), 1u);
  EXPECT_NE(Host::MarkerOf(host.Tags(copy)[0]), Host::MarkerOf(tag));
  ASSERT_EQ(host.Children(copy).size(), 1u);
  EXPECT_NE(host.Children(copy)[0], child);
  EXPECT_EQ(host.Name(host.Children(copy)[0]), "child");

  GmNode* flat = api->node_get_clone(inst, kCopyNoHierarchy);
  EXPECT_TRUE(host.Children(flat).empty());
  EXPECT_EQ(host.Tags(flat).size(), 1u);
  GmNode* guarded = api->node_get_clone(inst, kCopyRecursionCheck);
  EXPECT_EQ(host.Children(guarded).size(), 1u);

  host.faults().FailNext(Alloc::Clone);
  EXPECT_EQ(api->node_get_clone(inst, 0), nullptr);
  for (GmNode* n : {copy, flat, guarded}) api->object_free(n);
}

TEST_F(Scene, SelectedCloneIsSelectedLast) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* b = host.AddObject(kOnull, "B");
  host.Select({a, b});
  GmNode* copy = api->node_get_clone(a, 0);
  api->doc_insert_object(doc, copy, nullptr, nullptr, 0);
  EXPECT_EQ(host.Selection(), (std::vector<GmNode*>{a, b, copy}));
  EXPECT_EQ(api->doc_get_active_object(doc), copy);
}

TEST_F(Scene, LinksResolveByMarkerDocumentAndType) {
  GmNode* cube = host.AddObject(kOcube, "cube");
  GmNode* tag = host.AddTag(cube, "tag");
  GmDoc* other = host.NewDocument();
  GmNode* elsewhere = host.AddObjectTo(other, kOnull, "elsewhere");
  const Marker mc = Host::MarkerOf(cube);

  EXPECT_EQ(api->link_resolve(mc, doc, kObase), cube);
  EXPECT_EQ(api->link_resolve(mc, nullptr, 0), cube);
  EXPECT_EQ(api->link_resolve(mc, other, kObase), nullptr);
  EXPECT_EQ(api->link_resolve(Host::MarkerOf(tag), doc, 0), tag);  // a tag lies in its object's doc
  EXPECT_EQ(api->link_resolve(Host::MarkerOf(tag), doc, kObase), nullptr);
  EXPECT_EQ(api->link_resolve(Host::MarkerOf(elsewhere), other, kObase), elsewhere);
  EXPECT_EQ(api->link_resolve(0, doc, 0), nullptr);

  GmLink* link = api->link_alloc();
  api->link_set(link, cube);
  EXPECT_EQ(api->link_marker(link), mc);
  api->link_set(link, nullptr);
  EXPECT_EQ(api->link_marker(link), 0u);
  api->link_free(link);

  // A freed object leaves the registry: every link to it dies.
  host.Delete(cube);
  EXPECT_EQ(api->link_resolve(mc, nullptr, 0), nullptr);
  EXPECT_EQ(host.Find(mc), nullptr);
}

TEST_F(Scene, InstanceParametersAndTypes) {
  GmNode* cube = host.AddObject(kOcube, "cube");
  GmNode* inst = Instance("inst", cube);
  GmNode* derived = host.AddObject(kOinstanceDerived, "derived");
  GmNode* tag = host.AddTag(cube);

  GmValue v{};
  ASSERT_TRUE(api->node_get_parameter(inst, kInstanceLink, &v, 0));
  EXPECT_EQ(v.type, GM_VALUE_LINK);
  EXPECT_EQ(v.marker, Host::MarkerOf(cube));
  const GmValue mode = Long(2);
  EXPECT_TRUE(api->node_set_parameter(derived, kInstanceMode, &mode, 0));
  ASSERT_TRUE(api->node_get_parameter(derived, kInstanceMode, &v, 0));
  EXPECT_EQ(v.type, GM_VALUE_LONG);
  EXPECT_EQ(v.i32, 2);
  const GmValue wrong = Link(1);
  EXPECT_FALSE(api->node_set_parameter(inst, kInstanceMode, &wrong, 0));
  EXPECT_FALSE(api->node_get_parameter(inst, 999, &v, 0));
  EXPECT_FALSE(api->node_get_parameter(cube, kInstanceLink, &v, 0));

  EXPECT_EQ(api->node_get_type(derived), kOinstanceDerived);
  EXPECT_TRUE(api->node_is_instance_of(derived, kOinstance));
  EXPECT_FALSE(api->node_is_instance_of(cube, kOinstance));
  EXPECT_TRUE(api->node_is_instance_of(cube, kObase));
  EXPECT_FALSE(api->node_is_instance_of(tag, kObase));
  EXPECT_TRUE(api->node_is_instance_of(tag, 0));
  EXPECT_EQ(api->object_alloc(kObase), nullptr);  // a filter, not a type
  EXPECT_TRUE(api->node_message(inst, 5, nullptr));
}

TEST_F(Scene, ContainersKeepOrderReplaceInPlaceAndCopyDeep) {
  GmContainer* bc = api->container_alloc();
  ASSERT_NE(bc, nullptr);
  EXPECT_EQ(*reinterpret_cast<GmContainer**>(bc), bc);  // first word = the handle

  const GmValue one = Long(1), two = Long(2), text = Str("text"), link = Link(42);
  api->container_set(bc, 10, &one);
  api->container_set(bc, 5, &text);
  api->container_set(bc, 7, &link);
  api->container_set(bc, 10, &two);  // replaces in place
  ASSERT_EQ(api->container_count(bc), 3);
  int32_t id = 0;
  GmValue v{};
  ASSERT_TRUE(api->container_get_index(bc, 0, &id, &v));
  EXPECT_EQ(id, 10);
  EXPECT_EQ(v.i32, 2);
  ASSERT_TRUE(api->container_get(bc, 5, &v));
  EXPECT_EQ(std::string(v.str, v.str_len), "text");
  EXPECT_FALSE(api->container_get(bc, 6, &v));

  // A sub-container is copied when set; the instance belongs to the holder.
  GmContainer* sub = api->container_alloc();
  api->container_set(sub, 1, &one);
  GmValue subv{};
  subv.type = GM_VALUE_CONTAINER;
  subv.sub = sub;
  api->container_set(bc, 99, &subv);
  api->container_set(sub, 2, &two);
  GmContainer* held = api->container_get_container_instance(bc, 99);
  ASSERT_NE(held, nullptr);
  EXPECT_NE(held, sub);
  EXPECT_EQ(api->container_count(held), 1);
  EXPECT_EQ(*reinterpret_cast<GmContainer**>(held), held);
  EXPECT_EQ(api->container_get_container_instance(bc, 10), nullptr);

  GmContainer* copy = api->container_alloc();
  api->container_copy(copy, bc);
  GmContainer* copied_sub = api->container_get_container_instance(copy, 99);
  ASSERT_NE(copied_sub, nullptr);
  EXPECT_NE(copied_sub, held);
  api->container_set(held, 3, &one);
  EXPECT_EQ(api->container_count(copied_sub), 1);

  EXPECT_TRUE(api->container_remove(bc, 5));
  EXPECT_FALSE(api->container_remove(bc, 5));
  EXPECT_EQ(api->container_count(bc), 3);

  host.faults().FailNext(Alloc::Container);
  EXPECT_EQ(api->container_alloc(), nullptr);
  GmContainer* after_fault = api->container_alloc();
  EXPECT_NE(after_fault, nullptr);
  for (GmContainer* c : {bc, sub, copy, after_fault}) api->container_free(c);
}

TEST_F(Scene, ActiveObjectsByFlags) {
  // P (selected) > C (selected); Q; R (selected). Selected in the order R, C, P.
  GmNode* p = host.AddObject(kOnull, "P");
  GmNode* c = host.AddObject(kOnull, "C", p);
  GmNode* q = host.AddObject(kOnull, "Q");
  GmNode* r = host.AddObject(kOinstance, "R");
  host.Select({r, c, p});

  EXPECT_EQ(Names(Active(0)), (std::vector<std::string>{"P", "R"}));
  EXPECT_EQ(Names(Active(kActiveChildren)), (std::vector<std::string>{"P", "C", "R"}));
  EXPECT_EQ(Names(Active(kActiveChildren | kActiveSelectionOrder)),
            (std::vector<std::string>{"R", "C", "P"}));
  EXPECT_EQ(Names(Active(kActiveSelectionOrder)), (std::vector<std::string>{"R", "P"}));
  EXPECT_EQ(api->doc_get_active_object(doc), p);

  GmArray* arr = api->array_alloc();
  api->doc_get_active_objects_filter(doc, arr, 1, -1, kOinstance);
  ASSERT_EQ(api->array_count(arr), 1);
  EXPECT_EQ(api->array_index(arr, 0), r);
  api->doc_get_active_objects_filter(doc, arr, 0, kOnull, kObase);
  ASSERT_EQ(api->array_count(arr), 1);
  EXPECT_EQ(api->array_index(arr, 0), p);
  api->array_free(arr);

  // Deselecting and selecting again makes the object the most recent one.
  api->node_set_all_bits(r, 0);
  api->node_set_all_bits(r, kBitActive);
  EXPECT_EQ(api->doc_get_active_object(doc), r);
  EXPECT_EQ(Names(host.Selection()), (std::vector<std::string>{"C", "P", "R"}));
  (void)q;

  // Objects out of the document do not count.
  api->node_remove(r);
  EXPECT_EQ(api->doc_get_active_object(doc), p);
  api->object_free(r);
  host.Select({});
  EXPECT_EQ(api->doc_get_active_object(doc), nullptr);
}

TEST_F(Scene, ArraysFilterAndRemove) {
  GmNode* a = host.AddObject(kOinstance, "a");
  GmNode* b = host.AddObject(kOinstanceDerived, "b");
  GmNode* c = host.AddObject(kOcube, "c");
  GmArray* arr = api->array_alloc();
  for (GmNode* n : {a, b, c, a}) api->array_append(arr, n);
  EXPECT_TRUE(api->array_remove(arr, a));  // the first occurrence
  EXPECT_EQ(api->array_index(arr, 0), b);
  EXPECT_EQ(api->array_index(arr, 3), nullptr);
  EXPECT_EQ(api->array_index(arr, -1), nullptr);
  api->array_filter_object(arr, kOinstance, kOinstance);
  ASSERT_EQ(api->array_count(arr), 1);
  EXPECT_EQ(api->array_index(arr, 0), a);
  api->array_free(arr);

  host.faults().FailNth(Alloc::Array, 2);
  GmArray* first = api->array_alloc();
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(api->array_alloc(), nullptr);
  api->array_free(first);
}

TEST_F(Scene, TransferGoalRedirectsEveryLinkToTheSource) {
  GmNode* src = host.AddObject(kOcube, "src");
  GmNode* dst = host.AddObject(kOcube, "dst");
  GmNode* inst = Instance("inst", src);
  GmNode* holder = host.AddObject(kOnull, "holder");
  SetSub(holder, std::nullopt, Host::MarkerOf(src));  // nested link
  GmNode* tag = host.AddTag(holder, "tag");
  GmContainer* td = api->node_get_data_instance(tag);
  const GmValue l = Link(Host::MarkerOf(src));
  api->container_set(td, 3, &l);
  GmNode* other = Instance("other", dst);

  ASSERT_TRUE(api->node_transfer_goal(src, dst, 0));
  EXPECT_EQ(host.LinkMarker(inst), Host::MarkerOf(dst));
  EXPECT_EQ(SubElement(holder, kSubLink).marker, Host::MarkerOf(dst));
  GmValue v{};
  ASSERT_TRUE(api->container_get(td, 3, &v));
  EXPECT_EQ(v.marker, Host::MarkerOf(dst));
  EXPECT_EQ(host.LinkMarker(other), Host::MarkerOf(dst));
  EXPECT_EQ(host.activity().undo.size(), 0u);
}

TEST_F(Scene, TransferGoalWithUndoLinksIsACodingErrorAndRecordsNothing) {
  GmNode* src = host.AddObject(kOcube, "src");
  GmNode* dst = host.AddObject(kOcube, "dst");
  GmNode* i1 = Instance("i1", src);
  api->doc_start_undo(doc);
  ASSERT_TRUE(api->node_transfer_goal(src, dst, 1));
  api->doc_end_undo(doc);
  EXPECT_EQ(host.LinkTarget(i1), dst);
  EXPECT_TRUE(host.activity().undo.empty());
  ExpectCodingErrors(1);
}

TEST_F(Scene, SnapshotDiffNamesWhatChanged) {
  GmNode* a = host.AddObject(kOcube, "A");
  const SceneSnapshot before = host.Capture();
  host.SetName(a, "B");
  host.SetMatrix(a, TranslationMatrix(0, 5, 0));
  const std::string diff = Diff(before, host.Capture());
  EXPECT_NE(diff.find("name \"A\" -> \"B\""), std::string::npos) << diff;
  EXPECT_NE(diff.find("ml "), std::string::npos) << diff;
  EXPECT_EQ(Diff(before, before), "");
}

}  // namespace standin_test

namespace standin_test {

TEST_F(Scene, MarkersAreNeverReused) {
  GmNode* a = host.AddObject(kOnull, "A");
  const Marker ma = Host::MarkerOf(a);
  host.Delete(a);
  for (int i = 0; i < 10; ++i) EXPECT_GT(Host::MarkerOf(host.AddObject(kOnull)), ma);
}

TEST(SceneCost, AnObjectStaysSmall) {
  // Scenes of many thousand objects must stay cheap: no container until one is asked for.
  static_assert(sizeof(GmNode) <= 512, "an object must stay well below 1 KiB");
  Host host;
  GmNode* n = host.AddObject(kOcube, "cube");
  EXPECT_TRUE(host.Data(n).empty());
}

}  // namespace standin_test
