// Shared helpers of the stand-in's own tests: a host, its table and short names for scene work.
#ifndef GEMLITH_TESTS_STANDIN_TEST_UTIL_H
#define GEMLITH_TESTS_STANDIN_TEST_UTIL_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin/host.h"

namespace standin_test {

using namespace standin;

class HostTest : public ::testing::Test {
 protected:
  HostTest() : api(host.Api()), doc(host.ActiveDocument()) {}

  void TearDown() override {
    std::string all;
    for (const auto& e : host.CodingErrors()) all += "  " + e + "\n";
    EXPECT_TRUE(host.CodingErrors().empty()) << "coding errors:\n" << all;
  }

  // Expects exactly `n` coding errors so far and forgets them.
  void ExpectCodingErrors(size_t n) {
    EXPECT_EQ(host.CodingErrors().size(), n);
    host.ClearCodingErrors();
  }

  std::vector<std::string> Names(const std::vector<GmNode*>& nodes) const {
    std::vector<std::string> out;
    for (GmNode* n : nodes) out.push_back(host.Name(n));
    return out;
  }
  std::vector<std::string> NamesInOrder() const { return Names(host.Walk()); }

  std::vector<GmNode*> Active(int32_t flags) {
    GmArray* arr = api->array_alloc();
    api->doc_get_active_objects(doc, arr, flags);
    std::vector<GmNode*> out;
    for (int32_t i = 0; i < api->array_count(arr); ++i) out.push_back(api->array_index(arr, i));
    api->array_free(arr);
    return out;
  }

  GmNode* Instance(const std::string& name, GmNode* target, GmNode* parent = nullptr) {
    GmNode* n = host.AddObject(kOinstance, name, parent);
    host.SetLink(n, target);
    return n;
  }

  static GmValue Long(int32_t i) {
    GmValue v{};
    v.type = GM_VALUE_LONG;
    v.i32 = i;
    return v;
  }
  static GmValue Link(Marker m) {
    GmValue v{};
    v.type = GM_VALUE_LINK;
    v.marker = m;
    return v;
  }
  // `s` must outlive the value (a literal).
  static GmValue Str(const char* s) {
    GmValue v{};
    v.type = GM_VALUE_STRING;
    v.str = s;
    v.str_len = std::char_traits<char>::length(s);
    return v;
  }

  Host host;
  const GmHostApi* api;
  GmDoc* doc;
};

}  // namespace standin_test

#endif  // GEMLITH_TESTS_STANDIN_TEST_UTIL_H
