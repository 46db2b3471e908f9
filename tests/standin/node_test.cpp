// Nodes: clones, the instance parameters and the type tests, and what an object costs.
#include "standin/node.h"
#include "standin_fixture.h"

namespace standin_test {

using Node = HostTest;

TEST_F(Node, CloneCopiesEverythingWithFreshMarkers) {
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

TEST_F(Node, InstanceParametersAndTypes) {
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

TEST_F(Node, AnObjectStaysSmall) {
  // Scenes of many thousand objects must stay cheap: no container until one is asked for.
  static_assert(sizeof(GmNode) <= 512, "an object must stay well below 1 KiB");
  GmNode* n = host.AddObject(kOcube, "cube");
  EXPECT_TRUE(host.Data(n).empty());
}

}  // namespace standin_test
