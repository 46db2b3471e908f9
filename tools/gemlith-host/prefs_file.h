// The preferences file as gemlith-host checks it at start, before anything runs. What a valid
// file holds is the stand-in's to say (standin/preferences.h); this adds reading the file as JSON
// with messages that name the file and the place.
#ifndef GEMLITH_HOST_PREFS_FILE_H
#define GEMLITH_HOST_PREFS_FILE_H

#include <string>

namespace gemhost {

// A missing file is fine (nothing stored yet); a file that cannot be read, is not JSON, gives a
// member twice or is not in the form of a preferences file is an InputError naming the file and
// the place.
void CheckPrefsFile(const std::string& path);

}  // namespace gemhost

#endif
