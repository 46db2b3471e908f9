// gemlith-host as a program: bad input stops it with status 2 before anything runs; the output
// scene is valid input; the text report and the default preferences location.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform.h"
#include "scenario_harness.h"

namespace {

using scenario::json;
using scenario::ReadText;
using scenario::Scenario;
using scenario::ScenarioRun;

// Steps that would leave traces if they ran: the preferences file and the output scene.
const std::vector<std::string> kTracingSteps = {"run=settings", "settings=2", "select=a",
                                                "run=create"};

constexpr const char* kGoodScene = R"({"objects": [{"key": "a", "type": "cube"}]})";

void ExpectNothingRan(const ScenarioRun& r, const Scenario& s, const std::string& what) {
  EXPECT_EQ(r.exit_code, 2) << what << "\n" << r.err;
  EXPECT_TRUE(r.out.empty()) << what << ": stdout was\n" << r.out;
  EXPECT_FALSE(r.out_written) << what;
  EXPECT_FALSE(std::filesystem::exists(s.PrefsPath())) << what;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what << ": one message\n" << r.err;
}

TEST(CommandLine, BadSceneFilesStopEverything) {
  const std::pair<const char*, const char*> cases[] = {
      {"{\"objects\": [\n  {\"key\": \"a\"\n]}", "line 3"},
      {R"({"objects": [{"key": "a", "name": 7}]})", "objects[0].name"},
      {R"({"objects": [{"key": "a"}, {"key": "a"}]})", "objects[1].key: duplicate key"},
      {R"({"objects": [{"key": "a"}, {"type": "instance", "link": "b"}]})", "objects[1].link"},
      {R"({"objects": [{"key": "a"}], "selection": ["b"]})", "selection[0]"},
      {R"({"objects": [{"key": "a", "record": {"swap_partner": "z"}}]})",
       "objects[0].record.swap_partner"},
  };
  for (const auto& [text, place] : cases) {
    Scenario s;
    s.Scene(text);
    const ScenarioRun r = s.Run(kTracingSteps);
    ExpectNothingRan(r, s, text);
    EXPECT_NE(r.err.find((s.Dir() / "scene.json").string() + ": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(place), std::string::npos) << place << " in: " << r.err;
  }
}

TEST(CommandLine, BadStepsAndOptionsStopEverything) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"run=select", "run=nonsense"}, "step 2 \"run=nonsense\""},
      {{"keys=ctrl+hyper"}, "step 1 \"keys=ctrl+hyper\""},
      {{"settings=two"}, "step 1 \"settings=two\""},
      {{"undo=1"}, "step 1 \"undo=1\""},
      {{"select=a,,b"}, "step 1"},
      {{"run"}, "step 1 \"run\""},
      {{"frobnicate"}, "step 1 \"frobnicate\""},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--module", "/no/such/module.so"}, "/no/such/module.so"},
  };
  for (const auto& [args, text] : cases) {
    Scenario s;
    s.Scene(kGoodScene);
    std::vector<std::string> steps = args;
    steps.insert(steps.end(), kTracingSteps.begin(), kTracingSteps.end());
    const ScenarioRun r = s.Run(steps);
    ExpectNothingRan(r, s, args[0]);
    EXPECT_NE(r.err.find(text), std::string::npos) << text << " in: " << r.err;
  }
}

TEST(CommandLine, AMissingSceneFileOrBadPreferencesStopEverything) {
  {
    Scenario s;
    const ScenarioRun r =
        s.RunHost({"--json", "--scene", "absent.json", "--prefs", s.PrefsPath().string(),
                   "run=settings", "settings=1"},
                  true);
    ExpectNothingRan(r, s, "missing scene");
    EXPECT_NE(r.err.find("absent.json"), std::string::npos) << r.err;
  }
  {
    Scenario s;
    s.Scene(kGoodScene).Prefs(R"({"plugins": {"1050043": {"0": "two"}}})");
    const ScenarioRun r = s.Run(kTracingSteps);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(r.out_written);
    EXPECT_NE(r.err.find(s.PrefsPath().string() + ": plugins.1050043.0"), std::string::npos)
        << r.err;
    EXPECT_EQ(ReadText(s.PrefsPath()), R"({"plugins": {"1050043": {"0": "two"}}})")
        << "the bad file is left as it was";
  }
}

TEST(CommandLine, SelectingAnUnknownKeyFailsAndKeepsTheSelection) {
  Scenario s;
  s.Scene(R"({"objects": [{"key": "a", "tags": [{"key": "t"}]}, {"key": "b"}],
              "selection": ["b"]})");
  const ScenarioRun r = s.Run({"select=a,ghost", "select=t", "select=b,a"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.Step(0), json::parse(R"({"step": "select", "result": false})"));
  EXPECT_EQ(r.Step(1)["result"], false) << "a tag is not an object";
  EXPECT_EQ(r.Step(2)["result"], true);
  EXPECT_EQ(r.Selection(), (std::vector<std::string>{"b", "a"}));
}

