// Scene files in and out of the stand-in host: round trips, keys, dead links, and every class of
// bad input with a message that names the file and the place.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "host_scene.h"
#include "prefs_file.h"
#include "report.h"
#include "scene_reader.h"
#include "scene_writer.h"
#include "standin/host.h"

namespace {

using gemhost::InputError;
using gemhost::KeyMap;
using gemhost::SceneDesc;

// Every feature of the format at least once.
constexpr const char* kRichScene = R"({
  "objects": [
    {"key": "ref", "name": "Réf ☃ \"q\"", "type": "cube", "position": [1.5, -2, 3000], "bits": 4,
     "tags": [{"key": "t1", "name": "Phong", "data": {"10": {"link": "kid"}, "-4": {"int": 7}}},
              {"key": "t2", "name": ""}],
     "record": {"swap_partner": "inst"},
     "data": {"9": {"container": {"1": {"link": "t2"}, "2": {"container": {"3": {"link": null}}}}},
              "5": {"link": "inst"}, "7": {"int": -3}},
     "children": [
       {"key": "kid", "name": "Kid", "type": "null",
        "matrix": {"off": [1, 2, 3], "v1": [0, 1, 0], "v2": [-1, 0, 0], "v3": [0, 0, 1]}}
     ]},
    {"key": "inst", "name": "Inst", "type": "instance", "link": "ref", "mode": 2,
     "record": {"saved_mode": 1}},
    {"key": "der", "name": "Derived", "type": "instance-derived", "link": "t1", "mode": 1,
     "record": {}},
    {"key": "empty", "name": "", "type": "instance", "link": null},
    {"key": "odd", "name": "Other", "type": 5168, "record": {"saved_mode": 0, "swap_partner": null}},
    {"key": "self", "type": "instance", "link": "self"},
    {"key": "sph", "type": "sphere", "children": [
      {"key": "deep", "type": "instance", "link": "kid", "children": [{"key": "deeper"}]}
    ]}
  ],
  "selection": ["sph", "ref", "deeper"]
})";

SceneDesc BuildAndCapture(const SceneDesc& in, standin::Host& host, KeyMap& keys) {
  gemhost::BuildScene(host, in, keys);
  return gemhost::CaptureScene(host, keys);
}

TEST(SceneFiles, RoundTripKeepsEverythingAndTheOutputIsValidInput) {
  const SceneDesc parsed = gemhost::ParseScene(kRichScene, "rich.json");
  standin::Host host;
  KeyMap keys;
  const SceneDesc captured = BuildAndCapture(parsed, host, keys);
  EXPECT_EQ(captured, parsed) << gemhost::SceneText(captured, 2);
  EXPECT_TRUE(host.CodingErrors().empty());

  const std::string written = gemhost::SceneText(captured, 2);
  const SceneDesc reread = gemhost::ParseScene(written, "out.json");
  EXPECT_EQ(reread, parsed);

  // And once more through a second host: the same file again.
  standin::Host host2;
  KeyMap keys2;
  EXPECT_EQ(gemhost::SceneText(BuildAndCapture(reread, host2, keys2), 2), written);
}

