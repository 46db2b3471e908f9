// Select and Rename as they were first written: the whole document walked once per entry of the
// selection, every instance met looked up again in each walk. The module walks once and replays
// what these walks do; per_entry_test.cpp holds the two to the same scene and the same undo
// entries. Every chain-limit look-up shows the message here (no CommandRun), as it used to.
#ifndef GEMLITH_TESTS_RELIABILITY_PER_ENTRY_COMMANDS_H
#define GEMLITH_TESTS_RELIABILITY_PER_ENTRY_COMMANDS_H

#include "c4d.h"

namespace reliability {

class PerEntrySelect : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
};

class PerEntryRename : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* parentManager) override;
};

}  // namespace reliability

#endif
