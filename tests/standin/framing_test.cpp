// The host's framing commands: world bounding boxes of the selection, instances in mode 0 shown
// as their reference, chains and cycles of instances.
#include <cmath>
#include <thread>

#include "standin_fixture.h"

namespace standin_test {

using Framing = HostTest;

TEST_F(Framing, MeasuresTheSelectionInWorldSpace) {
  // A cube at x=1000 under a parent moved by y=500, an instance in mode 0 of the cube at the
  // origin, and a sphere that is not selected.
  GmNode* parent = host.AddObject(kOnull, "parent");
  host.SetMatrix(parent, TranslationMatrix(0, 500, 0));
  GmNode* cube = host.AddObject(kOcube, "cube", parent);
  host.SetMatrix(cube, TranslationMatrix(1000, 0, 0));
  GmNode* inst = Instance("inst", cube);
  GmNode* multi = Instance("multi", cube);
  host.SetMode(multi, 2);
  host.SetMatrix(multi, TranslationMatrix(0, 0, -300));
  host.AddObject(kOsphere, "sphere");
  host.Select({cube, inst, multi});

  ASSERT_TRUE(api->call_command(kFrameObjectsCommand, 0));
  const View& view = host.GetView();
  ASSERT_TRUE(view.framed);
  // x: -100 .. 1100, y: -100 .. 600, z: -300 .. 100.
  EXPECT_DOUBLE_EQ(view.center[0], 500);
  EXPECT_DOUBLE_EQ(view.center[1], 250);
  EXPECT_DOUBLE_EQ(view.center[2], -100);
  EXPECT_DOUBLE_EQ(view.radius, std::sqrt(1200.0 * 1200 + 700.0 * 700 + 400.0 * 400) / 2);
  ASSERT_EQ(host.activity().framing.size(), 1u);
  EXPECT_EQ(host.activity().framing[0].command, kFrameObjectsCommand);
  EXPECT_EQ(host.activity().framing[0].modes,
            (std::map<Marker, int32_t>{{Host::MarkerOf(inst), 0}, {Host::MarkerOf(multi), 2}}));

  // The instance alone in mode 2 is a point at its origin; in mode 0 the cube's box, but only once
  // a plugin that sets the mode has sent MSG_UPDATE: until then its bounds are the old ones.
  host.Select({multi});
  api->call_command(kFrameElementsCommand, 0);
  EXPECT_DOUBLE_EQ(host.GetView().radius, 0);
  GmValue zero{};
  zero.type = GM_VALUE_LONG;
  ASSERT_TRUE(api->node_set_parameter(multi, kInstanceMode, &zero, 0));
  api->call_command(kFrameElementsCommand, 0);
  EXPECT_DOUBLE_EQ(host.GetView().radius, 0);
  api->node_message(multi, kMsgUpdate, nullptr);
  api->call_command(kFrameElementsCommand, 0);
  EXPECT_DOUBLE_EQ(host.GetView().radius, std::sqrt(3.0) * 100);
  EXPECT_DOUBLE_EQ(host.GetView().center[2], -300);
}

TEST_F(Framing, SurvivesACycleOfInstances) {
  GmNode* a = host.AddObject(kOinstance, "a");
  GmNode* b = Instance("b", a);
  host.SetLink(a, b);
  host.Select({a});
  ASSERT_TRUE(api->call_command(kFrameObjectsCommand, 0));
  EXPECT_DOUBLE_EQ(host.GetView().radius, 0);
}

TEST_F(Framing, EndsACycleThatDoesNotPassTheSelectedInstance) {
  // a → b → c → b: the chain never reaches an object with a box.
  GmNode* a = host.AddObject(kOinstance, "a");
  GmNode* b = host.AddObject(kOinstance, "b");
  GmNode* c = Instance("c", b);
  host.SetLink(a, b);
  host.SetLink(b, c);
  host.Select({a});
  ASSERT_TRUE(api->call_command(kFrameObjectsCommand, 0));
  EXPECT_DOUBLE_EQ(host.GetView().radius, 0);

  // A long chain that ends in a cube shows the cube's box.
  GmNode* cube = host.AddObject(kOcube, "cube");
  GmNode* link = cube;
  for (int i = 0; i < 40; ++i) link = Instance("i", link);
  host.Select({link});
  ASSERT_TRUE(api->call_command(kFrameObjectsCommand, 0));
  EXPECT_DOUBLE_EQ(host.GetView().radius, std::sqrt(3.0) * 100);
}

TEST_F(Framing, CallCommandDoesNothingOffTheMainThread) {
  host.AddObject(kOcube, "cube");
  GmBool result = 1;
  std::thread worker([&] { result = api->call_command(kFrameObjectsCommand, 0); });
  worker.join();
  EXPECT_FALSE(result);
  EXPECT_TRUE(host.activity().framing.empty());
}

}  // namespace standin_test