TEST(SceneFiles, OutputWritesOnlyWhatIsThere) {
  const SceneDesc parsed = gemhost::ParseScene(kRichScene, "rich.json");
  const auto j = nlohmann::ordered_json::parse(gemhost::SceneText(parsed));
  const auto& objects = j["objects"];
  EXPECT_EQ(objects[0]["position"], nlohmann::ordered_json::array({1.5, -2.0, 3000.0}));
  EXPECT_FALSE(objects[0].contains("matrix"));
  EXPECT_FALSE(objects[0].contains("link")) << "only instances have a link";
  EXPECT_EQ(objects[0]["record"].dump(), R"({"swap_partner":"inst"})");
  EXPECT_EQ(objects[1]["record"].dump(), R"({"saved_mode":1})");
  EXPECT_EQ(objects[2]["record"].dump(), "{}");
  EXPECT_EQ(objects[2]["type"], "instance-derived");
  EXPECT_EQ(objects[3]["link"], nullptr);
  EXPECT_EQ(objects[4]["type"], 5168);
  EXPECT_FALSE(objects[5].contains("record"));
  EXPECT_FALSE(objects[5].contains("bits"));
  EXPECT_TRUE(objects[0]["children"][0].contains("matrix"));
  // Data in ascending id order, only where there is some; a record is not data.
  EXPECT_EQ(objects[0]["data"].dump(),
            R"({"5":{"link":"inst"},"7":{"int":-3},"9":{"container":{"1":{"link":"t2"},"2":{"container":{"3":{"link":null}}}}}})");
  EXPECT_EQ(objects[0]["tags"][0]["data"].dump(), R"({"-4":{"int":7},"10":{"link":"kid"}})");
  EXPECT_FALSE(objects[0]["tags"][1].contains("data"));
  EXPECT_FALSE(objects[1].contains("data"));
  // The tree for people shows the same, links with their target's name.
  const std::string tree = gemhost::TreeText(parsed);
  EXPECT_NE(tree.find(R"( data {5: → inst "Inst", 7: -3, 9: {1: → t2 (tag ""), 2: {3: (nothing)}}})"),
            std::string::npos) << tree;
  EXPECT_NE(tree.find(R"(#"Phong" <t1> data {-4: 7, 10: → kid "Kid"})"), std::string::npos) << tree;
}

TEST(SceneFiles, TheSelectionBitOfBitsIsNotTheSelection) {
  // Bit 2 in "bits" is ignored: only "selection" selects.
  const SceneDesc in = gemhost::ParseScene(
      R"({"objects": [{"key": "a", "bits": 6}, {"key": "b"}], "selection": ["b"]})", "s.json");
  standin::Host host;
  KeyMap keys;
  const SceneDesc out = BuildAndCapture(in, host, keys);
  EXPECT_EQ(out.objects[0].bits, 4);
  EXPECT_EQ(out.selection, std::vector<std::string>{"b"});
}

TEST(SceneFiles, ObjectsAndTagsWithoutKeysGetFreshOnes) {
  const SceneDesc in = gemhost::ParseScene(
      R"({"objects": [{"name": "A"}, {"key": "obj1"}, {"key": "new1", "tags": [{"name": "T"}]},
                      {"name": "B", "children": [{"name": "C"}]}]})",
      "s.json");
  standin::Host host;
  KeyMap keys;
  const SceneDesc out = BuildAndCapture(in, host, keys);
  std::set<std::string> seen;
  for (const auto& o : out.objects) {
    EXPECT_FALSE(o.key.empty());
    EXPECT_TRUE(seen.insert(o.key).second) << "key used twice: " << o.key;
    for (const auto& t : o.tags) EXPECT_TRUE(seen.insert(t.key).second) << t.key;
  }
  EXPECT_EQ(seen.size(), 6u);
  EXPECT_EQ(out.objects[1].key, "obj1");
  EXPECT_EQ(out.objects[2].key, "new1");
}

TEST(SceneFiles, LinksThatDoNotResolveInTheDocumentAreWrittenAsNull) {
  const SceneDesc in = gemhost::ParseScene(R"({"objects": [
      {"key": "ref", "type": "cube"},
      {"key": "i", "type": "instance", "link": "ref"},
      {"key": "j", "type": "instance", "link": "ref"},
      {"key": "o", "record": {"saved_mode": 3, "swap_partner": "ref"},
       "tags": [{"key": "t", "data": {"1": {"container": {"2": {"link": "ref"}}}}}],
       "data": {"4": {"link": "ref"}, "5": {"link": "t"}}}]})",
                                           "s.json");
  standin::Host host;
  KeyMap keys;
  gemhost::BuildScene(host, in, keys);
  host.Delete(host.Find(*keys.MarkerOf("ref")));
  // j links to an object of another document.
  GmNode* elsewhere = host.AddObjectTo(host.NewDocument(), standin::kOcube, "Elsewhere");
  host.SetLink(host.Find(*keys.MarkerOf("j")), elsewhere);

  const auto j = nlohmann::ordered_json::parse(gemhost::SceneText(gemhost::CaptureScene(host, keys)));
  EXPECT_EQ(j["objects"].size(), 3u);
  EXPECT_EQ(j["objects"][0]["link"], nullptr);
  EXPECT_EQ(j["objects"][1]["link"], nullptr);
  EXPECT_EQ(j["objects"][2]["record"].dump(), R"({"saved_mode":3,"swap_partner":null})");
  EXPECT_EQ(j["objects"][2]["data"].dump(), R"({"4":{"link":null},"5":{"link":"t"}})");
  EXPECT_EQ(j["objects"][2]["tags"][0]["data"].dump(), R"({"1":{"container":{"2":{"link":null}}}})");
}

