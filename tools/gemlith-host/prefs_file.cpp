#include "prefs_file.h"

#include <filesystem>
#include <set>
#include <vector>

#include <nlohmann/json.hpp>

#include "input_error.h"
#include "standin/preferences.h"

namespace gemhost {

using nlohmann::json;

namespace {

// Follows the parser through the document to name the place of a member that an object holds
// twice; JSON itself would silently keep the last one.
class DuplicateMemberCheck {
 public:
  explicit DuplicateMemberCheck(std::string file) : file_(std::move(file)) {}

  bool operator()(int, json::parse_event_t event, json& parsed) {
    switch (event) {
      case json::parse_event_t::object_start: stack_.push_back({false, 0, "", {}}); break;
      case json::parse_event_t::array_start: stack_.push_back({true, 0, "", {}}); break;
      case json::parse_event_t::key: {
        Frame& f = stack_.back();
        f.key = parsed.get<std::string>();
        if (!f.members.insert(f.key).second)
          throw InputError(file_ + ": " + Path() + ": this member is given twice");
        break;
      }
      case json::parse_event_t::object_end:
      case json::parse_event_t::array_end:
        stack_.pop_back();
        ElementDone();
        break;
      case json::parse_event_t::value: ElementDone(); break;
    }
    return true;
  }

 private:
  struct Frame {
    bool array;
    size_t index;
    std::string key;
    std::set<std::string> members;
  };

  void ElementDone() {
    if (!stack_.empty() && stack_.back().array) ++stack_.back().index;
  }

  std::string Path() const {
    std::string path;
    for (const Frame& f : stack_) {
      if (f.array) path += "[" + std::to_string(f.index) + "]";
      else path += (path.empty() ? "" : ".") + f.key;
    }
    return path;
  }

  std::string file_;
  std::vector<Frame> stack_;
};

json ParseJson(const std::string& text, const std::string& file) {
  try {
    return json::parse(text, DuplicateMemberCheck(file));
  } catch (const json::parse_error& e) {
    ThrowJsonError(text, file, e);
  } catch (const json::out_of_range& e) {
    ThrowJsonError(text, file, e);
  }
}

}  // namespace

void CheckPrefsFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::u8path(path), ec)) return;  // none stored yet
  const std::string fault = standin::PreferencesFault(ParseJson(ReadInputFile(path), path));
  if (!fault.empty()) throw InputError(path + ": " + fault);
}

}  // namespace gemhost