TEST(CommandLine, TheOutputOfARunIsValidInputAndReadsBackUnchanged) {
  Scenario s;
  // The demo scene, changed by a few commands, written out ...
  const ScenarioRun first = s.Run({"select=cube", "run=create", "select=cube-a", "run=swap",
                                   "select=sphere-multi", "run=frame-objects"});
  ASSERT_EQ(first.exit_code, 0) << first.err;
  ASSERT_TRUE(first.out_written);
  // ... read in again and written out without a step: the same scene.
  s.Scene(first.scene);
  const ScenarioRun second = s.Run({"tree"});
  ASSERT_EQ(second.exit_code, 0) << second.err;
  EXPECT_EQ(second.scene, first.scene);
}

TEST(CommandLine, OutToStandardOutput) {
  Scenario s;
  s.Scene(kGoodScene);
  const ScenarioRun r = s.RunHost({"--scene", "scene.json", "--prefs", s.PrefsPath().string(),
                                   "--out", "-", "--json", "select=a"},
                                  false);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  // Load line, the step's line, then the scene on one line.
  std::vector<json> lines;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[2]["selection"], json::array({"a"}));
  EXPECT_EQ(lines[2]["objects"][0]["key"], "a");
}

TEST(CommandLine, WithoutStepsTheTextReportShowsMenuAndTree) {
  Scenario s;
  s.Scene(R"({"objects": [{"key": "c", "name": "Cube", "type": "cube"},
                          {"key": "i", "name": "Inst", "type": "instance", "link": "c", "mode": 2}],
              "selection": ["i", "c"]})");
  const ScenarioRun r = s.Run({}, false);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("1050046  Split instances"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(greyed)"), std::string::npos) << "Swap is greyed: the Cube is active";
  EXPECT_NE(r.out.find("(separator)"), std::string::npos);
  EXPECT_NE(r.out.find("[2]  \"Cube\" <c> cube"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("[1]  \"Inst\" <i> instance → c \"Cube\", mode 2"), std::string::npos)
      << r.out;
}

// Each argument reaches the program as it was given, through the shell on POSIX systems and
// through CreateProcess's one command line on Windows: spaces, both quotes, inner and trailing
// backslashes.
TEST(CommandLine, ArgumentsReachTheProgramUnchanged) {
  Scenario s;
  const std::filesystem::path dir = s.Dir() / "a folder's name";
  std::filesystem::create_directories(dir);
  scenario::WriteText(dir / "scene.json", kGoodScene);
  const std::string text = R"(quotes " and 'single', "a \"quoted\" one", \ and a trailing one\)";
  const ScenarioRun r =
      s.RunHost({"--scene", (dir / "scene.json").string(), "--prefs", s.PrefsPath().string(),
                 "note=" + text, "tree"},
                false);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const size_t at = r.out.find("== " + text);
  ASSERT_NE(at, std::string::npos) << r.out;
  const char after = r.out[at + 3 + text.size()];  // the line ends there (CR LF on Windows)
  EXPECT_TRUE(after == '\n' || after == '\r') << r.out;
  EXPECT_NE(r.out.find("<a> cube"), std::string::npos) << r.out;
}

