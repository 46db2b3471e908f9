// The registry of live nodes by marker (links resolve by marker, document and type; markers are
// never reused) and the link index TransferGoal walks.
#include "standin_fixture.h"

namespace standin_test {

using Links = HostTest;

TEST_F(Links, LinksResolveByMarkerDocumentAndType) {
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

TEST_F(Links, MarkersAreNeverReused) {
  GmNode* a = host.AddObject(kOnull, "A");
  const Marker ma = Host::MarkerOf(a);
  host.Delete(a);
  for (int i = 0; i < 10; ++i) EXPECT_GT(Host::MarkerOf(host.AddObject(kOnull)), ma);
}

TEST_F(Links, TransferGoalRedirectsEveryLinkToTheSource) {
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

TEST_F(Links, TransferGoalWithUndoLinksIsACodingErrorAndRecordsNothing) {
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

TEST_F(Links, LinksThatReachADataContainerLaterAreFound) {
  GmNode* src = host.AddObject(kOcube, "src");
  GmNode* dst = host.AddObject(kOcube, "dst");
  // A record without links, as framing writes one: nothing to find yet.
  GmNode* framed = host.AddObject(kOinstance, "framed");
  GmContainer* data = api->node_get_data_instance(framed);
  GmContainer* record = api->container_alloc();
  const GmValue mode = Long(2);
  api->container_set(record, kSubLong, &mode);
  const GmValue sub = Sub(record);
  api->container_set(data, kPluginId, &sub);
  api->container_free(record);
  ASSERT_TRUE(api->node_transfer_goal(src, dst, 0));

  // Then a link goes in through the record's own handle; another object's data is overwritten
  // by a copy that holds one.
  const GmValue link = Link(Host::MarkerOf(src));
  GmContainer* inner = api->container_get_container_instance(data, kPluginId);
  api->container_set(inner, kSubLink, &link);
  GmNode* copied = host.AddObject(kOnull, "copied");
  GmContainer* loose = api->container_alloc();
  api->container_set(loose, 9, &link);
  api->container_copy(api->node_get_data_instance(copied), loose);
  api->container_free(loose);

  ASSERT_TRUE(api->node_transfer_goal(src, dst, 0));
  EXPECT_EQ(SubElement(framed, kSubLink).marker, Host::MarkerOf(dst));
  EXPECT_EQ(SubElement(framed, kSubLong).i32, 2);
  GmValue v{};
  ASSERT_TRUE(api->container_get(api->node_get_data_instance(copied), 9, &v));
  EXPECT_EQ(v.marker, Host::MarkerOf(dst));
}

}  // namespace standin_test
