#include "steps.h"

#include <sstream>

#include "ids.h"

namespace reliability {

namespace {

struct CommandInfo {
  int32_t id;
  const char* name;   // for people
  const char* ident;  // the module's constant, for C++
};
const CommandInfo kCommands[] = {
    {ID_GEMLITH_SELECT, "Select", "ID_GEMLITH_SELECT"},
    {ID_GEMLITH_CREATE, "Create", "ID_GEMLITH_CREATE"},
    {ID_GEMLITH_SPLIT, "Split", "ID_GEMLITH_SPLIT"},
    {ID_GEMLITH_RENAME, "Rename", "ID_GEMLITH_RENAME"},
    {ID_GEMLITH_FRAMEOBJECTS, "FrameObjects", "ID_GEMLITH_FRAMEOBJECTS"},
    {ID_GEMLITH_FRAMEELEMENTS, "FrameElements", "ID_GEMLITH_FRAMEELEMENTS"},
    {ID_GEMLITH_SWAP, "Swap", "ID_GEMLITH_SWAP"},
    {ID_GEMLITH_MAKEEDITABLE, "MakeEditable", "ID_GEMLITH_MAKEEDITABLE"},
    {ID_GEMLITH_SETTINGS, "Settings", "ID_GEMLITH_SETTINGS"},
    {ID_GEMLITH_SEPARATOR, "Separator", "ID_GEMLITH_SEPARATOR"},
};

const char* CommandIdent(int32_t id) {
  for (const CommandInfo& c : kCommands)
    if (c.id == id) return c.ident;
  return nullptr;
}

std::string KeysCpp(int32_t keys) {
  if (!keys) return "0";
  std::string s;
  const std::pair<int32_t, const char*> names[] = {
      {standin::kQShift, "standin::kQShift"}, {standin::kQCtrl, "standin::kQCtrl"},
      {standin::kQAlt, "standin::kQAlt"}};
  for (const auto& n : names) {
    if (!(keys & n.first)) continue;
    if (!s.empty()) s += " | ";
    s += n.second;
  }
  return s;
}

std::string FaultArgs(const Step& s) {
  if (s.fault == Fault::kNone) return "";
  return std::string(", Fault::") + FaultName(s.fault) + ", " + std::to_string(s.nth);
}

// A fault for a command step: the host's allocations mostly, now and then input or a dialog.
Fault RandomCommandFault(Rng& rng) {
  const Fault kinds[] = {Fault::kAllocArray,     Fault::kAllocArray,       Fault::kAllocObject,
                         Fault::kAllocObject,    Fault::kAllocLink,        Fault::kAllocContainer,
                         Fault::kAllocContainer, Fault::kAllocClone,       Fault::kAllocClone,
                         Fault::kAllocDescription, Fault::kInputState,     Fault::kDescriptionLoad,
                         Fault::kDescriptionNoCycle, Fault::kDialogHandle, Fault::kDialogGetInt32};
  return kinds[Below(rng, sizeof kinds / sizeof kinds[0])];
}

}  // namespace

const char* FaultName(Fault f) {
  switch (f) {
    case Fault::kNone: return "kNone";
    case Fault::kAllocArray: return "kAllocArray";
    case Fault::kAllocObject: return "kAllocObject";
    case Fault::kAllocLink: return "kAllocLink";
    case Fault::kAllocContainer: return "kAllocContainer";
    case Fault::kAllocClone: return "kAllocClone";
    case Fault::kAllocDescription: return "kAllocDescription";
    case Fault::kInputState: return "kInputState";
    case Fault::kDescriptionLoad: return "kDescriptionLoad";
    case Fault::kDescriptionNoCycle: return "kDescriptionNoCycle";
    case Fault::kDialogHandle: return "kDialogHandle";
    case Fault::kDialogGetInt32: return "kDialogGetInt32";
    case Fault::kRefuseRegistration: return "kRefuseRegistration";
    case Fault::kResourceMissing: return "kResourceMissing";
    case Fault::kResourceCorrupt: return "kResourceCorrupt";
    case Fault::kMissingIcon: return "kMissingIcon";
  }
  return "?";
}

const char* CommandName(int32_t id) {
  for (const CommandInfo& c : kCommands)
    if (c.id == id) return c.name;
  return "?";
}

std::vector<Step> GenerateSteps(Rng& rng, int count) {
  // The instance commands come up more often than the settings entries.
  const int32_t commands[] = {ID_GEMLITH_SELECT, ID_GEMLITH_SELECT, ID_GEMLITH_CREATE,
      ID_GEMLITH_CREATE, ID_GEMLITH_CREATE, ID_GEMLITH_SPLIT, ID_GEMLITH_SPLIT, ID_GEMLITH_RENAME,
      ID_GEMLITH_RENAME, ID_GEMLITH_FRAMEOBJECTS, ID_GEMLITH_FRAMEELEMENTS, ID_GEMLITH_SWAP,
      ID_GEMLITH_SWAP, ID_GEMLITH_SWAP, ID_GEMLITH_MAKEEDITABLE, ID_GEMLITH_MAKEEDITABLE,
      ID_GEMLITH_MAKEEDITABLE, ID_GEMLITH_SETTINGS, ID_GEMLITH_SEPARATOR};
  const char* const texts[] = {"", "New", "Cube", "W\xC3\xBCrfel.3", "x.1"};
  const int32_t values[] = {0, 1, 2, 5, -1};
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) {
    Step s;
    const int r = static_cast<int>(Below(rng, 100));
    if (r < 22) {
      s.kind = Step::kSelect;
      const int n = Chance(rng, 8) ? 0 : Between(rng, 1, 6);
      for (int k = 0; k < n; ++k) s.picks.push_back(static_cast<int>(Below(rng, 1000)));
    } else if (r < 31) {
      s.kind = Step::kKeys;
      s.keys = static_cast<int32_t>(Below(rng, 8));
    } else if (r < 71) {
      s.kind = r < 46 ? Step::kRun : Step::kCall;
      s.command = commands[Below(rng, sizeof commands / sizeof commands[0])];
      if (Chance(rng, 18)) {
        s.fault = RandomCommandFault(rng);
        s.nth = Chance(rng, 60) ? 1 : Between(rng, 2, 6);
      }
    } else if (r < 75) {
      s.kind = Step::kRenameConfirm;
      s.text = texts[Below(rng, 5)];
    } else if (r < 77) {
      s.kind = Step::kRenameCancel;
    } else if (r < 80) {
      s.kind = Step::kSettingsPick;
      s.value = values[Below(rng, 5)];
      if (Chance(rng, 20)) s.fault = Fault::kDialogGetInt32;
    } else if (r < 81) {
      s.kind = Step::kSettingsClose;
    } else if (r < 82) {
      s.kind = Step::kRestoreLayout;
    } else if (r < 91) {
      s.kind = Step::kUndo;
    } else if (r < 97) {
      s.kind = Step::kRedo;
    } else if (r < 99) {
      s.kind = Step::kMenu;
      if (Chance(rng, 30)) s.fault = Fault::kAllocArray;
    } else {
      s.kind = Step::kReload;
      const int f = static_cast<int>(Below(rng, 10));
      if (f < 4) {
        s.fault = Fault::kRefuseRegistration;
        s.nth = Between(rng, 1, 10);
      } else if (f == 4) {
        s.fault = Fault::kResourceMissing;
      } else if (f == 5) {
        s.fault = Fault::kResourceCorrupt;
      } else if (f == 6) {
        s.fault = Fault::kMissingIcon;
        s.nth = Between(rng, 1, 9);
      } else if (f == 7) {  // the settings dialog is made at registration
        s.fault = Fault::kDialogHandle;
      }
    }
    steps.push_back(s);
  }
  return steps;
}