TEST(SceneFiles, KeysFollowObjectsThroughUndoAndRedo) {
  const SceneDesc in = gemhost::ParseScene(
      R"({"objects": [{"key": "a", "type": "cube", "children": [{"key": "kid"}]},
                      {"key": "new1"}]})",
      "s.json");
  standin::Host host;
  KeyMap keys;
  gemhost::BuildScene(host, in, keys);
  const GmHostApi* api = host.Api();
  GmDoc* doc = host.ActiveDocument();

  // One undo step: a new object in front, and "a" (with its child) deleted.
  api->doc_start_undo(doc);
  GmNode* made = api->object_alloc(standin::kOsphere);
  api->doc_insert_object(doc, made, nullptr, nullptr, 0);
  api->doc_add_undo(doc, standin::kUndoNewObj, made);
  GmNode* a = host.Find(*keys.MarkerOf("a"));
  api->doc_add_undo(doc, standin::kUndoDeleteObj, a);
  api->node_remove(a);
  api->object_free(a);
  api->doc_end_undo(doc);
  ASSERT_TRUE(host.CodingErrors().empty());

  auto all_keys = [&] {
    std::vector<std::string> k;
    for (const auto& o : gemhost::CaptureScene(host, keys).objects) k.push_back(o.key);
    return k;
  };
  const std::vector<std::string> after = all_keys();
  ASSERT_EQ(after.size(), 2u);
  const std::string fresh = after[0];
  EXPECT_NE(fresh, "a");
  EXPECT_NE(fresh, "new1");
  EXPECT_NE(fresh, "kid");
  EXPECT_EQ(after[1], "new1");

  ASSERT_TRUE(host.Undo());
  const SceneDesc undone = gemhost::CaptureScene(host, keys);
  ASSERT_EQ(undone.objects.size(), 3u);
  EXPECT_EQ(undone.objects[0].key, "a");
  EXPECT_EQ(undone.objects[1].key, "kid");
  EXPECT_EQ(undone.objects[1].depth, 1u);
  EXPECT_EQ(undone.objects[2].key, "new1");

  ASSERT_TRUE(host.Redo());
  EXPECT_EQ(all_keys(), after);
  ASSERT_TRUE(host.Undo());
  ASSERT_TRUE(host.Redo());
  EXPECT_EQ(all_keys(), after);
}

// ---- bad input ----

struct BadScene {
  const char* what;
  const char* text;
  const char* place;  // must appear in the message after the file name
};

