// Preferences (see preferences.h): the get/set_world_plugin_data entries of the table and Host's
// preferences methods.
#include "preferences.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "api_table.h"

namespace standin {

namespace {

// An id as the file writes it: a decimal integer in the Int32 range, with no sign but "-".
bool ParseId(const std::string& s, int32_t* out) {
  if (s.empty() || s.size() > 11) return false;
  size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  const long long v = std::stoll(s);
  if (v < INT32_MIN || v > INT32_MAX) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

bool IsInt32(const nlohmann::json& v) {
  if (!v.is_number_integer()) return false;
  if (v.is_number_unsigned()) return v.get<uint64_t>() <= static_cast<uint64_t>(INT32_MAX);
  return v.get<int64_t>() >= INT32_MIN && v.get<int64_t>() <= INT32_MAX;
}

}  // namespace

std::string PreferencesFault(const nlohmann::json& doc) {
  auto fault = [](const std::string& path, const std::string& what) {
    return path.empty() ? what : path + ": " + what;
  };
  if (!doc.is_object()) return fault("", "preferences must be a JSON object {\"plugins\": {...}}");
  for (const auto& item : doc.items())
    if (item.key() != "plugins") return fault(item.key(), "unknown member (preferences have \"plugins\")");
  auto plugins = doc.find("plugins");
  if (plugins == doc.end()) return "";
  if (!plugins->is_object()) return fault("plugins", "must be an object: plugin id -> container");
  int32_t id = 0;
  for (const auto& [plugin, container] : plugins->items()) {
    const std::string p = "plugins." + plugin;
    if (!ParseId(plugin, &id)) return fault(p, "a plugin id must be an integer");
    if (!container.is_object()) return fault(p, "must be an object: element id -> integer");
    for (const auto& [element, value] : container.items()) {
      const std::string q = p + "." + element;
      if (!ParseId(element, &id)) return fault(q, "an element id must be an integer");
      if (!value.is_number_integer()) return fault(q, "must be an integer");
      if (!IsInt32(value)) return fault(q, "is out of the 32-bit range");
    }
  }
  return "";
}

void Preferences::Open(const std::string& path) {
  path_ = path;
  error_.clear();
  plugins_.clear();
  if (path_.empty()) return;
  std::ifstream in(std::filesystem::u8path(path_), std::ios::binary);
  if (!in) return;  // no file yet: nothing stored
  std::stringstream buf;
  buf << in.rdbuf();
  nlohmann::json doc = nlohmann::json::parse(buf.str(), nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    error_ = path_ + ": not a JSON object; preferences ignored";
    return;
  }
  auto plugins = doc.find("plugins");
  if (plugins == doc.end()) return;
  if (!plugins->is_object()) {
    error_ = path_ + ": \"plugins\" is not an object; preferences ignored";
    return;
  }
  for (auto it = plugins->begin(); it != plugins->end(); ++it) {
    int32_t plugin_id = 0;
    if (!ParseId(it.key(), &plugin_id) || !it.value().is_object()) {
      error_ = path_ + ": plugins." + it.key() + " is not a container; skipped";
      continue;
    }
    auto bc = std::make_unique<GmContainer>();
    for (auto el = it.value().begin(); el != it.value().end(); ++el) {
      int32_t id = 0;
      if (!ParseId(el.key(), &id)) {
        error_ = path_ + ": plugins." + it.key() + "." + el.key() + " is not an element id";
        continue;
      }
      const auto& v = el.value();
      if (v.is_number_integer() && v.get<long long>() >= INT32_MIN &&
          v.get<long long>() <= INT32_MAX) {
        SetElement(*bc, id, LongValue(v.get<int32_t>()));
      } else if (v.is_number()) {
        Value r;
        r.type = GM_VALUE_REAL;
        r.real = v.get<double>();
        SetElement(*bc, id, std::move(r));
      } else if (v.is_string()) {
        Value s;
        s.type = GM_VALUE_STRING;
        s.str = v.get<std::string>();
        SetElement(*bc, id, std::move(s));
      } else {
        error_ = path_ + ": plugins." + it.key() + "." + el.key() + " has an unsupported value";
      }
    }
    plugins_[plugin_id] = std::move(bc);
  }
}

GmContainer* Preferences::Get(int32_t plugin_id) {
  auto it = plugins_.find(plugin_id);
  return it == plugins_.end() ? nullptr : it->second.get();
}

bool Preferences::Set(int32_t plugin_id, const GmContainer& bc, bool add) {
  auto& slot = plugins_[plugin_id];
  if (!slot || !add) {
    // Copy first: `bc` may be the stored container itself.
    auto copy = CopyContainer(bc);
    slot = std::move(copy);
  } else if (&bc != slot.get()) {
    for (const auto& [id, v] : bc.elements) SetElement(*slot, id, v.Copy());
  }
  return Write();
}

bool Preferences::Write() {
  if (path_.empty()) return true;
  nlohmann::json plugins = nlohmann::json::object();
  for (const auto& [plugin_id, bc] : plugins_) {
    nlohmann::json c = nlohmann::json::object();
    for (const auto& [id, v] : bc->elements) {
      const std::string key = std::to_string(id);
      switch (v.type) {
        case GM_VALUE_LONG: c[key] = v.i32; break;
        case GM_VALUE_REAL: c[key] = v.real; break;
        case GM_VALUE_STRING: c[key] = v.str; break;
        default: break;  // links and sub-containers are not kept in the preferences
      }
    }
    plugins[std::to_string(plugin_id)] = c;
  }
  nlohmann::json doc = {{"plugins", plugins}};
  const std::string tmp = path_ + ".tmp";
  {
    std::ofstream out(std::filesystem::u8path(tmp), std::ios::binary | std::ios::trunc);
    if (!out) {
      error_ = "cannot write " + tmp;
      return false;
    }
    out << doc.dump(2) << "\n";
    if (!out) {
      error_ = "cannot write " + tmp;
      return false;
    }
  }
  // std::filesystem::rename replaces an existing file on Windows too (std::rename does not there).
  std::error_code ec;
  std::filesystem::rename(std::filesystem::u8path(tmp), std::filesystem::u8path(path_), ec);
  if (ec) {
    error_ = "cannot replace " + path_;
    std::filesystem::remove(std::filesystem::u8path(tmp), ec);
    return false;
  }
  return true;
}

// ---- the table's entries ----

namespace {

GmContainer* GetWorldPluginData(int32_t plugin_id) {
  NEED_HOST(nullptr);
  return H().prefs.Get(plugin_id);
}
GmBool SetWorldPluginData(int32_t plugin_id, const GmContainer* bc, GmBool add) {
  NEED_HOST(0);
  if (!bc) return 0;
  return H().prefs.Set(plugin_id, *bc, add != 0);
}

}  // namespace

void FillPreferencesApi(GmHostApi* t) {
  t->get_world_plugin_data = GetWorldPluginData;
  t->set_world_plugin_data = SetWorldPluginData;
}

// ---- Host: preferences ----

std::optional<std::map<int32_t, int32_t>> Host::Prefs(int32_t plugin_id) const {
  GmContainer* bc = impl_->prefs.Get(plugin_id);
  if (!bc) return std::nullopt;
  std::map<int32_t, int32_t> out;
  for (const auto& [id, v] : bc->elements)
    if (v.type == GM_VALUE_LONG) out[id] = v.i32;
  return out;
}

void Host::SetPrefs(int32_t plugin_id, const std::map<int32_t, int32_t>& values) {
  GmContainer bc;
  for (const auto& [id, v] : values) SetElement(bc, id, LongValue(v));
  impl_->prefs.Set(plugin_id, bc, false);
}

const std::string& Host::PrefsError() const { return impl_->prefs.Error(); }

}  // namespace standin