// Text and file names in several scripts (accented Latin, Greek, CJK, an emoji) reach the module
// and the file system as they were given: a select= key, a rename text, and the scene, output,
// preferences and module files in a folder so named. Windows hands a program's arguments over in
// the ANSI code page, which cannot hold them, and opens narrow file names in it. The expected
// report, scene and preferences are those of the Linux run.
TEST(CommandLine, TextAndFileNamesInAnyScript) {
  const std::string text = u8"Ünï Ωμέγα 漢字 🙂";
  const std::string key = u8"clé-κλειδί-鍵-🔑";
  const std::string module = gemhost::DefaultModuleName();
  Scenario s;
  const std::filesystem::path dir = s.Dir() / std::filesystem::u8path(text);
  const std::filesystem::path built = std::filesystem::path(GEMLITH_HOST_PATH).parent_path();
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(built / module, dir / module);
  std::filesystem::copy(built / "res", dir / "res", std::filesystem::copy_options::recursive);
  scenario::WriteText(dir / "scene.json", R"({"objects": [
      {"key": "ref", "name": "Ref", "type": "cube"},
      {"key": ")" + key + R"(", "type": "instance", "link": "ref"},
      {"key": "b", "type": "instance", "link": "ref"}]})");
  scenario::WriteText(dir / "prefs.json", R"({"plugins": {"1050043": {"0": 2}}})");
  const auto in_dir = [&dir](const std::string& name) { return (dir / name).u8string(); };

  const ScenarioRun r = s.RunHost(
      {"--json", "--module", in_dir(module), "--scene", in_dir("scene.json"), "--prefs",
       in_dir("prefs.json"), "--out", in_dir("out.json"), "select=" + key + ",b", "keys=ctrl",
       "rename=" + text, "call=split", "keys=none", "select=ref", "run=create", "run=settings",
       "settings=1"},
      true);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.Load(), json::parse(R"({"step": "load", "result": 1, "registered": 10,
                                      "module_id": "net.gemlith.instances"})"));
  // Split: Ctrl turns the second instance into the new reference; both are named `text`.
  EXPECT_EQ(r.Step(3)["undo"],
            json::parse(R"([[40, "b"], [44, "new1"], [42, ")" + key + R"("], [45, "b"]])"));
  // Create makes its instance in mode 2, as the preferences say; the settings dialog stores 1.
  EXPECT_EQ(json::parse(ReadText(dir / "out.json")), json::parse(R"({"objects": [
      {"key": "new2", "name": "Ref", "type": "instance", "link": "ref", "mode": 2,
       "position": [0.0, 0.0, 0.0]},
      {"key": "ref", "name": "Ref", "type": "cube", "position": [0.0, 0.0, 0.0]},
      {"key": ")" + key + R"(", "name": ")" + text + R"(", "type": "instance", "link": "new1",
       "mode": 0, "position": [0.0, 0.0, 0.0]},
      {"key": "new1", "name": ")" + text + R"(", "type": "cube", "position": [0.0, 0.0, 0.0]}],
    "selection": ["new2"]})"));
  EXPECT_EQ(json::parse(ReadText(dir / "prefs.json")),
            json::parse(R"({"plugins": {"1050043": {"0": 1}}})"));
}

#if defined(_WIN32)
TEST(CommandLine, PreferencesLiveInTheUsersApplicationDataFolderByDefault) {
  Scenario s;
  s.Scene(kGoodScene);
  // Quoted into the environment; read back from it as UTF-16.
  const std::filesystem::path appdata = s.Dir() / std::filesystem::u8path(u8"app data's Ωμέγα 🙂");
  const std::filesystem::path config = s.Dir() / "config";
  // XDG_CONFIG_HOME belongs to other systems: Windows keeps settings under %APPDATA% only.
  const ScenarioRun r =
      s.RunHost({"--json", "--scene", "scene.json", "run=settings", "settings=1"}, true,
                "APPDATA=" + scenario::ShellQuote(appdata.u8string()) +
                    " XDG_CONFIG_HOME=" + scenario::ShellQuote(config.string()));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(json::parse(ReadText(appdata / "gemlith-host" / "prefs.json")),
            json::parse(R"({"plugins": {"1050043": {"0": 1}}})"));
  EXPECT_FALSE(std::filesystem::exists(config));
}
#else
TEST(CommandLine, PreferencesLiveInTheUsersConfigurationFolderByDefault) {
  Scenario s;
  s.Scene(kGoodScene);
  const std::filesystem::path config = s.Dir() / "config";
  const ScenarioRun r =
      s.RunHost({"--json", "--scene", "scene.json", "run=settings", "settings=1"}, true,
                "XDG_CONFIG_HOME=" + scenario::ShellQuote(config.string()));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(json::parse(ReadText(config / "gemlith-host" / "prefs.json")),
            json::parse(R"({"plugins": {"1050043": {"0": 1}}})"));

  const std::filesystem::path home = s.Dir() / "home";
  const ScenarioRun r2 = s.RunHost({"--json", "--scene", "scene.json", "run=settings",
                                    "settings=2"},
                                   true, "XDG_CONFIG_HOME= HOME=" +
                                             scenario::ShellQuote(home.string()));
  ASSERT_EQ(r2.exit_code, 0) << r2.err;
  EXPECT_EQ(json::parse(ReadText(home / ".config" / "gemlith-host" / "prefs.json")),
            json::parse(R"({"plugins": {"1050043": {"0": 2}}})"));
}
#endif

}  // namespace

namespace {

// The printed menu reads as the application shows it: the eight commands, the separator, Settings,
// names without their order prefix.
TEST(CommandLine, TheMenuPrintShowsTheApplicationsOrder) {
  Scenario s;
  const ScenarioRun r = s.Run({"menu"}, false);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> shown = {"Select instances", "Create instances", "Split instances",
                                          "Rename instances", "Frame objects", "Frame elements",
                                          "Swap with reference", "Make editable", "(separator)",
                                          "Instance settings..."};
  size_t at = r.out.find("Menu (10 entries):");
  ASSERT_NE(at, std::string::npos) << r.out;
  for (const std::string& name : shown) {
    at = r.out.find(name, at);
    ASSERT_NE(at, std::string::npos) << name << " missing or out of order in:\n" << r.out;
  }
  EXPECT_EQ(r.out.find("#$"), std::string::npos) << r.out;
}

}  // namespace
