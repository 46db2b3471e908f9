// The module's eight instance commands. Each is a run, a plain function in its own file under
// commands/, paired here with the rule that enables its menu entry (enabling.h); main.cpp registers
// them. Every run goes through RunCommand, which frames it as one undo step.
#ifndef GEMLITH_COMMANDS_H
#define GEMLITH_COMMANDS_H

#include "c4d.h"
#include "commands/enabling.h"
#include "instance_ops.h"
#include "scoped.h"

// Whether a command's run is one undo step of its own, or records nothing and opens no group.
enum class UndoStep { Group, None };

// Runs `step(doc)` as one run of a menu command: false, with nothing run, without a document.
// Otherwise step runs inside an undo group of the document (none with UndoStep::None) that is
// closed on every path, and the host is asked to refresh once the group is closed, when step
// returned true. While it runs, the chain-limit message is shown at most once (CommandRun).
// Returns what step returned; records what step records.
template <typename Step>
Bool RunCommand(BaseDocument* doc, Step step, UndoStep undo = UndoStep::Group) {
  if (!doc) return false;
  const CommandRun run;
  Bool done;
  {
    const UndoGroup group(undo == UndoStep::Group ? doc : nullptr);
    done = step(doc);
  }
  if (done) EventAdd();
  return done;
}

// A menu command made of its run and its enabling rule.
template <Bool (*Run)(BaseDocument*), Int32 (*State)(BaseDocument*)>
class MenuCommand : public CommandData {
 public:
  Bool Execute(BaseDocument* doc, GeDialog* /*parentManager*/) override { return Run(doc); }
  Int32 GetState(BaseDocument* doc, GeDialog* /*parentManager*/) override { return State(doc); }
};

// The runs, each described where it is defined.
Bool RunSelect(BaseDocument* doc);
Bool RunCreate(BaseDocument* doc);
Bool RunSplit(BaseDocument* doc);
Bool RunRename(BaseDocument* doc);
Bool RunFrameObjects(BaseDocument* doc);
Bool RunFrameElements(BaseDocument* doc);
Bool RunSwap(BaseDocument* doc);
Bool RunMakeEditable(BaseDocument* doc);

using Command_Select = MenuCommand<RunSelect, StateSelection>;
using Command_Create = MenuCommand<RunCreate, StateSelection>;
using Command_Split = MenuCommand<RunSplit, StateTwoOrMore>;
using Command_Rename = MenuCommand<RunRename, StateSelection>;
using Command_FrameObjects = MenuCommand<RunFrameObjects, StateSelection>;
using Command_FrameElements = MenuCommand<RunFrameElements, StateSelection>;
using Command_Swap = MenuCommand<RunSwap, StateSwap>;
using Command_MakeEditable = MenuCommand<RunMakeEditable, StateInstanceSelected>;

#endif
