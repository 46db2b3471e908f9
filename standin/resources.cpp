// A module's resources and icons (see resources.h): the resource reader, and the
// plugin_resource_path, resource_* and bitmap_* entries of the table.
#include "resources.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "api_table.h"

namespace standin {

namespace {

struct Token {
  enum Kind { kEnd, kIdent, kInt, kString, kPunct, kBad } kind = kEnd;
  std::string text;
  long long number = 0;
  int line = 1;
};

// A small lexer for both files: identifiers, integers, strings with \" and \\ escapes, the
// punctuation { } ; , = and // or /* */ comments. Preprocessor lines are skipped.
class Lexer {
 public:
  explicit Lexer(const std::string& text) : s_(text) {}

  Token Next() {
    SkipSpace();
    Token t;
    t.line = line_;
    if (i_ >= s_.size()) return t;
    char c = s_[i_];
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t b = i_;
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_'))
        ++i_;
      t.kind = Token::kIdent;
      t.text = s_.substr(b, i_ - b);
      return t;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') {
      size_t b = i_++;
      while (i_ < s_.size() && std::isalnum(static_cast<unsigned char>(s_[i_]))) ++i_;
      t.text = s_.substr(b, i_ - b);
      try {
        size_t used = 0;
        t.number = std::stoll(t.text, &used, 0);
        t.kind = used == t.text.size() ? Token::kInt : Token::kBad;
      } catch (...) {
        t.kind = Token::kBad;
      }
      return t;
    }
    if (c == '"') {
      ++i_;
      while (i_ < s_.size() && s_[i_] != '"') {
        char ch = s_[i_++];
        if (ch == '\n') {
          t.kind = Token::kBad;
          t.text = "line break inside a string";
          return t;
        }
        if (ch == '\\') {
          if (i_ >= s_.size()) break;
          char e = s_[i_++];
          switch (e) {
            case '"': t.text += '"'; break;
            case '\\': t.text += '\\'; break;
            case 'n': t.text += '\n'; break;
            case 't': t.text += '\t'; break;
            default:
              t.kind = Token::kBad;
              t.text = std::string("unknown escape \\") + e;
              return t;
          }
        } else {
          t.text += ch;
        }
      }
      if (i_ >= s_.size()) {
        t.kind = Token::kBad;
        t.text = "unterminated string";
        return t;
      }
      ++i_;
      t.kind = Token::kString;
      return t;
    }
    if (c == '{' || c == '}' || c == ';' || c == ',' || c == '=') {
      ++i_;
      t.kind = Token::kPunct;
      t.text = std::string(1, c);
      return t;
    }
    t.kind = Token::kBad;
    t.text = std::string("unexpected character '") + c + "'";
    ++i_;
    return t;
  }

 private:
  void SkipSpace() {
    bool line_start = i_ == 0 || s_[i_ - 1] == '\n';
    while (i_ < s_.size()) {
      char c = s_[i_];
      if (c == '\n') {
        ++line_;
        ++i_;
        line_start = true;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++i_;
      } else if (c == '#' && line_start) {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else if (s_.compare(i_, 2, "//") == 0) {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else if (s_.compare(i_, 2, "/*") == 0) {
        size_t end = s_.find("*/", i_ + 2);
        for (size_t k = i_; k < (end == std::string::npos ? s_.size() : end); ++k)
          if (s_[k] == '\n') ++line_;
        i_ = end == std::string::npos ? s_.size() : end + 2;
      } else {
        return;
      }
    }
  }

  const std::string& s_;
  size_t i_ = 0;
  int line_ = 1;
};

std::string At(const Token& t) { return "line " + std::to_string(t.line) + ": "; }

std::string Shown(const Token& t) {
  switch (t.kind) {
    case Token::kEnd: return "the end of the file";
    case Token::kString: return "a string";
    case Token::kBad: return t.text;
    default: return "'" + t.text + "'";
  }
}

bool Is(const Token& t, const char* punct) { return t.kind == Token::kPunct && t.text == punct; }

bool ReadFile(const std::string& path, std::string* out) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in) return false;
  std::stringstream buf;
  buf << in.rdbuf();
  *out = buf.str();
  return true;
}

}  // namespace

bool ParseSymbols(const std::string& text, std::map<std::string, int32_t>* out, std::string* why) {
  Lexer lx(text);
  Token t = lx.Next();
  if (t.kind != Token::kIdent || t.text != "enum") {
    *why = At(t) + "expected 'enum', found " + Shown(t);
    return false;
  }
  t = lx.Next();
  if (!Is(t, "{")) {
    *why = At(t) + "expected '{' after enum, found " + Shown(t);
    return false;
  }
  long long next_value = 0;
  std::map<std::string, int32_t> symbols;
  t = lx.Next();
  while (!Is(t, "}")) {
    if (t.kind != Token::kIdent) {
      *why = At(t) + "expected a symbol name, found " + Shown(t);
      return false;
    }
    std::string name = t.text;
    t = lx.Next();
    if (Is(t, "=")) {
      t = lx.Next();
      if (t.kind != Token::kInt) {
        *why = At(t) + "expected a number after '" + name + " =', found " + Shown(t);
        return false;
      }
      next_value = t.number;
      t = lx.Next();
    }
    if (next_value < INT32_MIN || next_value > INT32_MAX) {
      *why = At(t) + "the value of " + name + " is out of range";
      return false;
    }
    if (!symbols.emplace(name, static_cast<int32_t>(next_value)).second) {
      *why = At(t) + "symbol " + name + " is defined twice";
      return false;
    }
    ++next_value;
    if (Is(t, ",")) {
      t = lx.Next();
    } else if (!Is(t, "}")) {
      *why = At(t) + "expected ',' or '}' after " + name + ", found " + Shown(t);
      return false;
    }
  }
  t = lx.Next();
  if (!Is(t, ";")) {
    *why = At(t) + "expected ';' after the enum, found " + Shown(t);
    return false;
  }
  t = lx.Next();
  if (t.kind != Token::kEnd) {
    *why = At(t) + "unexpected " + Shown(t) + " after the enum";
    return false;
  }
  *out = std::move(symbols);
  return true;
}

