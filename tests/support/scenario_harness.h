// Scenario harness: runs the built gemlith-host program as a child process, the way a user or a
// script drives the module, and hands back what it reported.
//
//   Scenario s;
//   ScenarioRun r = s.Scene(R"({"objects": [{"key": "c", "type": "cube"}], "selection": ["c"]})")
//                       .Run({"run=create"});
//   ASSERT_EQ(r.exit_code, 0) << r.err;
//   const json& create = r.Step(0);           // the report line of the first step
//   EXPECT_TRUE(create["result"]);
//   const json* made = r.Object("new1");      // an object of the output scene, by key
//
// Every Scenario has its own folder with the scene file, the preferences file (kept across runs
// of one Scenario, so a second Run is a restart of the host with the same preferences) and the
// output scene. Command scenarios live in tests/scenarios/<command>_scenarios.cpp; CMake picks up
// every *_scenarios.cpp file of the folder. Plugin ids are the module's own (ID_GEMLITH_*).
#ifndef GEMLITH_TESTS_SUPPORT_SCENARIO_HARNESS_H
#define GEMLITH_TESTS_SUPPORT_SCENARIO_HARNESS_H

#include <gtest/gtest.h>

// Before windows.h, whose macros would rename the SDK-style names (LoadString, ...).
#include "module_ids.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#ifndef GEMLITH_HOST_PATH
#error "GEMLITH_HOST_PATH must name the built gemlith-host program"
#endif

namespace scenario {

using json = nlohmann::json;

using gemlith_test::kMenuOrder;
// Undo types as reported.
using standin::kUndoBits;
using standin::kUndoChange;
using standin::kUndoChangeSmall;
using standin::kUndoDeleteObj;
using standin::kUndoNewObj;

inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

// Quotes an argument for the POSIX shell.
inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Splits `text` into POSIX shell words: blanks separate them, '...' quotes and a backslash escapes.
inline std::vector<std::string> ShellWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false, quoted = false, escaped = false;
  for (char c : text) {
    if (escaped) {  // the character after a backslash stands for itself ('\'' inside a quote)
      word += c;
      escaped = false;
    } else if (quoted) {
      if (c == '\'') quoted = false;
      else word += c;
    } else if (c == '\'') {
      quoted = in_word = true;
    } else if (c == '\\') {
      escaped = in_word = true;
    } else if (c == ' ' || c == '\t') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

inline unsigned long ProcessId() {
#if defined(_WIN32)
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(::getpid());
#endif
}

#if defined(_WIN32)
// Quotes an argument so that the C runtime's command-line parser hands it back unchanged.
inline std::wstring WindowsQuote(const std::wstring& s) {
  std::wstring q = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : s) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote (and before the closing quote) are doubled.
    q.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    q += c;
  }
  q.append(2 * backslashes, L'\\');
  return q + L"\"";
}

// Splits "NAME=value NAME2='quoted value' NAME3=" (POSIX shell words, as ShellQuote writes them)
// into (name, value) pairs.
inline std::vector<std::pair<std::string, std::string>> ParseEnvAssignments(const std::string& env) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const std::string& w : ShellWords(env)) {
    const size_t eq = w.find('=');
    if (eq != std::string::npos) out.emplace_back(w.substr(0, eq), w.substr(eq + 1));
  }
  return out;
}
#endif

// What one run of gemlith-host gave.
struct ScenarioRun {
  int exit_code = -1;
  std::string out;          // standard output
  std::string err;          // standard error
  std::vector<json> lines;  // --json report lines (line 0: load)
  json scene;               // the output scene (null when none was written)
  bool out_written = false;

  // The report of the i-th step (0-based), after the load line.
  const json& Step(size_t i) const {
    static const json kNone;
    return i + 1 < lines.size() ? lines[i + 1] : kNone;
  }
  const json& Load() const {
    static const json kNone;
    return lines.empty() ? kNone : lines[0];
  }
  // The object with this key anywhere in the output scene's tree, or null.
  const json* Object(const std::string& key) const {
    return scene.is_object() ? Find(scene["objects"], key, nullptr) : nullptr;
  }
  // The key of the parent of the object with this key ("" = top level or not found).
  std::string ParentOf(const std::string& key) const {
    const json* parent = nullptr;
    if (scene.is_object()) Find(scene["objects"], key, &parent);
    return parent ? (*parent)["key"].get<std::string>() : "";
  }
  // Keys of the top-level objects (or of the children of `parent`), in order.
  std::vector<std::string> Keys(const std::string& parent = "") const {
    std::vector<std::string> keys;
    if (!scene.is_object()) return keys;
    const json* list = &scene["objects"];
    if (!parent.empty()) {
      const json* p = Object(parent);
      if (!p || !p->contains("children")) return keys;
      list = &(*p)["children"];
    }
    for (const json& o : *list) keys.push_back(o["key"]);
    return keys;
  }
  std::vector<std::string> Selection() const {
    return scene.is_object() && scene.contains("selection")
               ? scene["selection"].get<std::vector<std::string>>()
               : std::vector<std::string>{};
  }

