// The bare stand-in host (HostTest, the fixture of the stand-in's own tests): a host without a
// module, its table and short names for scene work.
#ifndef GEMLITH_TESTS_SUPPORT_STANDIN_FIXTURE_H
#define GEMLITH_TESTS_SUPPORT_STANDIN_FIXTURE_H

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "standin/host.h"

namespace standin_test {

using namespace standin;

// A plugin's id, as it keys the plugin's sub-container in an object's data, its preferences and
// its dialog; the host gives none of them a meaning. Elements of that sub-container:
constexpr int32_t kPluginId = 1000001;
constexpr int32_t kSubLong = 1;  // an Int32
constexpr int32_t kSubLink = 2;  // a link

// Values for the table's setters.
inline GmValue Long(int32_t i) {
  GmValue v{};
  v.type = GM_VALUE_LONG;
  v.i32 = i;
  return v;
}
inline GmValue Link(Marker m) {
  GmValue v{};
  v.type = GM_VALUE_LINK;
  v.marker = m;
  return v;
}
// A sub-container value: setting it copies `c`, which stays the caller's.
inline GmValue Sub(GmContainer* c) {
  GmValue v{};
  v.type = GM_VALUE_CONTAINER;
  v.sub = c;
  return v;
}
// `s` must outlive the value (a literal).
inline GmValue Str(const char* s) {
  GmValue v{};
  v.type = GM_VALUE_STRING;
  v.str = s;
  v.str_len = std::char_traits<char>::length(s);
  return v;
}

// A path in the test folder, unique to the running test: "standin_<test>_<leaf>".
inline std::string TempPath(const std::string& leaf) {
  return ::testing::TempDir() + "standin_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + leaf;
}
inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

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

  // Puts the sub-container {kSubLong: i, kSubLink: link} under kPluginId in the node's data.
  void SetSub(GmNode* node, std::optional<int32_t> i, Marker link) {
    ValueData sub, l;
    sub.type = GM_VALUE_CONTAINER;
    if (i) sub.sub.emplace_back(kSubLong, ValueData{GM_VALUE_LONG, *i, 0, "", 0, {}});
    l.type = GM_VALUE_LINK;
    l.marker = link;
    sub.sub.emplace_back(kSubLink, l);
    host.SetDataElement(node, kPluginId, sub);
  }
  // Element `id` of the sub-container under kPluginId, or an empty value.
  ValueData SubElement(const GmNode* node, int32_t id) const {
    for (const auto& [pid, v] : host.Data(node))
      for (const auto& [e, ev] : v.sub)
        if (pid == kPluginId && e == id) return ev;
    return {};
  }

  Host host;
  const GmHostApi* api;
  GmDoc* doc;
};

}  // namespace standin_test

#endif  // GEMLITH_TESTS_SUPPORT_STANDIN_FIXTURE_H
