#include "prefs_file.h"

#include <filesystem>
#include <limits>
#include <set>
#include <vector>

#include <nlohmann/json.hpp>

#include "input_error.h"

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

void CheckPrefsJson(const json& root, const std::string& file) {
  auto fail = [&file](const std::string& path, const std::string& what) {
    throw InputError(file + ": " + (path.empty() ? "" : path + ": ") + what);
  };
  auto is_id = [](const std::string& s) {
    if (s.empty() || s.size() > 11) return false;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i)
      if (s[i] < '0' || s[i] > '9') return false;
    const long long v = std::stoll(s);
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
  };
  if (!root.is_object()) fail("", "preferences must be a JSON object {\"plugins\": {...}}");
  for (const auto& item : root.items())
    if (item.key() != "plugins") fail(item.key(), "unknown member (preferences have \"plugins\")");
  if (!root.contains("plugins")) return;
  const json& plugins = root["plugins"];
  if (!plugins.is_object()) fail("plugins", "must be an object: plugin id -> container");
  for (const auto& [id, container] : plugins.items()) {
    const std::string p = "plugins." + id;
    if (!is_id(id)) fail(p, "a plugin id must be an integer");
    if (!container.is_object()) fail(p, "must be an object: element id -> integer");
    for (const auto& [elem, value] : container.items()) {
      const std::string q = p + "." + elem;
      if (!is_id(elem)) fail(q, "an element id must be an integer");
      if (!value.is_number_integer()) fail(q, "must be an integer");
      const bool out_of_range =
          value.is_number_unsigned()
              ? value.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())
              : value.get<int64_t>() < std::numeric_limits<int32_t>::min() ||
                    value.get<int64_t>() > std::numeric_limits<int32_t>::max();
      if (out_of_range) fail(q, "is out of the 32-bit range");
    }
  }
}

}  // namespace

void CheckPrefsFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::u8path(path), ec)) return;  // none stored yet
  CheckPrefsJson(ParseJson(ReadInputFile(path), path), path);
}

}  // namespace gemhost