 private:
  static const json* Find(const json& list, const std::string& key, const json** parent) {
    if (!list.is_array()) return nullptr;
    for (const json& o : list) {
      if (o.value("key", "") == key) return &o;
      if (o.contains("children")) {
        if (const json* hit = Find(o["children"], key, parent)) {
          if (parent && !*parent) *parent = &o;
          return hit;
        }
      }
    }
    return nullptr;
  }
};

class Scenario {
 public:
  Scenario() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "run";
    for (char& c : name)
      if (c == '/' || c == ' ') c = '_';
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("gemlith-scenario-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++) +
            "-" + name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    prefs_ = dir_ / "prefs.json";
  }
  ~Scenario() {
    std::error_code ec;  // the folder stays for a look when the test failed
    if (!::testing::Test::HasFailure()) std::filesystem::remove_all(dir_, ec);
  }
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  // The scene to start from (JSON text); without one the program's demo scene is used.
  Scenario& Scene(const std::string& text) {
    scene_ = dir_ / "scene.json";
    WriteText(*scene_, text);
    return *this;
  }
  Scenario& Scene(const char* text) { return Scene(std::string(text)); }
  Scenario& Scene(const json& scene) { return Scene(scene.dump(2)); }
  // Writes the preferences file as it stands before the next run.
  Scenario& Prefs(const std::string& text) {
    WriteText(prefs_, text);
    return *this;
  }
  // Extra command-line options for the next runs (e.g. {"--module", path}).
  Scenario& Options(std::vector<std::string> options) {
    options_ = std::move(options);
    return *this;
  }
  const std::filesystem::path& PrefsPath() const { return prefs_; }
  const std::filesystem::path& Dir() const { return dir_; }
  std::filesystem::path StdoutPath() const { return dir_ / "stdout.txt"; }

  // Runs `steps`, the last of them a command, four times: without the command, with it, with it
  // undone, with it undone and redone. Every run exits with 0, the undo and the redo succeed, the
  // undone scene is the whole scene before the command and the redone one the scene after it.
  // Returns the run with the command.
  ScenarioRun RunRoundTrip(const std::vector<std::string>& steps) {
    std::vector<std::string> prefix(steps.begin(), steps.end() - 1);
    prefix.push_back("tree");  // a step that changes nothing, so that the run has one
    const ScenarioRun before = Run(prefix);
    ScenarioRun after = Run(steps);
    std::vector<std::string> undo = steps;
    undo.push_back("undo");
    const ScenarioRun undone = Run(undo);
    std::vector<std::string> redo = undo;
    redo.push_back("redo");
    const ScenarioRun redone = Run(redo);
    for (const ScenarioRun* run :
         {&before, static_cast<const ScenarioRun*>(&after), &undone, &redone})
      EXPECT_EQ(run->exit_code, 0) << run->err;
    if (redone.lines.size() != steps.size() + 3) {
      ADD_FAILURE() << "the report has " << redone.lines.size() << " lines";
      return after;
    }
    EXPECT_EQ(redone.Step(steps.size()), json::parse(R"({"step": "undo", "result": true})"));
    EXPECT_EQ(redone.Step(steps.size() + 1), json::parse(R"({"step": "redo", "result": true})"));
    EXPECT_EQ(undone.scene, before.scene) << "undo does not restore the scene";
    EXPECT_EQ(redone.scene, after.scene) << "redo does not give the result again";
    return after;
  }

  // Runs gemlith-host with --json (unless `json_report` is false), the scene, the preferences
  // and --out, then the steps; reads the report lines and the output scene.
  ScenarioRun Run(const std::vector<std::string>& steps, bool json_report = true) {
    const std::filesystem::path out = dir_ / "out.json";
    std::filesystem::remove(out);
    std::vector<std::string> args;
    if (json_report) args.push_back("--json");
    if (scene_) args.insert(args.end(), {"--scene", scene_->u8string()});
    args.insert(args.end(), {"--prefs", prefs_.u8string(), "--out", out.u8string()});
    args.insert(args.end(), options_.begin(), options_.end());
    // GEMLITH_TEST_MODULE runs every scenario with another module file (the real one, through the
    // adapter), unless the scenario names its own.
    const char* module = std::getenv("GEMLITH_TEST_MODULE");
    if (module && *module && std::find(options_.begin(), options_.end(), "--module") == options_.end())
      args.insert(args.end(), {"--module", module});
    args.insert(args.end(), steps.begin(), steps.end());
    ScenarioRun r = RunHost(args, json_report);
    if (std::filesystem::exists(out)) {
      r.out_written = true;
      r.scene = json::parse(ReadText(out), nullptr, false);
      if (r.scene.is_discarded()) ADD_FAILURE() << "the output scene is not JSON";
    }
    return r;
  }

