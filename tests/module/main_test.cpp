// The module's entry point: its answers to the host's actions, the load counter, the resource, and
// the registration of the ten menu entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module_fixture.h"
#include "resource.h"

namespace gemlith_test {
namespace {

// The host before the module is started: each test loads it (or makes the load fail) itself.
class EntryTest : public ModuleTest {
 protected:
  EntryTest() : ModuleTest(false) {}
  LoadResult Load() { return LoadModule(host()); }
  void* Table() { return const_cast<GmHostApi*>(host().Api()); }
  // A refused start leaves the load counter counted up; a real host then drops the module file,
  // but a linked module stays in this process, so the test ends what it started.
  void EndRefusedStart() { EXPECT_EQ(c4d_main(C4DPL_END, nullptr, nullptr, nullptr), 1); }

  GmCoreInfo core_{static_cast<int32_t>(sizeof(GmCoreInfo)), "gemlith_r21 (linked)"};
};

TEST_F(EntryTest, RegistersTheTenEntriesInTableOrder) {
  const LoadResult load = Load();
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_EQ(load.init_sys, 1);
  EXPECT_EQ(load.message, 1);
  EXPECT_EQ(load.start, 1);
  EXPECT_EQ(load.registered, 10);

  const std::vector<MenuEntry> menu = host().Menu();
  ASSERT_EQ(menu.size(), 10u);
  for (size_t i = 0; i < menu.size(); ++i) EXPECT_EQ(menu[i].id, kMenuOrder[i]) << i;
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_FALSE(menu[i].name.empty()) << menu[i].id;
    EXPECT_FALSE(menu[i].help.empty()) << menu[i].id;
    EXPECT_TRUE(menu[i].has_icon) << menu[i].id;
  }
  // The separator: a literal name, no help, no icon, always enabled.
  EXPECT_EQ(menu[9].name, "#$09--");
  EXPECT_EQ(menu[9].help, "");
  EXPECT_FALSE(menu[9].has_icon);
  EXPECT_TRUE(menu[9].enabled);
}

TEST_F(EntryTest, NamesAndHelpComeFromTheStringTable) {
  ASSERT_TRUE(Load().ok);
  GeResource res;
  ASSERT_TRUE(res.Init(Filename(GEMLITH_RES_DIR)));
  const std::vector<MenuEntry> menu = host().Menu();
  EXPECT_EQ(menu[0].name, res.LoadString(IDS_SELECT).GetStdString());
  EXPECT_EQ(menu[0].help, res.LoadString(IDS_SELECT_HELP).GetStdString());
  EXPECT_EQ(menu[2].name, res.LoadString(IDS_SPLIT).GetStdString());
  EXPECT_EQ(menu[8].name, res.LoadString(IDS_SETTINGS).GetStdString());
  res.Free();
}

TEST_F(EntryTest, ActionTableAnswers) {
  ASSERT_TRUE(Load().ok);
  EXPECT_EQ(c4d_main(4, nullptr, nullptr, nullptr), 5);  // C4DPL_INIT_VERSION: C4DPL_VERSION
  EXPECT_EQ(c4d_main(5, nullptr, nullptr, nullptr), -1);  // no such action: C4DPL_ERROR
  EXPECT_EQ(c4d_main(99, nullptr, nullptr, nullptr), -1);
  // Messages other than 1 are answered with success and do nothing.
  EXPECT_EQ(c4d_main(C4DPL_MESSAGE, reinterpret_cast<void*>(intptr_t{7}), nullptr, nullptr), 1);
  // Message 1 again returns the first result without loading again.
  EXPECT_EQ(c4d_main(C4DPL_MESSAGE, reinterpret_cast<void*>(intptr_t{1}), nullptr, nullptr), 1);
}

TEST_F(EntryTest, OldHostIsRefusedWithVersionError) {
  host().faults().api_version = 20999;
  const LoadResult load = Load();
  EXPECT_FALSE(load.ok);
  EXPECT_EQ(load.init_sys, -3);
  EXPECT_EQ(load.registered, 0);
  EndRefusedStart();
}

TEST_F(EntryTest, MissingCoreRecordIsRefusedWithVersionError) {
  host().faults().p3_null = true;
  const LoadResult load = Load();
  EXPECT_FALSE(load.ok);
  EXPECT_EQ(load.init_sys, -3);
  EndRefusedStart();
}

TEST_F(EntryTest, SecondInitCountsUpAndEndMustComeTwice) {
  ASSERT_TRUE(Load().ok);
  EXPECT_EQ(c4d_main(C4DPL_INIT_SYS, Table(), nullptr, &core_), 1);
  EXPECT_STREQ(g_maxon.module_id, "net.gemlith.instances");
  // The first end only counts down: the module record and the resource stay.
  EXPECT_EQ(c4d_main(C4DPL_END, nullptr, nullptr, nullptr), 1);
  EXPECT_NE(g_maxon.module_id, nullptr);
  EXPECT_FALSE(host().Menu()[0].name.empty());
  // The second end (the host's own, in Unload) releases them.
  host().Unload();
  EXPECT_EQ(g_maxon.module_id, nullptr);
}

TEST_F(EntryTest, MissingResourceFailsMessageAndLeavesNamesEmpty) {
  host().faults().resource_missing = true;
  const LoadResult load = Load();
  EXPECT_EQ(load.message, -1);
  EXPECT_FALSE(load.ok);
  // The host may still ask for registration: every string lookup is empty then.
  if (load.registered > 0) {
    EXPECT_EQ(host().Menu()[0].name, "");
  }
}

TEST_F(EntryTest, RefusalAtEntryFourKeepsTheFirstThree) {
  host().faults().refuse_registration = 4;
  const LoadResult load = Load();
  EXPECT_EQ(load.start, 0);
  EXPECT_EQ(load.registered, 3);
  const std::vector<MenuEntry> menu = host().Menu();
  ASSERT_EQ(menu.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(menu[i].id, kMenuOrder[i]);
  EXPECT_FALSE(host().HasCommand(ID_GEMLITH_RENAME));
}

TEST_F(EntryTest, MissingIconRegistersWithoutIcon) {
  host().faults().missing_icons = {"gx_swap.tif"};
  ASSERT_TRUE(Load().ok);
  for (const MenuEntry& e : host().Menu()) {
    if (e.id == ID_GEMLITH_SWAP) {
      EXPECT_FALSE(e.has_icon);
    }
    if (e.id == ID_GEMLITH_SELECT) {
      EXPECT_TRUE(e.has_icon);
    }
  }
}

TEST(ModuleFile, LoadsThroughItsEntryPoint) {
  Host file_host;  // the module file finds its res folder beside itself
  const LoadResult load = file_host.LoadModuleFile(GEMLITH_MODULE_FILE);
  // The build copies res/ beside the module file; the entries register either way.
  EXPECT_TRUE(load.loaded) << load.error;
  EXPECT_EQ(load.init_sys, 1);
  EXPECT_EQ(load.start, 1) << load.error;
  EXPECT_EQ(load.registered, 10);
  EXPECT_TRUE(file_host.CodingErrors().empty());
  file_host.Unload();
}

}  // namespace
}  // namespace gemlith_test