std::string StepToCpp(const Step& s) {
  std::ostringstream out;
  switch (s.kind) {
    case Step::kSelect:
      out << "SelectAt({";
      for (size_t k = 0; k < s.picks.size(); ++k) out << (k ? ", " : "") << s.picks[k];
      out << "});";
      break;
    case Step::kKeys: out << "Keys(" << KeysCpp(s.keys) << ");"; break;
    case Step::kRun:
    case Step::kCall: {
      const char* ident = CommandIdent(s.command);
      out << (s.kind == Step::kRun ? "Run(" : "Call(");
      if (ident)
        out << ident;
      else
        out << s.command;
      out << FaultArgs(s) << ");";
      break;
    }
    case Step::kRenameConfirm: out << "RenameConfirm(" << CppString(s.text) << ");"; break;
    case Step::kRenameCancel: out << "RenameCancel();"; break;
    case Step::kSettingsPick: out << "SettingsPick(" << s.value << FaultArgs(s) << ");"; break;
    case Step::kSettingsClose: out << "SettingsClose();"; break;
    case Step::kRestoreLayout: out << "RestoreLayout();"; break;
    case Step::kUndo: out << "Undo();"; break;
    case Step::kRedo: out << "Redo();"; break;
    case Step::kMenu:
      out << "Menu(";
      if (s.fault != Fault::kNone) out << "Fault::" << FaultName(s.fault) << ", " << s.nth;
      out << ");";
      break;
    case Step::kReload:
      out << "Reload(";
      if (s.fault != Fault::kNone) out << "Fault::" << FaultName(s.fault) << ", " << s.nth;
      out << ");";
      break;
  }
  return out.str();
}

std::string Describe(const Step& s) {
  std::string d = StepToCpp(s);
  if ((s.kind == Step::kRun || s.kind == Step::kCall)) d += "  // " + std::string(CommandName(s.command));
  return d;
}

}  // namespace reliability
