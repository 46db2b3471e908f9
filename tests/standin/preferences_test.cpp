// The world plugin containers and the preferences file that keeps them.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "standin_fixture.h"

namespace standin_test {

class Preferences : public ::testing::Test {
 protected:
  void SetUp() override {
    path = TempPath("prefs.json");
    std::remove(path.c_str());
  }
  void TearDown() override { std::remove(path.c_str()); }
  std::string Read() const {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string path;
};

TEST_F(Preferences, StoredContainersSurviveTheHost) {
  {
    Host host(HostOptions{path, ""});
    const GmHostApi* api = host.Api();
    EXPECT_EQ(api->get_world_plugin_data(kPluginId), nullptr);  // no file: nothing stored
    GmContainer* bc = api->container_alloc();
    const GmValue two = Long(2);
    api->container_set(bc, 0, &two);
    ASSERT_TRUE(api->set_world_plugin_data(kPluginId, bc, 0));
    api->container_free(bc);
  }
  EXPECT_NE(Read().find("\"1000001\""), std::string::npos) << Read();
  Host host(HostOptions{path, ""});
  const GmHostApi* api = host.Api();
  GmContainer* stored = api->get_world_plugin_data(kPluginId);
  ASSERT_NE(stored, nullptr);
  GmValue v{};
  ASSERT_TRUE(api->container_get(stored, 0, &v));
  EXPECT_EQ(v.i32, 2);
  EXPECT_EQ(host.Prefs(kPluginId), (std::map<int32_t, int32_t>{{0, 2}}));
}

TEST_F(Preferences, AddMergesAndReplaceReplaces) {
  Host host(HostOptions{path, ""});
  host.SetPrefs(7, {{0, 1}, {1, 1}});
  const GmHostApi* api = host.Api();
  GmContainer* bc = api->container_alloc();
  const GmValue nine = Long(9);
  api->container_set(bc, 1, &nine);
  api->set_world_plugin_data(7, bc, 1);
  EXPECT_EQ(host.Prefs(7), (std::map<int32_t, int32_t>{{0, 1}, {1, 9}}));
  api->set_world_plugin_data(7, bc, 0);
  EXPECT_EQ(host.Prefs(7), (std::map<int32_t, int32_t>{{1, 9}}));
  api->container_free(bc);
  EXPECT_EQ(host.PrefsError(), "");
}

TEST_F(Preferences, MalformedFileMeansNothingStored) {
  {
    std::ofstream out(path);
    out << "{\"plugins\": [1, 2";
  }
  Host host(HostOptions{path, ""});
  EXPECT_FALSE(host.Prefs(kPluginId).has_value());
  EXPECT_NE(host.PrefsError(), "");
}

}  // namespace standin_test
