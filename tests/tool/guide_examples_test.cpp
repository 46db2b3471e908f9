// The artists' guide, docs/commands.md, shows every behaviour as a gemlith-host run: a fenced block
// whose first line is "$ gemlith-host ARGS" and whose other lines are what the program prints. This
// test runs each of them and fails when the printed result differs from the guide, so the guide
// cannot drift from the module.
//
// The guide leaves out two kinds of line, and so does the comparison: the first line ("Loaded
// <path to the module> ..."), and the lists of undo entries ("  undo: ..."). Every run gets fresh
// preferences (new instances get mode 0); "--scene" names a file relative to docs/.
//
// After a deliberate change of behaviour, rewrite the blocks from the program and review the diff:
//   GEMLITH_REWRITE_GUIDE=1 build/bin/tool_tests --gtest_filter=Guide.*
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "scenario_harness.h"

namespace {

using scenario::ReadText;
using scenario::Scenario;
using scenario::WriteText;

const std::filesystem::path kDocs = std::filesystem::u8path(GEMLITH_DOCS_DIR);
constexpr char kPrompt[] = "$ gemlith-host";

struct Example {
  size_t line = 0;                 // 1-based line of the "$ gemlith-host" line in the guide
  std::vector<std::string> args;   // the words after the program's name
  size_t first = 0, end = 0;       // the guide's lines [first, end) that hold the printed result
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // Windows' text output
    lines.push_back(line);
  }
  return lines;
}

std::vector<Example> FindExamples(const std::vector<std::string>& lines) {
  std::vector<Example> examples;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].rfind("```", 0) != 0 || lines[i + 1].rfind(kPrompt, 0) != 0) continue;
    Example e;
    e.line = i + 2;
    e.args = scenario::ShellWords(lines[i + 1].substr(sizeof kPrompt - 1));
    e.first = i + 2;
    e.end = e.first;
    while (e.end < lines.size() && lines[e.end].rfind("```", 0) != 0) ++e.end;
    examples.push_back(e);
    i = e.end;
  }
  return examples;
}

// What the guide shows of a run's standard output.
std::vector<std::string> Shown(const std::string& out) {
  std::vector<std::string> shown;
  for (const std::string& line : Lines(out))
    if (line.rfind("Loaded ", 0) != 0 && line.rfind("  undo:", 0) != 0) shown.push_back(line);
  return shown;
}

TEST(Guide, EveryExamplePrintsWhatTheGuideShows) {
  const std::filesystem::path guide = kDocs / "commands.md";
  std::vector<std::string> lines = Lines(ReadText(guide));
  const std::vector<Example> examples = FindExamples(lines);
  ASSERT_GE(examples.size(), 30u) << guide << ": the examples are missing";
  const bool rewrite = std::getenv("GEMLITH_REWRITE_GUIDE") != nullptr;

  // Later blocks move when an earlier one is rewritten: go from the last to the first.
  for (auto e = examples.rbegin(); e != examples.rend(); ++e) {
    std::vector<std::string> args = {"--prefs", ""};
    for (size_t i = 0; i < e->args.size(); ++i) {
      args.push_back(e->args[i]);
      if (e->args[i] == "--scene" && i + 1 < e->args.size())
        args.push_back((kDocs / std::filesystem::u8path(e->args[++i])).u8string());
    }
    Scenario s;
    args[1] = s.PrefsPath().u8string();
    const scenario::ScenarioRun r = s.RunHost(args, false);
    const std::string where = "docs/commands.md:" + std::to_string(e->line);
    EXPECT_EQ(r.exit_code, 0) << where << "\n" << r.err;
    EXPECT_EQ(r.err, "") << where;
    const std::vector<std::string> shown = Shown(r.out);
    const std::vector<std::string> written(lines.begin() + e->first, lines.begin() + e->end);
    if (shown == written) continue;
    if (rewrite) {
      lines.erase(lines.begin() + e->first, lines.begin() + e->end);
      lines.insert(lines.begin() + e->first, shown.begin(), shown.end());
      continue;
    }
    std::string diff;
    for (size_t i = 0; i < std::max(shown.size(), written.size()); ++i) {
      const std::string a = i < written.size() ? written[i] : "(no line)";
      const std::string b = i < shown.size() ? shown[i] : "(no line)";
      if (a != b) diff += "  guide:   " + a + "\n  printed: " + b + "\n";
    }
    ADD_FAILURE() << where << ": the example prints something else than the guide shows\n" << diff;
  }
  if (rewrite) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    WriteText(guide, text);
  }
}

}  // namespace
