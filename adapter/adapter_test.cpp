// The adapter's own tests: its refusals, its named traps, and the kernel's memory and string
// contract as the module's inline code uses it (everything else is the stand-in's suites run
// through the real module).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "classic.h"
#include "gemlith_api.h"
#include "kernel.h"

namespace {

int32_t Version() { return 21000; }

GmHostApi TestApi() {
  GmHostApi api{};
  api.table_version = GM_API_TABLE_VERSION;
  api.table_size = static_cast<int32_t>(sizeof(GmHostApi));
  api.api_version = Version;
  return api;
}

// Starts a module file through the adapter, as the stand-in host does (action 1).
int32_t StartThroughAdapter(const std::string& module) {
  void* adapter = dlopen(GEMLITH_ADAPTER_FILE, RTLD_NOW | RTLD_LOCAL);
  if (!adapter) return -100;
  auto main = reinterpret_cast<int32_t (*)(int32_t, void*, void*, void*)>(dlsym(adapter, "c4d_main"));
  GmHostApi api = TestApi();
  const std::string path = std::string(GEMLITH_TEST_MODULES) + "/" + module;
  GmCoreInfo core{static_cast<int32_t>(sizeof(GmCoreInfo)), path.c_str()};
  const int32_t answer = main(1, &api, nullptr, &core);
  dlclose(adapter);
  return answer;
}

TEST(AdapterTest, RefusesOtherAbiVersionsAndMissingExportsByName) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(StartThroughAdapter("adapter_test_old_abi.so"), -1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "built for kernel ABI version 21013; the adapter drives version 21014 only"),
            std::string::npos);
  testing::internal::CaptureStderr();
  EXPECT_EQ(StartThroughAdapter("adapter_test_no_yield.so"), -1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("does not export g_CpuYieldDelegate"),
            std::string::npos);
}

TEST(AdapterDeathTest, EveryUnprovidedEntryNamesItself) {
  EXPECT_DEATH(StartThroughAdapter("adapter_test_calls_print.so"),
               "the module called C4D_General.Print, which the adapter does not provide");
  GmHostApi api = TestApi();
  OperatingSystem* os = adapter::BuildTables(&api);
  EXPECT_EQ(os->version, 21000);
  EXPECT_DEATH(os->Cd->Close(nullptr), "C4D_Dialog.Close");
  EXPECT_DEATH(os->CrashHandler(nullptr), "OperatingSystem.CrashHandler");
  adapter::BindKernel(maxon::g_maxon);
  maxon::String s("abc");
  EXPECT_DEATH(s.ToUpper(), "kernel net.maxon.interface.string ToUpper@");
}

// The module's strings are the kernel's: its inline code counts references in the word before
// the object, in steps of 16, copies on write and frees with the last reference.
TEST(AdapterTest, KernelStringsKeepTheModulesMemoryContract) {
  adapter::BindKernel(maxon::g_maxon);
  const long before = adapter::LiveAllocations();
  {
    maxon::StringInterface* made = adapter::NewString("W\xC3\xBCrfel \xE2\x9C\x93", 11);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(made) % 32, 0u);
    EXPECT_EQ(*reinterpret_cast<const uintptr_t*>(reinterpret_cast<const char*>(made) - 8), 16u);
    EXPECT_EQ(adapter::Utf8(made), "W\xC3\xBCrfel \xE2\x9C\x93");
    adapter::Release(made);

    maxon::String a("Cube");
    maxon::String b = a;  // shared
    b += maxon::String(".1");  // copies first
    EXPECT_EQ(adapter::Utf8(a), "Cube");
    EXPECT_EQ(adapter::Utf8(b), "Cube.1");
    EXPECT_EQ(b.GetLength(), 6);
    b.Insert(0, maxon::String("my "));
    EXPECT_EQ(adapter::Utf8(b), "my Cube.1");
  }
  EXPECT_EQ(adapter::LiveAllocations(), before);
}

}  // namespace