const BadScene kBadScenes[] = {
    {"malformed JSON", "{\n  \"objects\": [\n    {\"key\": \"a\",}\n  ]\n}", "line 3"},
    {"empty file", "", "line 1"},
    {"text after the scene", "{}\n{}", "line 2"},
    {"scene not an object", "[]", "a scene must be a JSON object"},
    {"unknown top-level member", R"({"objs": []})", "objs: unknown member"},
    {"objects not an array", R"({"objects": {}})", "objects: must be an array"},
    {"object entry not an object", R"({"objects": [1]})", "objects[0]: "},
    {"unknown object member", R"({"objects": [{"nmae": "x"}]})", "objects[0].nmae: unknown"},
    {"name not a string", R"({"objects": [{"name": 5}]})", "objects[0].name: must be a string"},
    {"key not a string", R"({"objects": [{"key": 5}]})", "objects[0].key: must be a string"},
    {"empty key", R"({"objects": [{"key": ""}]})", "objects[0].key: "},
    {"unknown type name", R"({"objects": [{"type": "torus"}]})", "objects[0].type: unknown type"},
    {"type of the wrong JSON type", R"({"objects": [{"type": true}]})", "objects[0].type: "},
    {"fractional type", R"({"objects": [{"type": 5.5}]})", "objects[0].type: must be an integer"},
    {"fractional mode", R"({"objects": [{"type": "instance", "mode": 1.5}]})",
     "objects[0].mode: must be an integer"},
    {"mode on a cube", R"({"objects": [{"type": "cube", "mode": 1}]})", "objects[0].mode: "},
    {"link on a null", R"({"objects": [{"key": "a"}, {"link": "a"}]})", "objects[1].link: "},
    {"link not a string", R"({"objects": [{"type": "instance", "link": 3}]})",
     "objects[0].link: must be a string"},
    {"short position", R"({"objects": [{"position": [1, 2]}]})", "objects[0].position: "},
    {"position with text", R"({"objects": [{"position": [1, "2", 3]}]})",
     "objects[0].position[1]: must be a number"},
    {"matrix without v3",
     R"({"objects": [{"matrix": {"off": [0,0,0], "v1": [1,0,0], "v2": [0,1,0]}}]})",
     "objects[0].matrix.v3: missing"},
    {"position and matrix",
     R"({"objects": [{"position": [0,0,0], "matrix": {"off": [0,0,0], "v1": [1,0,0], "v2": [0,1,0], "v3": [0,0,1]}}]})",
     "objects[0].matrix: "},
    {"bits out of range", R"({"objects": [{"bits": 4294967296}]})", "objects[0].bits: "},
    {"record not an object", R"({"objects": [{"record": []}]})", "objects[0].record: "},
    {"unknown record member", R"({"objects": [{"record": {"mode": 1}}]})",
     "objects[0].record.mode: unknown"},
    {"saved_mode not an integer", R"({"objects": [{"record": {"saved_mode": "2"}}]})",
     "objects[0].record.saved_mode: must be an integer"},
    {"tags not an array", R"({"objects": [{"tags": {}}]})", "objects[0].tags: "},
    {"tag key not a string", R"({"objects": [{"tags": [{"key": 1}]}]})",
     "objects[0].tags[0].key: must be a string"},
    {"nested wrong type", R"({"objects": [{"children": [{}, {"name": null}]}]})",
     "objects[0].children[1].name: must be a string"},
    {"children not an array", R"({"objects": [{"children": 1}]})", "objects[0].children: "},
    {"duplicate object key", R"({"objects": [{"key": "a"}, {"children": [{"key": "a"}]}]})",
     "objects[1].children[0].key: duplicate key \"a\" (already used at objects[0].key)"},
    {"a member given twice", R"({"objects": [{"key": "a"}, {"key": "b", "tags": [{"name": "x", "name": "y"}]}]})",
     "objects[1].tags[0].name: this member is given twice"},
    {"tag key equal to an object key",
     R"({"objects": [{"key": "a", "tags": [{"key": "a"}]}]})", "objects[0].tags[0].key: duplicate"},
    {"dangling link", R"({"objects": [{"type": "instance", "link": "ghost"}]})",
     "objects[0].link: \"ghost\" names no object or tag"},
    {"dangling swap partner", R"({"objects": [{"record": {"swap_partner": "ghost"}}]})",
     "objects[0].record.swap_partner: \"ghost\" names no"},
    {"dangling selection", R"({"objects": [{"key": "a"}], "selection": ["a", "b"]})",
     "selection[1]: \"b\" names no object"},
    {"selection not an array", R"({"selection": "a"})", "selection: must be an array"},
    {"selection entry not a string", R"({"objects": [{"key": "a"}], "selection": [1]})",
     "selection[0]: "},
    {"a tag selected", R"({"objects": [{"key": "a", "tags": [{"key": "t"}]}], "selection": ["t"]})",
     "selection[0]: \"t\" is a tag"},
    {"an object selected twice", R"({"objects": [{"key": "a"}], "selection": ["a", "a"]})",
     "selection[1]: "},
    {"data not an object", R"({"objects": [{"data": []}]})", "objects[0].data: must be an object"},
    {"data id not a number", R"({"objects": [{"data": {"x": {"int": 1}}}]})", "objects[0].data.x: "},
    {"data id with leading zero", R"({"objects": [{"data": {"07": {"int": 1}}}]})",
     "objects[0].data.07: "},
    {"data id out of range", R"({"objects": [{"data": {"2147483648": {"int": 1}}}]})",
     "objects[0].data.2147483648: "},
    {"data id with its own member", R"({"objects": [{"data": {"1050043": {"int": 1}}}]})",
     "objects[0].data.1050043: "},
    {"data value of unknown kind", R"({"objects": [{"data": {"1": {"real": 1.5}}}]})",
     "objects[0].data.1.real: unknown kind"},
    {"data value with two kinds", R"({"objects": [{"data": {"1": {"int": 1, "link": null}}}]})",
     "objects[0].data.1: "},
    {"data int not an integer", R"({"objects": [{"data": {"1": {"int": "1"}}}]})",
     "objects[0].data.1.int: must be an integer"},
    {"dangling data link", R"({"objects": [{"key": "a", "data": {"1": {"container": {"2": {"link": "ghost"}}}}}]})",
     "objects[0].data.1.container.2.link: \"ghost\" names no object or tag"},
    {"dangling tag data link", R"({"objects": [{"tags": [{"key": "t", "data": {"3": {"link": "ghost"}}}]}]})",
     "objects[0].tags[0].data.3.link: \"ghost\" names no"},
    {"tag data not an object", R"({"objects": [{"tags": [{"data": 1}]}]})", "objects[0].tags[0].data: "},
};

