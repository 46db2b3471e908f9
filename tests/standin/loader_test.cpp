// Loading module files and linked modules: the start protocol, registration, menu picks and the
// unload order.
#include <cstdint>

#include "standin_fixture.h"

namespace standin_test {

namespace {

std::string Fixture(const char* name) {
  return std::string(STANDIN_FIXTURE_DIR) + "/standin_fixture_" + name + STANDIN_FIXTURE_SUFFIX;
}

std::string ResPath(const GmHostApi* api) {
  size_t len = 0;
  const char* path = api->plugin_resource_path(&len);
  return std::string(path, len);
}

}  // namespace

using Loader = HostTest;

TEST_F(Loader, WellBehavedModuleRegistersAndUnloads) {
  const LoadResult r = host.LoadModuleFile(Fixture("good"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.init_sys, 1);
  EXPECT_EQ(r.message, 1);
  EXPECT_EQ(r.start, 1);
  EXPECT_EQ(r.registered, 2);

  EXPECT_EQ(ResPath(api), std::string(STANDIN_FIXTURE_DIR) + "/res");

  const std::vector<MenuEntry> menu = host.Menu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].id, 1000001);
  EXPECT_EQ(menu[0].name, "First");
  EXPECT_EQ(menu[0].help, "first help");
  EXPECT_TRUE(menu[0].enabled);
  EXPECT_FALSE(menu[1].enabled);
  EXPECT_FALSE(menu[1].has_icon);

  RunResult run = host.Run(1000001);
  EXPECT_TRUE(run.found && run.enabled && run.result);
  EXPECT_EQ(run.activity.messages, (std::vector<std::string>{"executed"}));
  run = host.Run(1000002);  // greyed: not executed
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.enabled);
  EXPECT_FALSE(run.result);
  EXPECT_TRUE(run.activity.messages.empty());
  run = host.Call(1000002);  // a command call runs it anyway
  EXPECT_TRUE(run.result);
  EXPECT_FALSE(host.Run(42).found);

  host.activity() = Activity{};
  host.Unload();
  EXPECT_EQ(host.activity().messages,
            (std::vector<std::string>{"ended", "destroyed 1000001", "destroyed 1000002"}));
  EXPECT_TRUE(host.Menu().empty());
}

TEST_F(Loader, RefusedRegistrationStopsTheModule) {
  host.faults().refuse_registration = 2;
  const LoadResult r = host.LoadModuleFile(Fixture("good"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.start, 0);
  EXPECT_EQ(r.registered, 1);
  EXPECT_NE(r.error.find("registration answered 0 after 1 entries"), std::string::npos) << r.error;
  host.activity() = Activity{};
  host.Unload();  // only the accepted command is destroyed
  EXPECT_EQ(host.activity().messages, (std::vector<std::string>{"ended", "destroyed 1000001"}));
}

TEST_F(Loader, OldApiVersionOrMissingCoreRecordIsAVersionError) {
  host.faults().api_version = 20999;
  LoadResult r = host.LoadModuleFile(Fixture("good"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.init_sys, -3);
  host.faults().api_version = kApiVersion;
  host.faults().p3_null = true;
  r = host.LoadModuleFile(Fixture("good"));
  EXPECT_EQ(r.init_sys, -3);
  EXPECT_TRUE(host.Menu().empty());
}

TEST_F(Loader, MissingFileNamesTheSystemsReason) {
  const LoadResult r = host.LoadModuleFile(Fixture("does_not_exist"));
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.loaded);
  EXPECT_NE(r.error.find("cannot be loaded"), std::string::npos) << r.error;
  EXPECT_NE(r.error.find("does_not_exist"), std::string::npos) << r.error;
}

TEST_F(Loader, FileWithoutEntryPoint) {
  const LoadResult r = host.LoadModuleFile(Fixture("no_main"));
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.loaded);
  EXPECT_NE(r.error.find("no entry point c4d_main"), std::string::npos) << r.error;
}