  // Runs gemlith-host with exactly these arguments (UTF-8, like `env`, "NAME=value ...", in front),
  // in this scenario's folder; --json report lines are parsed when `json_report` is set. With
  // `read_out` false the standard output is left in StdoutPath() unread (a report too large to
  // hold, to be read line by line).
  ScenarioRun RunHost(const std::vector<std::string>& args, bool json_report,
                      const std::string& env = "", bool read_out = true) {
    const std::filesystem::path stdout_file = StdoutPath();
    const std::filesystem::path stderr_file = dir_ / "stderr.txt";
    ScenarioRun r;
#if defined(_WIN32)
    r.exit_code = RunWindowsProcess(args, env, stdout_file, stderr_file);
#else
    std::string cmd = "cd " + ShellQuote(dir_.string()) + " && " + env + " " +
                      ShellQuote(GEMLITH_HOST_PATH);
    for (const std::string& a : args) cmd += " " + ShellQuote(a);
    cmd += " >" + ShellQuote(stdout_file.string()) + " 2>" + ShellQuote(stderr_file.string()) +
           " </dev/null";

    const int status = std::system(cmd.c_str());
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    r.err = ReadText(stderr_file);
    if (!read_out) return r;
    r.out = ReadText(stdout_file);
    if (json_report) {
      std::istringstream lines(r.out);
      for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        json j = json::parse(line, nullptr, false);
        if (j.is_discarded()) {
          ADD_FAILURE() << "not a JSON report line: " << line;
          continue;
        }
        r.lines.push_back(std::move(j));
      }
    }
    return r;
  }

 private:
#if defined(_WIN32)
  // The same run on Windows, without a shell: the environment assignments are set in this process
  // around CreateProcess (the child inherits them) and put back afterwards.
  int RunWindowsProcess(const std::vector<std::string>& args, const std::string& env,
                        const std::filesystem::path& stdout_file,
                        const std::filesystem::path& stderr_file) {
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved;
    for (const auto& [name, value] : ParseEnvAssignments(env)) {
      const std::wstring wname = std::filesystem::u8path(name).wstring();
      wchar_t old[32768];
      const DWORD n = GetEnvironmentVariableW(wname.c_str(), old, 32768);
      saved.emplace_back(wname, n > 0 && n < 32768 ? std::optional<std::wstring>(old)
                                                   : std::nullopt);
      // An empty value unsets the variable, as an empty one counts as unset on POSIX too.
      SetEnvironmentVariableW(wname.c_str(),
                              value.empty() ? nullptr : std::filesystem::u8path(value).c_str());
    }
    std::wstring cmd = WindowsQuote(std::filesystem::path(GEMLITH_HOST_PATH).wstring());
    for (const std::string& a : args)
      cmd += L" " + WindowsQuote(std::filesystem::u8path(a).wstring());

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    auto open = [&inherit](const std::wstring& p, DWORD access, DWORD disposition) {
      return CreateFileW(p.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE in = open(L"NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = open(stdout_file.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = open(stderr_file.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    int exit_code = -1;
    const std::wstring cwd = dir_.wstring();
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, cwd.c_str(), &si,
                       &pi)) {
      WaitForSingleObject(pi.hProcess, INFINITE);
      DWORD code = 0;
      if (GetExitCodeProcess(pi.hProcess, &code)) exit_code = static_cast<int>(code);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    } else {
      ADD_FAILURE() << GEMLITH_HOST_PATH << " could not be started (error " << GetLastError()
                    << ")";
    }
    for (HANDLE h : {in, out, err})
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    for (const auto& [name, value] : saved)
      SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    return exit_code;
  }
#endif

  std::filesystem::path dir_;
  std::filesystem::path prefs_;
  std::optional<std::filesystem::path> scene_;
  std::vector<std::string> options_;
};

// The entry with this id of a "menu" report line (null when there is none).
inline json MenuEntry(const json& menu_line, int32_t id) {
  for (const json& e : menu_line["entries"])
    if (e["id"] == id) return e;
  return json();
}

// The (type, key) pairs of a run report's undo list.
inline std::vector<std::pair<int, std::string>> UndoEntries(const json& run_line) {
  std::vector<std::pair<int, std::string>> out;
  for (const json& u : run_line["undo"]) out.emplace_back(u[0].get<int>(), u[1].get<std::string>());
  return out;
}

}  // namespace scenario

#endif