TEST(SceneFiles, EveryBadInputIsRejectedNamingFileAndPlace) {
  for (const BadScene& bad : kBadScenes) {
    try {
      gemhost::ParseScene(bad.text, "dir/bad.json");
      ADD_FAILURE() << bad.what << ": accepted";
    } catch (const InputError& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("dir/bad.json: ", 0), 0u) << bad.what << ": " << message;
      EXPECT_NE(message.find(bad.place), std::string::npos)
          << bad.what << ": expected \"" << bad.place << "\" in: " << message;
    }
  }
}

TEST(SceneFiles, ForwardLinksAndLinksToTagsAreFine) {
  const SceneDesc in = gemhost::ParseScene(
      R"({"objects": [{"key": "i", "type": "instance", "link": "t"},
                      {"key": "o", "tags": [{"key": "t", "name": "T"}]}]})",
      "s.json");
  standin::Host host;
  KeyMap keys;
  const SceneDesc out = BuildAndCapture(in, host, keys);
  EXPECT_EQ(out.objects[0].link, std::optional<std::string>("t"));
}

TEST(PrefsFile, MissingIsFineAndBadFormsAreRejected) {
  const std::string dir = ::testing::TempDir();
  EXPECT_NO_THROW(gemhost::CheckPrefsFile(dir + "/no-such-prefs.json"));

  const std::pair<const char*, const char*> bad[] = {
      {"{\"plugins\": ", "line 1"},
      {"[]", "must be a JSON object"},
      {R"({"plugins": []})", "plugins: "},
      {R"({"plugins": {"abc": {}}})", "plugins.abc: "},
      {R"({"plugins": {"1050043": {"0": "2"}}})", "plugins.1050043.0: must be an integer"},
      {R"({"plugins": {"1050043": {"x": 2}}})", "plugins.1050043.x: "},
      {R"({"plugins": {"1050043": {"0": 99999999999}}})", "plugins.1050043.0: "},
  };
  const std::string path = dir + "/gemlith-bad-prefs.json";
  for (const auto& [text, place] : bad) {
    std::ofstream(path, std::ios::trunc) << text;
    try {
      gemhost::CheckPrefsFile(path);
      ADD_FAILURE() << text << ": accepted";
    } catch (const InputError& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
      EXPECT_NE(message.find(place), std::string::npos) << place << " in: " << message;
    }
  }
  std::ofstream(path, std::ios::trunc) << R"({"plugins": {"1050043": {"0": 2}, "-5": {}}})";
  EXPECT_NO_THROW(gemhost::CheckPrefsFile(path));
  std::remove(path.c_str());
}

}  // namespace
