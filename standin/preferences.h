// Preferences: the world plugin containers and the preferences file that keeps them:
//   {"plugins": {"<plugin id>": {"<element id>": <Int32 value>, ...}, ...}}
// Fills the get_world_plugin_data and set_world_plugin_data entries of the table.
#ifndef GEMLITH_STANDIN_PREFERENCES_H
#define GEMLITH_STANDIN_PREFERENCES_H

#include <map>
#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "container.h"

namespace standin {

// The form of a valid preferences file: at most a member "plugins", an object of containers by
// plugin id, each an object of Int32 values by element id; ids are decimal integers in the Int32
// range. Returns the first fault of `doc` as "PATH: what" ("what" alone for the document as a
// whole), or "" when `doc` has this form. Open reads what it can of a file that does not.
std::string PreferencesFault(const nlohmann::json& doc);

class Preferences {
 public:
  // Reads the file; a missing file means nothing stored. Empty path: memory only.
  void Open(const std::string& path);
  GmContainer* Get(int32_t plugin_id);
  // add=false replaces the container, add=true merges the elements into it. Writes the file.
  bool Set(int32_t plugin_id, const GmContainer& bc, bool add);
  const std::string& Error() const { return error_; }  // why the file could not be read/written

 private:
  bool Write();

  std::string path_;
  std::string error_;
  std::map<int32_t, std::unique_ptr<GmContainer>> plugins_;
};

// get_world_plugin_data and set_world_plugin_data.
void FillPreferencesApi(GmHostApi* t);

}  // namespace standin

#endif  // GEMLITH_STANDIN_PREFERENCES_H
