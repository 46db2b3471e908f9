#include "input_error.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace gemhost {

using nlohmann::json;

namespace {

std::string ParseErrorPlace(const std::string& text, const json::parse_error& e) {
  // nlohmann's message reads "[json.exception.parse_error.101] parse error at line L, column C:
  // what"; keep "line L, column C: what".
  std::string what = e.what();
  const auto at = what.find("line ");
  if (at != std::string::npos) return what.substr(at);
  size_t line = 1, column = 0;
  for (size_t i = 0; i < e.byte && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 0;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what;
}

}  // namespace

std::string ReadInputFile(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in) throw InputError(path + ": cannot be read");
  std::ostringstream s;
  s << in.rdbuf();
  if (in.bad()) throw InputError(path + ": cannot be read");
  return s.str();
}

std::string Quote(const std::string& s) {
  return json(s).dump(-1, ' ', false, json::error_handler_t::replace);
}

void ThrowJsonError(const std::string& text, const std::string& file, const json::exception& e) {
  if (const auto* syntax = dynamic_cast<const json::parse_error*>(&e))
    throw InputError(file + ": " + ParseErrorPlace(text, *syntax));
  // A number the reader cannot hold (1e999, a hundred-digit integer); the reader's own text names
  // the number, after its "[json.exception...] " prefix.
  const std::string what = e.what();
  const size_t text_start = what.find("] ");
  throw InputError(file + ": " + (text_start == std::string::npos ? what : what.substr(text_start + 2)));
}

}  // namespace gemhost
