// Scene snapshots and their differences, what every undo and command test compares: each field a
// snapshot holds must be captured, compared and named, or every round trip stops checking it.
#include <functional>

#include "standin_fixture.h"

namespace standin_test {
namespace {

// P1 > [P2 > [B (tag t)], X], I (an instance of B, mode 1), C; B then C selected.
struct Scene {
  explicit Scene(Host& h) : host(h), api(h.Api()), doc(h.ActiveDocument()) {
    p1 = host.AddObject(kOnull, "P1");
    p2 = host.AddObject(kOnull, "P2", p1);
    b = host.AddObject(kOcube, "B", p2);
    tag = host.AddTag(b, "t");
    x = host.AddObject(kOcube, "X", p1);
    i = host.AddObject(kOinstance, "I");
    host.SetLink(i, b);
    host.SetMode(i, 1);
    c = host.AddObject(kOcube, "C");
    host.Select({b, c});
  }
  Host& host;
  const GmHostApi* api;
  GmDoc* doc;
  GmNode *p1, *p2, *b, *tag, *x, *i, *c;
};

struct FieldCase {
  const char* field;
  const char* reported;  // what the difference must say
  std::function<void(Scene&)> change;
};

TEST(Snapshot, AChangeOfAnyOneFieldIsADifferenceNamingIt) {
  const std::vector<FieldCase> cases = {
      {"marker", "- gone: ",
       [](Scene& s) {  // a twin in C's place: same type, name, place and selection
         s.host.Delete(s.c);
         s.host.Select({s.b, s.host.AddObject(kOcube, "C")});
       }},
      {"type", " type cube -> sphere;", [](Scene& s) { s.c->type = kOsphere; }},
      {"name", " name \"X\" -> \"Y\";", [](Scene& s) { s.host.SetName(s.x, "Y"); }},
      {"parent", " parent #",
       [](Scene& s) {  // X moves under P2, right after B: same index, same document order
         s.api->node_remove(s.x);
         s.api->node_insert_under_last(s.x, s.p2);
       }},
      {"index", " index 2 -> 1;",
       [](Scene& s) {  // C goes in front of I
         s.api->node_remove(s.c);
         s.api->doc_insert_object(s.doc, s.c, nullptr, s.p1, 0);
       }},
      {"bits", " bits 0 -> 16;", [](Scene& s) { s.host.SetBits(s.x, 16); }},
      {"selection rank", " selection 0 -> 1;", [](Scene& s) { s.host.Select({s.c, s.b}); }},
      {"matrix", " ml ", [](Scene& s) { s.host.SetMatrix(s.x, TranslationMatrix(0, 5, 0)); }},
      {"link", " link #", [](Scene& s) { s.host.SetLink(s.i, s.x); }},
      {"mode", " mode 1 -> 2;", [](Scene& s) { s.host.SetMode(s.i, 2); }},
      {"data", " data ",
       [](Scene& s) { s.host.SetDataElement(s.x, 5, ValueData{GM_VALUE_LONG, 1, 0, "", 0, {}}); }},
      {"tag name", " tags ", [](Scene& s) { s.host.SetName(s.tag, "u"); }},
      {"tag marker", " tags ",
       [](Scene& s) {  // a twin of the tag
         s.api->node_remove(s.tag);
         s.api->object_free(s.tag);
         s.host.AddTag(s.b, "t");
       }},
      {"tag added", " tags ", [](Scene& s) { s.host.AddTag(s.x, "t"); }},
  };
  for (const FieldCase& k : cases) {
    Host host;
    Scene scene(host);
    const SceneSnapshot before = host.Capture();
    EXPECT_TRUE(before == host.Capture()) << k.field;
    EXPECT_EQ(Diff(before, host.Capture()), "") << k.field;

    k.change(scene);
    const SceneSnapshot after = host.Capture();
    const std::string diff = Diff(before, after);
    EXPECT_TRUE(before != after) << k.field << " is not compared";
    EXPECT_NE(diff.find(k.reported), std::string::npos)
        << k.field << ": the difference does not say \"" << k.reported << "\":\n" << diff;
    EXPECT_TRUE(host.CodingErrors().empty()) << k.field;
  }
}

}  // namespace
}  // namespace standin_test