TEST_F(Loader, ModuleThatRefusesToStart) {
  const LoadResult r = host.LoadModuleFile(Fixture("refuses"));
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.loaded);
  EXPECT_EQ(r.init_sys, -3);
  EXPECT_NE(r.error.find("action 1 answered -3"), std::string::npos) << r.error;
  // Nothing stays loaded: a working module can be loaded next.
  EXPECT_TRUE(host.LoadModuleFile(Fixture("good")).ok);
}

// A module linked into the test: its entry point records the protocol as the host drives it.
std::vector<int32_t> g_actions;
const GmHostApi* g_api = nullptr;
int g_destroyed = 0;

int32_t LinkedMain(int32_t action, void* p1, void*, void* p3) {
  g_actions.push_back(action);
  if (action == 1) {
    g_api = static_cast<const GmHostApi*>(p1);
    const auto* core = static_cast<const GmCoreInfo*>(p3);
    return core && core->size == sizeof(GmCoreInfo) ? 1 : -3;
  }
  if (action == 6) return reinterpret_cast<intptr_t>(p1) == 1 ? 1 : -1;
  if (action == 2) {
    static const GmCommandCallbacks cb{
        nullptr, [](void*, GmDoc*) -> GmBool { return 1; }, nullptr, nullptr,
        [](void*) { ++g_destroyed; }};
    const GmBool first = g_api->register_command(5, "five", 0, nullptr, "", &cb);
    const GmBool dup = g_api->register_command(5, "again", 0, nullptr, "", &cb);
    return first && !dup ? 1 : 0;
  }
  return 1;
}

TEST_F(Loader, LinkedModuleRunsTheSameProtocol) {
  g_actions.clear();
  g_destroyed = 0;
  const LoadResult r = host.LoadLinkedModule(&LinkedMain, "/somewhere/linked_module");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.registered, 1);
  ExpectCodingErrors(1);  // the duplicate id
  EXPECT_EQ(ResPath(api), "/somewhere/res");
  EXPECT_FALSE(host.LoadLinkedModule(&LinkedMain, "again").ok);  // one module at a time
  host.Unload();
  EXPECT_EQ(g_actions, (std::vector<int32_t>{1, 6, 2, 3}));
  EXPECT_EQ(g_destroyed, 1);
}

// A module whose one command opens an undo group and forgets to close it.
int32_t SloppyMain(int32_t action, void* p1, void*, void*) {
  if (action == 1) g_api = static_cast<const GmHostApi*>(p1);
  if (action == 2) {
    static const GmCommandCallbacks cb{nullptr,
                                       [](void*, GmDoc* doc) -> GmBool {
                                         g_api->doc_start_undo(doc);
                                         g_api->event_add(0);
                                         return 1;
                                       },
                                       nullptr, nullptr, nullptr};
    return g_api->register_command(7, "sloppy", 0, nullptr, "", &cb);
  }
  return 1;
}

TEST_F(Loader, RunResetsTheActivityAndCatchesAnOpenUndoGroup) {
  ASSERT_TRUE(host.LoadLinkedModule(&SloppyMain, "sloppy").ok);
  api->message_dialog("before", 6);
  const RunResult r = host.Run(7);
  EXPECT_TRUE(r.result);
  EXPECT_TRUE(r.activity.messages.empty());
  EXPECT_EQ(r.activity.event_adds, 1);
  EXPECT_EQ(r.activity.undo_groups, 1);
  ASSERT_EQ(r.activity.coding_errors.size(), 1u);
  EXPECT_NE(r.activity.coding_errors[0].find("left an undo group open"), std::string::npos);
  ExpectCodingErrors(1);
  EXPECT_TRUE(host.Call(7).result);  // the group was closed by the host: nothing piles up
  ExpectCodingErrors(1);
}

TEST(LoaderOptions, LinkedModuleTakesTheGivenResFolder) {
  Host host(HostOptions{"", "/given/res"});
  host.LoadLinkedModule(&LinkedMain, "/somewhere/linked_module");
  EXPECT_EQ(ResPath(host.Api()), "/given/res");
  host.ClearCodingErrors();
}

}  // namespace standin_test
