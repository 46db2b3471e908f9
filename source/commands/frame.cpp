// Frame objects and Frame elements: run the host's framing command with every selected instance
// object drawn in instance mode 0 for the time of the framing, so that the view frames what the
// instances show rather than their proxies.
#include <vector>

#include "commands/commands.h"
#include "ids.h"
#include "scoped.h"

namespace {

// The data container of `atom` when it is exactly an instance object (derived types are left
// alone), else null.
BaseContainer* InstanceData(C4DAtom* atom) {
  if (!atom || atom->GetType() != Oinstance) return nullptr;
  return static_cast<BaseObject*>(atom)->GetDataInstance();
}

// Sets the instance mode of `atom` (no undo entry) and tells the object that its bounding box has
// to be measured again: what an instance shows, and so its bounds, depend on its mode.
void SetInstanceMode(C4DAtom* atom, Int32 mode) {
  atom->SetParameter(DescID(INSTANCEOBJECT_RENDERINSTANCE_MODE), GeData(mode), DESCFLAGS_SET::NONE);
  atom->Message(MSG_UPDATE);
}

// Saves the instance mode of `atom` as element 1 of a fresh record, which replaces the object's
// record, and switches the object to mode 0. False when the object was left as it is: not exactly
// an instance object, or no record could be made to keep its mode in (switching it then would lose
// the mode for good).
bool SaveModeAndClear(C4DAtom* atom) {
  BaseContainer* data = InstanceData(atom);
  if (!data) return false;
  GeData mode;
  atom->GetParameter(DescID(INSTANCEOBJECT_RENDERINSTANCE_MODE), mode, DESCFLAGS_GET::NONE);
  BaseContainer record;
  record.SetInt32(RECORD_SAVED_MODE, mode.GetInt32());
  if (record.FindIndex(RECORD_SAVED_MODE) == NOTOK) return false;  // the record could not be made
  SetInstanceMode(atom, 0);
  data->SetContainer(ID_GEMLITH, record);
  return true;
}

// Gives `atom` back the mode saved in its record; the record stays.
void RestoreMode(C4DAtom* atom) {
  BaseContainer* data = InstanceData(atom);
  if (!data) return;
  const BaseContainer* record = data->GetContainerInstance(ID_GEMLITH);
  if (!record) return;
  SetInstanceMode(atom, record->GetInt32(RECORD_SAVED_MODE, 0));
}

// The steps both frame commands share: take the selection, switch its instance objects to mode 0,
// run host command `command`, restore the modes. False, without running the command, when the
// working list cannot be made. The host frames before CallCommand returns, so the modes are
// restored right after it.
bool FrameWithInstancesInModeZero(BaseDocument* doc, Int32 command) {
  ScopedAtomArray selection;
  if (!selection) return false;
  doc->GetActiveObjects(*selection,
                        GETACTIVEOBJECTFLAGS::CHILDREN | GETACTIVEOBJECTFLAGS::SELECTIONORDER);
  // Only the objects switched here are restored: an object left alone may carry an older record
  // whose saved mode is not its mode now.
  std::vector<bool> switched(static_cast<size_t>(selection->GetCount()), false);
  for (Int32 i = 0; i < selection->GetCount(); ++i)
    switched[static_cast<size_t>(i)] = SaveModeAndClear(selection->GetIndex(i));
  CallCommand(command, 0);
  for (Int32 i = 0; i < selection->GetCount(); ++i)
    if (switched[static_cast<size_t>(i)]) RestoreMode(selection->GetIndex(i));
  return true;
}

}  // namespace

// Runs the host's "frame selected objects" command (12151) with the selected instance objects in
// mode 0 meanwhile. Each selected instance keeps its saved mode in its record (element 1).
// Returns true once the host command has run, and then asks the host to refresh; false without a
// document or when the working list cannot be made. Records no undo entry and opens no undo group.
Bool RunFrameObjects(BaseDocument* doc) {
  return RunCommand(
      doc, [](BaseDocument* d) { return FrameWithInstancesInModeZero(d, IDM_FRAME_OBJECTS); },
      UndoStep::None);
}

// As Frame objects, with the host's "frame selected elements" command (13038), inside an undo
// group that stays empty.
Bool RunFrameElements(BaseDocument* doc) {
  return RunCommand(
      doc, [](BaseDocument* d) { return FrameWithInstancesInModeZero(d, IDM_FRAME_ELEMENTS); });
}
