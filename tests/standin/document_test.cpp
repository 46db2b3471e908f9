// Documents and the object tree: insertion and its refusals, removal, the document order and the
// document an object finds through its ancestors.
#include "standin_fixture.h"

namespace standin_test {

using Document = HostTest;

TEST_F(Document, InsertObjectPlacesAfterPredUnderParentOrFirst) {
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

TEST_F(Document, MisplacedInsertionsAreCodingErrorsAndChangeNothing) {
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

TEST_F(Document, RemoveThenFreeTakesTheSubtree) {
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

TEST_F(Document, InsertUnderLastAppends) {
  GmNode* p = host.AddObject(kOnull, "P");
  for (const char* name : {"1", "2", "3"}) {
    GmNode* n = api->object_alloc(kOnull);
    api->node_set_name(n, name, 1);
    api->node_insert_under_last(n, p);
  }
  EXPECT_EQ(Names(host.Children(p)), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(Document, ManyInsertionsAtOneSpotKeepTheDocumentOrder) {
  // Each insertion right after `first` or at the very front halves the room between two labels:
  // the sibling list must be relabelled without changing the order.
  GmNode* first = host.AddObject(kOnull, "first");
  host.AddObject(kOnull, "last");
  for (int i = 0; i < 200; ++i) {
    GmNode* n = api->object_alloc(kOcube);
    api->doc_insert_object(doc, n, nullptr, i % 2 ? first : nullptr, 0);
  }
  host.Select(host.Walk());
  EXPECT_EQ(Active(kActiveChildren), host.Walk());
  EXPECT_EQ(Active(0), host.Walk());
}

TEST_F(Document, AnObjectMovedToAnotherDocumentIsFoundThereAtOnce) {
  GmDoc* second = host.NewDocument();
  GmNode* x = host.AddObject(kOnull, "X");
  GmNode* child = host.AddObject(kOcube, "child", x);
  GmNode* tag = host.AddTag(child, "tag");
  host.Select({child});
  EXPECT_EQ(api->node_get_document(tag), doc);  // asked once: now remembered
  EXPECT_EQ(api->link_resolve(Host::MarkerOf(child), doc, 0), child);

  api->node_remove(x);
  EXPECT_EQ(api->node_get_document(child), nullptr);
  EXPECT_EQ(api->doc_get_active_object(doc), nullptr);
  api->doc_insert_object(second, x, nullptr, nullptr, 0);
  EXPECT_EQ(api->node_get_document(tag), second);
  EXPECT_EQ(api->link_resolve(Host::MarkerOf(child), doc, 0), nullptr);
  EXPECT_EQ(api->link_resolve(Host::MarkerOf(child), second, 0), child);
  EXPECT_EQ(api->doc_get_active_object(second), child);
  EXPECT_TRUE(Active(kActiveChildren).empty());
}

}  // namespace standin_test
