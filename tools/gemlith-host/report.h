// What gemlith-host tells: one JSON object per line with --json, readable text without.
#ifndef GEMLITH_HOST_REPORT_H
#define GEMLITH_HOST_REPORT_H

#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "key_map.h"
#include "scene.h"
#include "standin/host.h"
#include "steps.h"

namespace gemhost {

struct LoadInfo {
  std::string module_path;
  std::string module_id;  // "" when the module declares none that the host can see
  standin::LoadResult result;
};

class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual void Load(const LoadInfo& info) = 0;
  // run= / call=; `names` are the entries' names by id.
  virtual void Run(const Step& step, const standin::RunResult& run,
                   const std::map<int32_t, std::string>& names) = 0;
  // `step` is null when the menu is shown because no step was given.
  virtual void Menu(const Step* step, const std::vector<standin::MenuEntry>& entries) = 0;
  virtual void Tree(const Step* step, const SceneDesc& scene) = 0;
  // Every other step; `detail` is a line for people (may be empty).
  virtual void Result(const Step& step, bool result, const std::string& detail) = 0;
  // Something went wrong in the module's use of the host (shown on the error stream).
  virtual void CodingError(const std::string& text) = 0;
};

std::unique_ptr<Reporter> MakeJsonReporter(std::ostream& out, std::ostream& err, KeyMap& keys,
                                           standin::Host& host);
std::unique_ptr<Reporter> MakeTextReporter(std::ostream& out, std::ostream& err, KeyMap& keys,
                                           standin::Host& host);

// The readable tree of a scene, one line per object, with selection order, links and modes.
std::string TreeText(const SceneDesc& scene);
// The readable menu, greyed entries marked.
std::string MenuText(const std::vector<standin::MenuEntry>& entries);


}  // namespace gemhost

#endif
