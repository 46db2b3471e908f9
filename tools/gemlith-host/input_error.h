// Bad input: the error gemlith-host answers with exit status 2 before anything runs, and the
// pieces its messages are made of. Every message names the file and the place.
#ifndef GEMLITH_HOST_INPUT_ERROR_H
#define GEMLITH_HOST_INPUT_ERROR_H

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace gemhost {

// A bad input (scene file, preferences file, command line).
class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message) : std::runtime_error(message) {}
};

// The whole file; an InputError when it cannot be read.
std::string ReadInputFile(const std::string& path);

// A text as a JSON string, for messages.
std::string Quote(const std::string& s);

// A fault of the JSON reader in `text` of `file` (syntax, or a number the reader cannot hold) as
// an InputError: "FILE: line L, column C: what" or "FILE: what".
[[noreturn]] void ThrowJsonError(const std::string& text, const std::string& file,
                                 const nlohmann::json::exception& e);

}  // namespace gemhost

#endif
