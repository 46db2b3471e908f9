#include "session.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <unordered_set>

#include "module_fixture.h"
#include "standin/host_impl.h"

namespace reliability {

namespace {

constexpr int32_t kIcons = 9;
constexpr size_t kMaxLiveNodes = 1500;  // objects and tags, in documents and held by undo
const char* const kIconFiles[kIcons] = {
    "gx_select.tif", "gx_create.tif", "gx_split.tif", "gx_rename.tif", "gx_frameobjects.tif",
    "gx_frameelements.tif", "gx_swap.tif", "gx_makeeditable.tif", "gx_settings.tif"};

Failure Fail(const std::string& what, const Step& step, const std::string& detail) {
  Failure f;
  // Faults and picks vary while shrinking; the signature keeps the kind of step and command only.
  Step bare;
  bare.kind = step.kind == Step::kRun ? Step::kCall : step.kind;
  bare.command = step.command;
  f.signature = what + " | " + StepToCpp(bare);
  f.detail = what + "\n  step: " + Describe(step) + "\n" + detail;
  return f;
}

bool IsFrame(int32_t id) { return id == ID_GEMLITH_FRAMEOBJECTS || id == ID_GEMLITH_FRAMEELEMENTS; }

std::string Join(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += "    " + l + "\n";
  return s;
}

// The scene without the per-object record of the given objects (what the frame commands write).
standin::SceneSnapshot WithoutRecords(standin::SceneSnapshot s, const std::set<standin::Marker>& of) {
  for (standin::ObjectSnapshot& o : s.objects) {
    if (!of.count(o.marker)) continue;
    o.data.erase(std::remove_if(o.data.begin(), o.data.end(),
                                [](const auto& e) { return e.first == gemhost::kRecordId; }),
                 o.data.end());
  }
  return s;
}

const standin::ObjectSnapshot* FindIn(const standin::SceneSnapshot& s, standin::Marker m) {
  for (const standin::ObjectSnapshot& o : s.objects)
    if (o.marker == m) return &o;
  return nullptr;
}

// The swap partner that an object's record names (0: none or an empty link).
standin::Marker RecordPartner(const standin::ObjectSnapshot& o) {
  for (const auto& e : o.data) {
    if (e.first != gemhost::kRecordId) continue;
    for (const auto& r : e.second.sub)
      if (r.first == gemhost::kRecordSwapPartner) return r.second.marker;
  }
  return 0;
}

// Make editable replaces objects: each object it deletes for good (DELETEOBJ, gone after the run)
// is replaced by the object it made last before it (NEWOBJ). Every object that stays and linked to
// a replaced object (instance link or record partner) must link to its replacement afterwards.
std::string CheckLinksFollowReplacements(const standin::SceneSnapshot& before,
                                         const standin::SceneSnapshot& after,
                                         const std::vector<standin::UndoRecord>& undo) {
  std::map<standin::Marker, standin::Marker> replaced_by;
  standin::Marker made = 0;
  for (const standin::UndoRecord& e : undo) {
    if (e.type == standin::kUndoNewObj) made = e.marker;
    if (e.type == standin::kUndoDeleteObj && made && !FindIn(after, e.marker)) replaced_by[e.marker] = made;
  }
  std::ostringstream bad;
  for (const standin::ObjectSnapshot& was : before.objects) {
    const standin::ObjectSnapshot* now = FindIn(after, was.marker);
    if (!now) continue;
    const auto link = replaced_by.find(was.link);
    if (link != replaced_by.end() && now->link != link->second)
      bad << "  #" << was.marker << " linked to #" << was.link << ", which #" << link->second
          << " replaced, and now links to #" << now->link << "\n";
    const auto partner = replaced_by.find(RecordPartner(was));
    if (partner != replaced_by.end() && RecordPartner(*now) != partner->second)
      bad << "  #" << was.marker << "'s record named #" << partner->first << ", which #"
          << partner->second << " replaced, and now names #" << RecordPartner(*now) << "\n";
  }
  return bad.str();
}

// Swap exchanges the two objects themselves: the same objects afterwards, and every instance link
// names what it named before.
std::string CheckSwapKeepsObjectsAndLinks(const standin::SceneSnapshot& before,
                                          const standin::SceneSnapshot& after) {
  std::ostringstream bad;
  if (before.objects.size() != after.objects.size()) bad << "  the number of objects changed\n";
  for (const standin::ObjectSnapshot& was : before.objects) {
    const standin::ObjectSnapshot* now = FindIn(after, was.marker);
    if (!now)
      bad << "  #" << was.marker << " is gone\n";
    else if (now->link != was.link)
      bad << "  #" << was.marker << " linked to #" << was.link << " and now to #" << now->link << "\n";
  }
  return bad.str();
}

std::string SceneText(const standin::SceneSnapshot& s) {
  std::string text = standin::ToString(s);
  if (text.size() > 6000) text = text.substr(0, 6000) + "    ...\n";
  return text;
}

}  // namespace

// ---- counters ----

void Counters::Add(const Counters& o) {
  seeds += o.seeds;
  steps += o.steps;
  commands += o.commands;
  undo_round_trips += o.undo_round_trips;
  faults += o.faults;
  reloads += o.reloads;
  objects += o.objects;
  for (const auto& [id, n] : o.succeeded) succeeded[id] += n;
  for (const auto& [fault, n] : o.faults_taken) faults_taken[fault] += n;
}

std::string Counters::ToString() const {
  std::ostringstream out;
  out << seeds << " seeds, " << steps << " steps (" << commands << " commands executed), "
      << undo_round_trips << " undo round trips, " << faults << " injected faults, " << reloads
      << " module reloads, " << objects << " objects generated";
  return out.str();
}

// ---- tree consistency ----

std::string CheckTree(standin::Host& host, GmDoc* doc) {
  std::ostringstream err;
  const size_t limit = host.LiveNodes() + 1;  // more visits than live nodes: a cycle
  std::unordered_set<const GmNode*> seen;
  std::vector<const GmNode*> order;
  auto who = [](const GmNode* n) { return "#" + std::to_string(n->marker) + " \"" + n->name + "\""; };

  // Checks one sibling list (top level when parent is null) and descends; false stops the walk.
  std::vector<std::pair<const GmNode*, const GmNode*>> lists;  // (parent, first)
  std::function<bool(const GmNode*, const GmNode*, const GmNode*)> visit =
      [&](const GmNode* parent, const GmNode* first, const GmNode* last_expected) -> bool {
    const GmNode* pred = nullptr;
    for (const GmNode* n = first; n; n = n->next) {
      if (seen.size() >= limit) {
        err << "the tree holds more nodes than are alive: a cycle\n";
        return false;
      }
      if (!seen.insert(n).second) {
        err << who(n) << " is reached twice (in two places, or under itself)\n";
        return false;
      }
      order.push_back(n);
      if (host.Find(n->marker) != n) err << who(n) << " is reachable but not alive in the host\n";
      if (!standin::IsObject(n)) err << who(n) << " lies in the object tree but is not an object\n";
      if (n->up != parent)
        err << who(n) << " names parent " << (n->up ? who(n->up) : "none") << " but lies under "
            << (parent ? who(parent) : "the document") << "\n";
      if (n->pred != pred) err << who(n) << " has a wrong previous sibling\n";
      if (parent ? n->doc != nullptr : n->doc != doc)
        err << who(n) << " carries a wrong document\n";
      if (n->undo_held) err << who(n) << " lies in the document but is marked as held by undo\n";
      if (n->owner) err << who(n) << " is an object with an owner\n";
      for (const GmNode* t : n->tags) {
        if (!standin::IsTag(t) || t->owner != n || host.Find(t->marker) != t)
          err << who(n) << " has a tag that is not its own live tag\n";
      }
      if (!n->down != !n->down_last) err << who(n) << ": first and last child disagree\n";
      if (n->down && !visit(n, n->down, n->down_last)) return false;
      pred = n;
    }
    if (pred != last_expected)
      err << "the last " << (parent ? "child of " + who(parent) : std::string("top-level object"))
          << " is not the one recorded\n";
    return true;
  };
  visit(nullptr, doc->first, doc->last);

  if (err.str().empty()) {
    // The public views agree with the structure.
    const std::vector<GmNode*> walk = host.Walk(doc);
    if (walk.size() != order.size() || !std::equal(walk.begin(), walk.end(), order.begin()))
      err << "Host::Walk does not list the tree in document order\n";
    for (GmNode* n : walk) {
      if (host.DocumentOf(n) != doc) err << who(n) << " does not report its document\n";
    }
  }
  return err.str();
}

// ---- the session ----

struct Session::Before {
  standin::SceneSnapshot scene;
  std::vector<standin::SceneSnapshot> others;  // every other document
  int32_t undo = 0;
  int32_t redo = 0;
};

Session::Session() {
  host_ = gemlith_test::NewModuleHost();
  const standin::LoadResult load = gemlith_test::LoadModule(*host_);
  if (!load.ok) {
    load_failure_.signature = "the module did not load";
    load_failure_.detail = load.error;
  }
  registration_calls_ = load.registered + (load.start != 1 ? 1 : 0);
}

Session::~Session() {
  if (host_) host_->Unload();
}

void Session::Build(const SceneSpec& scene) {
  BuildScene(*host_, scene);
  counters_.objects += scene.objects.size();
}

Session::Before Session::Take() {
  Before b;
  standin::HostImpl& impl = host_->impl();
  b.scene = host_->Capture();
  for (const auto& d : impl.docs)
    if (d.get() != impl.Active()) b.others.push_back(host_->Capture(d.get()));
  b.undo = host_->UndoSteps();
  b.redo = host_->RedoSteps();
  return b;
}

void Session::Arm(Fault fault, int nth) {
  standin::Faults& f = host_->faults();
  armed_ = fault;
  switch (fault) {
    case Fault::kNone: return;
    case Fault::kAllocArray: f.FailNth(standin::Alloc::Array, nth); break;
    case Fault::kAllocObject: f.FailNth(standin::Alloc::Object, nth); break;
    case Fault::kAllocLink: f.FailNth(standin::Alloc::Link, nth); break;
    case Fault::kAllocContainer: f.FailNth(standin::Alloc::Container, nth); break;
    case Fault::kAllocClone: f.FailNth(standin::Alloc::Clone, nth); break;
    case Fault::kAllocDescription: f.FailNth(standin::Alloc::Description, nth); break;
    case Fault::kInputState: f.input_state_fails = true; break;
    case Fault::kDescriptionLoad: f.description_load_fails = true; break;
    case Fault::kDescriptionNoCycle: f.description_no_cycle = true; break;
    case Fault::kDialogHandle: f.dialog_handle_missing = true; break;
    case Fault::kDialogGetInt32: f.dialog_get_int32_fails = true; break;
    // The host counts registrations over its whole life: the nth one of this load is further on.
    case Fault::kRefuseRegistration: f.refuse_registration = registration_calls_ + nth; break;
    case Fault::kResourceMissing: f.resource_missing = true; break;
    case Fault::kResourceCorrupt: f.resource_corrupt = true; break;
    case Fault::kMissingIcon: f.missing_icons = {kIconFiles[(nth - 1) % kIcons]}; break;
  }
  ++counters_.faults;
  delivered_when_armed_ = f.delivered();
}

void Session::Disarm() {
  standin::Faults& f = host_->faults();
  if (armed_ != Fault::kNone && f.delivered() > delivered_when_armed_)
    ++counters_.faults_taken[armed_];
  for (standin::Alloc a : {standin::Alloc::Array, standin::Alloc::Object, standin::Alloc::Link,
                           standin::Alloc::Container, standin::Alloc::Clone,
                           standin::Alloc::Description})
    f.FailNth(a, 0);
  f.input_state_fails = false;
  f.description_load_fails = false;
  f.description_no_cycle = false;
  f.dialog_handle_missing = false;
  f.dialog_get_int32_fails = false;
  f.refuse_registration = 0;
  f.resource_missing = false;
  f.resource_corrupt = false;
  f.missing_icons.clear();
  armed_ = Fault::kNone;
}

Failure Session::CheckCommon(const std::string& where) {
  Failure f;
  std::string problems;
  const std::vector<std::string>& errors = host_->CodingErrors();
  if (!errors.empty()) {
    f.signature = "coding error";
    problems += "  the host recorded coding errors " + where + ":\n" + Join(errors);
  }
  standin::HostImpl& impl = host_->impl();
  for (const auto& d : impl.docs) {
    const std::string tree = CheckTree(*host_, d.get());
    if (!tree.empty()) {
      if (f.signature.empty()) f.signature = "inconsistent tree";
      problems += "  the object tree is inconsistent " + where + ":\n" + tree;
    }
    if (d->undo.depth != 0) {
      if (f.signature.empty()) f.signature = "undo group left open";
      problems += "  an undo group is open " + where + "\n";
    }
  }
  if (host_->DetachedNodes() != 0) {
    if (f.signature.empty()) f.signature = "objects left outside the document";
    problems += "  " + std::to_string(host_->DetachedNodes()) +
                " live objects lie in no document and are not held by undo " + where + "\n";
  }
  f.detail = problems;
  return f;
}

Failure Session::CheckOtherDocuments(const Before& before, const std::string& where) {
  Failure f;
  standin::HostImpl& impl = host_->impl();
  size_t k = 0;
  for (const auto& d : impl.docs) {
    if (d.get() == impl.Active()) continue;
    const standin::SceneSnapshot now = host_->Capture(d.get());
    if (k < before.others.size() && now != before.others[k]) {
      f.signature = "another document changed";
      f.detail = "  a document that is not the active one changed " + where + ":\n" +
                 standin::Diff(before.others[k], now);
      return f;
    }
    ++k;
  }
  return f;
}

Failure Session::Apply(const Step& step) {
  if (load_failure_.failed()) return load_failure_;
  ++counters_.steps;
  switch (step.kind) {
    case Step::kRun:
    case Step::kCall:
      // Create and Make editable can double a scene in one step; past the cap a command step
      // becomes an undo, so that long sequences stay quick to check.
      if (host_->LiveNodes() > kMaxLiveNodes) {
        Step undo;
        undo.kind = Step::kUndo;
        return ApplyUndoRedo(undo);
      }
      return ApplyCommand(step);
    case Step::kUndo:
    case Step::kRedo: return ApplyUndoRedo(step);
    case Step::kSelect: {
      const std::vector<GmNode*> walk = host_->Walk();
      std::vector<GmNode*> pick;
      if (!walk.empty()) {
        for (int p : step.picks) {
          GmNode* n = walk[static_cast<size_t>(p) % walk.size()];
          if (std::find(pick.begin(), pick.end(), n) == pick.end()) pick.push_back(n);
        }
      }
      host_->Select(pick);
      const Failure f = CheckCommon("after selecting");
      return f.failed() ? Fail(f.signature, step, f.detail) : Failure{};
    }
    case Step::kKeys: host_->SetQualifiers(step.keys); return {};
    case Step::kRenameConfirm: host_->QueueRenameConfirm(step.text); return {};
    case Step::kRenameCancel: host_->QueueRenameCancel(); return {};
    default: return ApplyQuiet(step);
  }
}

bool Session::Reload(Fault fault, int nth, standin::LoadResult* result) {
  host_->Unload();
  Arm(fault, nth);
  *result = gemlith_test::LoadModule(*host_);
  Disarm();
  registration_calls_ += result->registered + (result->start != 1 ? 1 : 0);
  ++counters_.reloads;
  return result->ok;
}

Failure Session::ApplyQuiet(const Step& step) {
  const Before before = Take();
  std::string expectation;
  switch (step.kind) {
    case Step::kSettingsPick: {
      Arm(step.fault, step.nth);
      const bool picked = host_->DialogPick(ID_GEMLITH_SETTINGS, step.value);
      Disarm();
      // Every pick is stored at once (a failed read of the combo box stores the previous value).
      const auto prefs = host_->Prefs(ID_GEMLITH_SETTINGS);
      if (picked && step.fault == Fault::kNone &&
          (!prefs || *prefs != std::map<int32_t, int32_t>{{0, step.value}}))
        expectation = "  the pick was not stored as the module's only preference\n";
      break;
    }
    case Step::kSettingsClose: host_->DialogClose(ID_GEMLITH_SETTINGS); break;
    case Step::kRestoreLayout: host_->RestoreLayout(ID_GEMLITH_SETTINGS); break;
    case Step::kMenu: {
      Arm(step.fault, step.nth);
      const std::vector<standin::MenuEntry> menu = host_->Menu();
      Disarm();
      // The settings entries keep the default state: always enabled.
      for (const standin::MenuEntry& e : menu)
        if ((e.id == ID_GEMLITH_SETTINGS || e.id == ID_GEMLITH_SEPARATOR) && !e.enabled)
          expectation = "  a settings entry is greyed\n";
      break;
    }
    case Step::kReload: {
      standin::LoadResult lr;
      const bool ok = Reload(step.fault, step.nth, &lr);
      if (step.fault == Fault::kNone && !ok) expectation = "  the module did not load again: " + lr.error + "\n";
      if (step.fault == Fault::kRefuseRegistration && lr.registered != step.nth - 1)
        expectation = "  a refusal at entry " + std::to_string(step.nth) + " left " +
                      std::to_string(lr.registered) + " entries registered\n";
      break;
    }
    default: break;
  }
  Failure f = CheckCommon("after the step");
  if (!f.failed()) f = CheckOtherDocuments(before, "by a step that must not touch documents");
  if (f.failed()) return Fail(f.signature, step, f.detail);
  const standin::SceneSnapshot after = host_->Capture();
  if (after != before.scene)
    return Fail("a step that must not touch the scene changed it", step, standin::Diff(before.scene, after));
  if (host_->UndoSteps() != before.undo || host_->RedoSteps() != before.redo)
    return Fail("a step that must not touch the scene changed the undo history", step, "");
  if (!expectation.empty()) return Fail("unexpected result", step, expectation);
  return {};
}

Failure Session::ApplyCommand(const Step& step) {
  const Before before = Take();
  Arm(step.fault, step.nth);
  const standin::RunResult r = step.kind == Step::kRun ? host_->Run(step.command) : host_->Call(step.command);
  Disarm();
  const bool executed = r.found && (r.enabled || step.kind == Step::kCall);
  if (executed) ++counters_.commands;
  if (executed && r.result) ++counters_.succeeded[step.command];

  Failure f = CheckCommon("after the command");
  if (!f.failed()) f = CheckOtherDocuments(before, "by a command");
  if (f.failed()) return Fail(f.signature, step, f.detail);

  const standin::SceneSnapshot after = host_->Capture();
  const int32_t steps = host_->UndoSteps();
  // Both scenes, for a failure's account (made only when something failed).
  auto scenes = [&] {
    return "  scene before:\n" + SceneText(before.scene) + "  scene after:\n" + SceneText(after);
  };

  if (!executed) {
    if (after != before.scene || steps != before.undo)
      return Fail("a command that did not run changed the scene", step, standin::Diff(before.scene, after));
    return {};
  }
  if (!r.result) {
    if (after != before.scene)
      return Fail("a false result changed the scene", step, standin::Diff(before.scene, after) + scenes());
    if (r.activity.event_adds != 0 || !r.activity.messages.empty())
      return Fail("a false result refreshed or showed a message", step, "");
  }
  if (steps != before.undo && steps != before.undo + 1)
    return Fail("a command recorded more than one undo step", step,
                std::to_string(steps - before.undo) + " steps\n");

  if (IsFrame(step.command)) {
    // The frame commands switch the selected instance objects (of the exact type) to mode 0 for
    // the framing and back; what stays is the record they write on each.
    std::set<standin::Marker> switched;
    for (const standin::ObjectSnapshot& o : before.scene.objects)
      if (o.selection_rank >= 0 && o.type == standin::kOinstance) switched.insert(o.marker);
    const standin::SceneSnapshot b = WithoutRecords(before.scene, switched);
    const standin::SceneSnapshot a = WithoutRecords(after, switched);
    if (a != b)
      return Fail("a frame command changed more than its records", step, standin::Diff(b, a) + scenes());
    if (r.result && step.fault == Fault::kNone) {
      std::ostringstream bad;
      for (standin::Marker m : switched) {
        const standin::ObjectSnapshot* was = FindIn(before.scene, m);
        const standin::ObjectSnapshot* now = FindIn(after, m);
        standin::ValueData saved;
        saved.type = GM_VALUE_LONG;
        saved.i32 = was->mode;
        standin::ValueData record_value;
        record_value.type = GM_VALUE_CONTAINER;
        record_value.sub = {{gemhost::kRecordSavedMode, saved}};
        const standin::ContainerData expected = {{gemhost::kRecordId, record_value}};
        standin::ContainerData record;
        for (const auto& e : now->data)
          if (e.first == gemhost::kRecordId) record.push_back(e);
        if (record != expected)
          bad << "  #" << m << " holds the record " << standin::ToString(record) << " instead of "
              << standin::ToString(expected) << "\n";
      }
      if (r.activity.framing.size() != 1) {
        bad << "  " << r.activity.framing.size() << " framing commands ran instead of one\n";
      } else {
        for (const auto& [m, mode] : r.activity.framing[0].modes) {
          const standin::ObjectSnapshot* was = FindIn(before.scene, m);
          const int32_t want = switched.count(m) ? 0 : (was ? was->mode : mode);
          if (mode != want)
            bad << "  #" << m << " was framed in mode " << mode << " instead of " << want << "\n";
        }
      }
      if (!bad.str().empty()) return Fail("a frame command framed or recorded wrongly", step, bad.str());
    }
    if (steps == before.undo + 1) {  // an empty group: undo and redo change nothing
      if (!host_->Undo() || host_->Capture() != after || !host_->Redo() || host_->Capture() != after)
        return Fail("the frame command's undo step is not empty", step, "");
      ++counters_.undo_round_trips;
    }
    return {};
  }

  if (r.result && step.command == ID_GEMLITH_MAKEEDITABLE) {
    const std::string lost = CheckLinksFollowReplacements(before.scene, after, r.activity.undo);
    if (!lost.empty()) return Fail("a link to a replaced object did not move to its replacement", step, lost + scenes());
  }
  if (r.result && step.command == ID_GEMLITH_SWAP) {
    const std::string lost = CheckSwapKeepsObjectsAndLinks(before.scene, after);
    if (!lost.empty()) return Fail("Swap replaced an object or changed a link", step, lost + scenes());
  }

  if (steps == before.undo) {
    if (after != before.scene)
      return Fail("a command changed the scene without an undo step", step,
                  standin::Diff(before.scene, after) + scenes());
    return {};
  }

  // One undo gives back the scene from before, one redo the scene after.
  if (!host_->Undo()) return Fail("the command's undo step cannot be undone", step, "");
  f = CheckCommon("after the undo");
  if (f.failed()) return Fail(f.signature + " after undo", step, f.detail);
  const standin::SceneSnapshot undone = host_->Capture();
  if (undone != before.scene)
    return Fail("undo does not restore the scene", step,
                "  before -> after undo:\n" + standin::Diff(before.scene, undone) + scenes());
  if (!host_->Redo()) return Fail("the command's undo step cannot be redone", step, "");
  f = CheckCommon("after the redo");
  if (f.failed()) return Fail(f.signature + " after redo", step, f.detail);
  const standin::SceneSnapshot redone = host_->Capture();
  if (redone != after)
    return Fail("redo does not give the result again", step,
                "  after -> after redo:\n" + standin::Diff(after, redone) + scenes());
  ++counters_.undo_round_trips;
  return {};
}

Failure Session::ApplyUndoRedo(const Step& step) {
  const bool undo = step.kind == Step::kUndo;
  const Before before = Take();
  const int32_t available = undo ? before.undo : before.redo;
  const bool done = undo ? host_->Undo() : host_->Redo();
  Failure f = CheckCommon(undo ? "after an undo" : "after a redo");
  if (!f.failed()) f = CheckOtherDocuments(before, "by an undo or redo of the active one");
  if (f.failed()) return Fail(f.signature, step, f.detail);
  const standin::SceneSnapshot after = host_->Capture();
  if (available == 0) {
    if (done || after != before.scene) return Fail("an undo or redo with nothing to do changed the scene", step, "");
    return {};
  }
  if (!done) return Fail("an available undo or redo step failed", step, "");
  // The opposite step restores the scene exactly, and the step itself then gives it again.
  const bool back = undo ? host_->Redo() : host_->Undo();
  const standin::SceneSnapshot restored = host_->Capture();
  if (!back || restored != before.scene)
    return Fail(undo ? "redo after an undo does not restore the scene" : "undo after a redo does not restore the scene",
                step, standin::Diff(before.scene, restored));
  const bool again = undo ? host_->Undo() : host_->Redo();
  const standin::SceneSnapshot repeated = host_->Capture();
  if (!again || repeated != after)
    return Fail("repeating an undo or redo gives another scene", step, standin::Diff(after, repeated));
  ++counters_.undo_round_trips;
  return {};
}

}  // namespace reliability
