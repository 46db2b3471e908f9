// The steps of a gemlith-host run: what the user does, one command-line word each.
//
//   select=K1,K2,...   select exactly these objects, K1 first ("select=" deselects all)
//   keys=ctrl+shift    the modifier keys held from now on ("keys=none" releases them)
//   run=ENTRY          pick a menu entry (a greyed one does nothing)
//   call=ENTRY         run the entry's command even when it is greyed
//   rename=TEXT        answer the next rename dialog with TEXT; rename-cancel cancels it
//   settings=N         pick the combo entry with value N in the open settings dialog
//   close-settings     close the settings dialog
//   undo, redo         one step of the application's undo history
//   menu, tree         report the menu / the scene
//   note=TEXT          print TEXT (for guided tours; reports result true)
//
// ENTRY is a plugin id or one of the entry words (select, create, split, rename, frame-objects,
// frame-elements, swap, make-editable, settings).
#ifndef GEMLITH_HOST_STEPS_H
#define GEMLITH_HOST_STEPS_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "standin/host.h"

namespace gemhost {

class KeyMap;
class Reporter;

enum class StepKind {
  kSelect, kKeys, kRun, kCall, kRename, kRenameCancel, kSettings, kCloseSettings,
  kUndo, kRedo, kMenu, kTree, kNote
};

struct Step {
  StepKind kind = StepKind::kMenu;
  std::string arg;    // the step as given on the command line
  std::string word;   // the step's word before any "=" ("settings" for "settings=2")
  std::vector<std::string> keys;  // select=
  int32_t qualifiers = 0;         // keys=
  int32_t entry = 0;              // run= / call=: the plugin id
  std::string text;               // rename= / note=
  int32_t value = 0;              // settings=
};

// Plugin ids of the menu entries, by their step words.
constexpr int32_t kEntrySettings = 1050043;
int32_t EntryIdOf(const std::string& word);  // 0 when the word names no entry
std::string EntryWordOf(int32_t id);         // "" when the id is no entry of the module
std::string QualifierText(int32_t qualifiers);  // "Ctrl+Shift", "none"

// Reads one step; a malformed step is an InputError naming it and its position (1-based).
Step ParseStep(const std::string& arg, size_t position);
std::vector<Step> ParseSteps(const std::vector<std::string>& args);

// Runs steps against the host's active document and hands what happened to the reporter.
class Session {
 public:
  Session(standin::Host& host, KeyMap& keys, Reporter& reporter);
  // Runs one step; returns its result.
  bool Execute(const Step& step);
  // The menu entries' names by id, as the menu shows them.
  const std::map<int32_t, std::string>& EntryNames() const { return names_; }

 private:
  bool Select(const Step& step, std::string& detail);
  bool Settings(const Step& step, std::string& detail);
  void ReportNewCodingErrors();

  standin::Host& host_;
  KeyMap& keys_;
  Reporter& reporter_;
  std::map<int32_t, std::string> names_;
  size_t coding_errors_seen_ = 0;
};

}  // namespace gemhost

#endif
