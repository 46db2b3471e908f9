// Fuzz target: gemlith-host's scene reader. Any bytes either give a clear error (an InputError with
// a message) or a scene that builds into the host without a coding error and that, written out
// again, reads back as the same scene. Any other exception, a crash or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host_scene.h"
#include "scene_reader.h"
#include "scene_writer.h"
#include "standin/host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  gemhost::SceneDesc scene;
  try {
    scene = gemhost::ParseScene(text, "fuzz.json");
  } catch (const gemhost::InputError& e) {
    if (std::string(e.what()).empty()) std::abort();  // an error must say what is wrong
    return 0;
  }
  standin::Host host;
  gemhost::KeyMap keys;
  gemhost::BuildScene(host, scene, keys);
  if (!host.CodingErrors().empty()) std::abort();
  const gemhost::SceneDesc out = gemhost::CaptureScene(host, keys);
  const std::string written = gemhost::SceneText(out);
  // Throws (and so is reported) when the output is not valid input.
  const gemhost::SceneDesc again = gemhost::ParseScene(written, "fuzz-out.json");
  if (again != out) std::abort();
  return 0;
}
