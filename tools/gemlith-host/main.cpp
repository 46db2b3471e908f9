// gemlith-host: the headless stand-in host. It loads the module file, lets it register its menu
// entries, builds a scene and drives the module with steps (selection, modifier keys, menu picks,
// dialogs, undo), reporting what happened. Exit status: 0 after a run, 2 for a bad input (nothing
// is run then), 1 when the module cannot be loaded or the output cannot be written.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "demo_scene.h"
#include "host_scene.h"
#include "input_error.h"
#include "key_map.h"
#include "platform.h"
#include "prefs_file.h"
#include "report.h"
#include "scene_reader.h"
#include "scene_writer.h"
#include "standin/host.h"
#include "steps.h"

namespace {

using gemhost::InputError;

constexpr const char* kUsage =
    "usage: gemlith-host [--scene FILE] [--out FILE|-] [--prefs FILE] [--module FILE] [--json] "
    "STEP...\n"
    "\n"
    "  --scene FILE   the scene to work on (JSON); without it a built-in demo scene\n"
    "  --out FILE|-   write the scene after the last step (\"-\": standard output)\n"
    "  --prefs FILE   the host's preferences file (default: $XDG_CONFIG_HOME/gemlith-host/"
    "prefs.json,\n"
    "                 else ~/.config/gemlith-host/prefs.json)\n"
    "  --module FILE  the module file (default: the one beside this program)\n"
    "  --json         one JSON object per line instead of text\n"
    "\n"
    "steps (run in order; none: print the menu and the scene tree):\n"
    "  select=K1,K2,...   select exactly these objects, K1 first (select= deselects all)\n"
    "  keys=ctrl+shift+alt  modifier keys held from now on (keys=none releases them)\n"
    "  run=ENTRY          pick a menu entry: a plugin id, or select, create, split, rename,\n"
    "                     frame-objects, frame-elements, swap, make-editable, settings\n"
    "  call=ENTRY         run the entry's command even when the entry is greyed\n"
    "  rename=TEXT        answer the next rename dialog with TEXT (rename-cancel: cancel it)\n"
    "  settings=N         pick the entry with value N in the open settings dialog\n"
    "  close-settings     close the settings dialog\n"
    "  undo, redo         undo or redo one step\n"
    "  menu, tree         show the menu, the scene tree\n"
    "  note=TEXT          print TEXT\n";

struct Options {
  std::optional<std::string> scene;
  std::optional<std::string> out;
  std::optional<std::string> prefs;
  std::optional<std::string> module;
  bool json = false;
  bool help = false;
  std::vector<std::string> steps;
};

Options ParseCommandLine(const std::vector<std::string>& args) {
  Options o;
  bool options_done = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_done || arg.rfind("--", 0) != 0) {
      o.steps.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    std::string name = arg, value;
    bool has_value = false;
    if (auto eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      has_value = true;
    }
    if (name == "--json" || name == "--help") {
      if (has_value) throw InputError("option " + name + " takes no value");
      (name == "--json" ? o.json : o.help) = true;
      continue;
    }
    std::optional<std::string>* slot = name == "--scene"    ? &o.scene
                                       : name == "--out"    ? &o.out
                                       : name == "--prefs"  ? &o.prefs
                                       : name == "--module" ? &o.module
                                                            : nullptr;
    if (!slot) throw InputError("unknown option " + name + " (see --help)");
    if (!has_value) {
      if (i + 1 >= args.size()) throw InputError("option " + name + " needs a value");
      value = args[++i];
    }
    if (value.empty()) throw InputError("option " + name + " needs a non-empty value");
    *slot = value;
  }
  return o;
}

bool WriteOutput(const std::string& target, const gemhost::SceneDesc& scene, bool json_lines) {
  if (target == "-") {
    gemhost::WriteSceneText(std::cout, scene, json_lines ? -1 : 2);
    std::cout << std::endl;
    return static_cast<bool>(std::cout);
  }
  std::ofstream out(std::filesystem::u8path(target), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  gemhost::WriteSceneText(out, scene, 2);
  out << "\n";
  out.close();
  return static_cast<bool>(out);
}

int Run(const std::vector<std::string>& args) {
  Options options;
  std::vector<gemhost::Step> steps;
  gemhost::SceneDesc scene;
  std::string module_path;
  std::string prefs_path;
  try {
    options = ParseCommandLine(args);
    if (options.help) {
      std::cout << kUsage;
      return 0;
    }
    steps = gemhost::ParseSteps(options.steps);
    prefs_path = options.prefs ? *options.prefs : gemhost::DefaultPrefsPath();
    if (!prefs_path.empty()) gemhost::CheckPrefsFile(prefs_path);
    scene = options.scene ? gemhost::ReadSceneFile(*options.scene) : gemhost::DemoScene();
    module_path = options.module
                      ? *options.module
                      : (std::filesystem::u8path(gemhost::ExecutableDir()) /
                         gemhost::DefaultModuleName()).u8string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(module_path), ec))
      throw InputError(module_path + ": no such module file");
  } catch (const InputError& e) {
    std::cerr << "gemlith-host: " << e.what() << "\n";
    return 2;
  }

  if (!prefs_path.empty()) {
    std::error_code ec;  // a folder that cannot be made shows when the host writes the file
    std::filesystem::create_directories(std::filesystem::u8path(prefs_path).parent_path(), ec);
  }

  standin::HostOptions host_options;
  host_options.prefs_path = prefs_path;
  standin::Host host(host_options);
  gemhost::KeyMap keys;
  auto reporter = options.json ? gemhost::MakeJsonReporter(std::cout, std::cerr, keys, host)
                               : gemhost::MakeTextReporter(std::cout, std::cerr, keys, host);

  gemhost::LoadInfo load;
  load.module_path = module_path;
  load.result = host.LoadModuleFile(module_path);
  if (load.result.loaded) load.module_id = gemhost::ModuleIdentifier(module_path, load.result.adapted);
  reporter->Load(load);
  if (!load.result.loaded) {
    std::cerr << "gemlith-host: cannot load " << module_path << ": " << load.result.error << "\n";
    return 1;
  }

  try {
    gemhost::BuildScene(host, scene, keys);
    scene = gemhost::SceneDesc();  // the document holds it now
  } catch (const InputError& e) {
    std::cerr << "gemlith-host: " << e.what() << "\n";
    host.Unload();
    return 2;
  }

  gemhost::Session session(host, keys, *reporter);
  if (steps.empty()) {
    steps.push_back(gemhost::ParseStep("menu", 1));
    steps.push_back(gemhost::ParseStep("tree", 2));
  }
  for (const gemhost::Step& step : steps) session.Execute(step);

  int status = 0;
  if (options.out) {
    if (!WriteOutput(*options.out, gemhost::CaptureScene(host, keys), options.json)) {
      std::cerr << "gemlith-host: cannot write " << *options.out << "\n";
      status = 1;
    }
  }
  host.Unload();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const gemhost::Utf8Console console;
  try {
    return Run(gemhost::Arguments(argc, argv));
  } catch (const std::exception& e) {
    std::cerr << "gemlith-host: " << e.what() << "\n";
    return 1;
  }
}