bool ParseStrings(const std::string& text, const std::map<std::string, int32_t>& symbols,
                  std::map<int32_t, std::string>* out, std::string* why) {
  Lexer lx(text);
  Token t = lx.Next();
  if (t.kind != Token::kIdent || t.text != "STRINGTABLE") {
    *why = At(t) + "expected 'STRINGTABLE', found " + Shown(t);
    return false;
  }
  t = lx.Next();
  if (!Is(t, "{")) {
    *why = At(t) + "expected '{' after STRINGTABLE, found " + Shown(t);
    return false;
  }
  std::map<int32_t, std::string> strings;
  t = lx.Next();
  while (!Is(t, "}")) {
    if (t.kind != Token::kIdent) {
      *why = At(t) + "expected a symbol name, found " + Shown(t);
      return false;
    }
    auto sym = symbols.find(t.text);
    if (sym == symbols.end()) {
      *why = At(t) + "unknown symbol " + t.text;
      return false;
    }
    const std::string name = t.text;
    t = lx.Next();
    if (t.kind != Token::kString) {
      *why = At(t) + "expected the text of " + name + ", found " + Shown(t);
      return false;
    }
    strings[sym->second] = t.text;
    t = lx.Next();
    if (!Is(t, ";")) {
      *why = At(t) + "expected ';' after the text of " + name + ", found " + Shown(t);
      return false;
    }
    t = lx.Next();
  }
  t = lx.Next();
  if (t.kind != Token::kEnd) {
    *why = At(t) + "unexpected " + Shown(t) + " after the string table";
    return false;
  }
  *out = std::move(strings);
  return true;
}

std::unique_ptr<GmResource> LoadResource(const std::string& res_path, std::string* why) {
  const std::string symbols_path = res_path + "/c4d_symbols.h";
  const std::string strings_path = res_path + "/strings_en-US/c4d_strings.str";
  std::string text;
  if (!ReadFile(symbols_path, &text)) {
    *why = symbols_path + ": cannot be read";
    return nullptr;
  }
  auto res = std::make_unique<GmResource>();
  std::string reason;
  if (!ParseSymbols(text, &res->symbols, &reason)) {
    *why = symbols_path + ": " + reason;
    return nullptr;
  }
  if (!ReadFile(strings_path, &text)) {
    *why = strings_path + ": cannot be read";
    return nullptr;
  }
  if (!ParseStrings(text, res->symbols, &res->strings, &reason)) {
    *why = strings_path + ": " + reason;
    return nullptr;
  }
  return res;
}

// ---- the table's entries ----

namespace {

const char* PluginResourcePath(size_t* len) {
  NEED_HOST(nullptr);
  if (len) *len = H().res_path.size();
  return H().res_path.c_str();
}

GmResource* ResourceLoad(const char* res_path) {
  NEED_HOST(nullptr);
  HostImpl& h = H();
  const std::string path = res_path ? res_path : "";
  if (h.faults.Deliver(h.faults.resource_missing)) {
    h.last_resource_error = path + ": missing";
    return nullptr;
  }
  if (h.faults.Deliver(h.faults.resource_corrupt)) {
    h.last_resource_error = path + ": malformed";
    return nullptr;
  }
  std::string why;
  auto res = LoadResource(path, &why);
  if (!res) h.last_resource_error = why;
  return res.release();
}

void ResourceFree(GmResource* res) { delete res; }

const char* ResourceString(const GmResource* res, int32_t id, size_t* len) {
  if (!res) return nullptr;
  auto it = res->strings.find(id);
  if (it == res->strings.end()) return nullptr;
  if (len) *len = it->second.size();
  return it->second.c_str();
}

GmBitmap* BitmapLoad(const char* path, double pixel_ratio) {
  NEED_HOST(nullptr);
  HostImpl& h = H();
  const std::string p = path ? path : "";
  const std::string file = p.substr(p.find_last_of("/\\") + 1);
  const auto& missing = h.faults.missing_icons;
  if (h.faults.Deliver(std::find(missing.begin(), missing.end(), file) != missing.end())) {
    h.last_bitmap_error = p + ": missing";
    return nullptr;
  }
  std::string why;
  auto bmp = LoadTiff(p, pixel_ratio, &why);
  if (!bmp) h.last_bitmap_error = why;
  else bmp->path = p;
  return bmp.release();
}

void BitmapFree(GmBitmap* bmp) { delete bmp; }

}  // namespace

void FillResourcesApi(GmHostApi* t) {
  t->plugin_resource_path = PluginResourcePath;
  t->resource_load = ResourceLoad;
  t->resource_free = ResourceFree;
  t->resource_string = ResourceString;
  t->bitmap_load = BitmapLoad;
  t->bitmap_free = BitmapFree;
}

}  // namespace standin
