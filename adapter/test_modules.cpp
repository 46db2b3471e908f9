// Module files for the adapter's tests: each exports what a module of the application's interface
// exports (its entry point, the kernel's module record, the yield hook), with one thing changed:
// the record's ABI version (GEMLITH_TEST_ABI), a missing export (GEMLITH_TEST_NO_YIELD), or an entry
// point that calls the first entry of the first table when it starts (GEMLITH_TEST_CALL_FIRST).
#include <cstdint>

namespace {
// A module with no records: every list it heads is empty.
void* g_module_info[256] = {};
}  // namespace

extern "C" {

struct TestBinary {
  intptr_t abi_version;
  const void* modules;
  void* rest[16];
};

__attribute__((visibility("default"))) TestBinary g_maxon = {GEMLITH_TEST_ABI, g_module_info, {}};

#ifndef GEMLITH_TEST_NO_YIELD
__attribute__((visibility("default"))) void* g_CpuYieldDelegate = nullptr;
#endif

__attribute__((visibility("default"))) int32_t c4d_main(int32_t action, void* p1, void*, void*) {
  if (action == 4) return 5;  // the plugin protocol's version
#ifdef GEMLITH_TEST_CALL_FIRST
  if (action == 1) {
    // The tables start after the version word: the first is the general one.
    void** general = *reinterpret_cast<void***>(static_cast<char*>(p1) + sizeof(void*));
    reinterpret_cast<void (*)()>(general[0])();
  }
#else
  (void)p1;
#endif
  return 1;
}

}  // extern "C"
