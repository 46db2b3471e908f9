#include "standin/host.h"

#include <algorithm>
#include <sstream>

#include "framing.h"
#include "host_impl.h"

namespace standin {

namespace {

Host* g_current = nullptr;

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

// ---- HostImpl ----

HostImpl::HostImpl(HostOptions opts) : options(std::move(opts)) {
  main_thread = std::this_thread::get_id();
  FillApiTable(&table);
  docs.push_back(std::make_unique<GmDoc>());
  prefs.Open(options.prefs_path);
  res_path = options.res_path;
  host_commands[kFrameObjectsCommand] = [this](int32_t) {
    Frame(*this, kFrameObjectsCommand);
    return true;
  };
  host_commands[kFrameElementsCommand] = [this](int32_t) {
    Frame(*this, kFrameElementsCommand);
    return true;
  };
}

HostImpl::~HostImpl() {
  for (GmDialog* d : dialogs) delete d;
  dialogs.clear();
  // Every node still alive: the documents' trees, what undo holds, what the module left loose.
  for (auto& doc : docs) {
    while (doc->first) FreeNode(*this, doc->first);
    doc->undo = UndoHistory{};
  }
  std::vector<Marker> left;
  registry.ForEach([&](GmNode* n) { left.push_back(n->marker); });
  for (Marker m : left)
    if (GmNode* n = registry.Find(m)) FreeNode(*this, const_cast<GmNode*>(RootOf(n)));
}

void HostImpl::CodingError(const std::string& what) {
  coding_errors.push_back(what);
  activity.coding_errors.push_back(what);
}

GmDialog* HostImpl::DialogFor(int32_t plugin_id) const {
  GmDialog* found = nullptr;
  for (GmDialog* d : dialogs) {
    if (d->opened_once && d->view.plugin_id == plugin_id) {
      if (d->view.open) return d;
      found = d;
    }
  }
  return found;
}

HostImpl* g_current_impl = nullptr;

// ---- Faults ----

void Faults::FailNth(Alloc kind, int n) {
  if (n <= 0) {
    countdown_.erase(kind);
    return;
  }
  countdown_[kind] = n;
}

bool Faults::Consume(Alloc kind) {
  auto it = countdown_.find(kind);
  if (it == countdown_.end()) return false;
  if (--it->second > 0) return false;
  countdown_.erase(it);
  return true;
}

bool Faults::ConsumeRegistration() {
  ++registrations_;
  return refuse_registration > 0 && registrations_ == refuse_registration;
}

// ---- Host ----

namespace {

// Every host alive, oldest first; the newest is the current one. Hosts may end in any order.
std::vector<Host*>& LiveHosts() {
  static std::vector<Host*> hosts;
  return hosts;
}

void MakeCurrent(Host* host) {
  g_current = host;
  g_current_impl = host ? &host->impl() : nullptr;
}

}  // namespace

Host::Host(HostOptions options) : impl_(std::make_unique<HostImpl>(std::move(options))) {
  LiveHosts().push_back(this);
  MakeCurrent(this);
}

Host::~Host() {
  Unload();
  // The module may still free what it holds while the host exists; after this, nothing.
  const bool current = g_current == this;
  if (current) g_current_impl = nullptr;
  impl_.reset();
  std::vector<Host*>& live = LiveHosts();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (current) MakeCurrent(live.empty() ? nullptr : live.back());
}

Host* Host::Current() { return g_current; }
const GmHostApi* Host::Api() const { return &impl_->table; }

GmDoc* Host::ActiveDocument() { return impl_->Active(); }

GmDoc* Host::NewDocument() {
  impl_->docs.push_back(std::make_unique<GmDoc>());
  return impl_->docs.back().get();
}

void Host::SetActiveDocument(GmDoc* doc) {
  for (size_t i = 0; i < impl_->docs.size(); ++i)
    if (impl_->docs[i].get() == doc) impl_->active = i;
}

// ---- loading ----

LoadResult Host::LoadModuleFile(const std::string& path) {
  HostImpl& h = *impl_;
  LoadResult r;
  if (h.module_main) {
    r.error = path + ": a module is already loaded";
    return r;
  }
  std::string why;
  if (!h.module_file.Open(path, &why)) {
    r.error = path + ": cannot be loaded: " + why;
    h.loaded = r;
    return r;
  }
  auto main = reinterpret_cast<MainFn>(h.module_file.Symbol("c4d_main", &why));
  if (!main) {
    r.error = path + ": no entry point c4d_main: " + why;
    h.module_file.Close();
    h.loaded = r;
    return r;
  }
  h.res_path = DirectoryOf(path) + "/res";
  r = RunStartProtocol(h, main, path);
  if (r.init_sys != 1) {
    h.module_main = nullptr;
    h.module_file.Close();
  }
  h.loaded = r;
  return r;
}

LoadResult Host::LoadLinkedModule(MainFn main, const std::string& module_path) {
  HostImpl& h = *impl_;
  LoadResult r;
  if (h.module_main) {
    r.error = module_path + ": a module is already loaded";
    return r;
  }
  if (!main) {
    r.error = module_path + ": no entry point c4d_main";
    h.loaded = r;
    return r;
  }
  h.res_path = h.options.res_path.empty() ? DirectoryOf(module_path) + "/res" : h.options.res_path;
  r = RunStartProtocol(h, main, module_path);
  if (r.init_sys != 1) h.module_main = nullptr;
  h.loaded = r;
  return r;
}

void Host::Unload() {
  HostImpl& h = *impl_;
  if (!h.module_main) return;
  if (h.loaded.init_sys == 1) h.module_main(kActionEnd, nullptr, nullptr, nullptr);
  h.commands.DestroyAll();
  h.module_main = nullptr;
  h.module_file.Close();
}

const LoadResult& Host::Loaded() const { return impl_->loaded; }

// ---- menu and commands ----

namespace {

bool EnabledOn(const CommandEntry& e, GmDoc* doc) {
  if (!e.callbacks.get_state) return true;
  return (e.callbacks.get_state(e.callbacks.self, doc) & kCmdEnabled) != 0;
}

RunResult Execute(HostImpl& h, int32_t id, bool as_menu_pick) {
  RunResult r;
  r.id = id;
  h.activity = Activity{};
  const CommandEntry* e = h.commands.Find(id);
  if (e) {
    const GmCommandCallbacks cb = e->callbacks;
    GmDoc* doc = h.Active();
    r.found = true;
    r.enabled = EnabledOn(*e, doc);
    if (r.enabled || !as_menu_pick) r.result = cb.execute(cb.self, doc) != 0;
    for (auto& d : h.docs) {
      if (d->undo.depth > 0) {
        h.CodingError("command " + std::to_string(id) + " left an undo group open");
        d->undo.depth = 1;
        EndUndo(h, d.get());
      }
    }
  }
  for (const GmDialog* d : h.dialogs)
    if (d->view.open) h.activity.open_dialogs.push_back(d->view.plugin_id);
  r.activity = h.activity;
  return r;
}

}  // namespace

std::vector<MenuEntry> Host::Menu() {
  std::vector<MenuEntry> out;
  const std::vector<CommandEntry> entries = impl_->commands.Entries();
  for (const CommandEntry& e : entries) {
    MenuEntry m;
    m.id = e.id;
    m.name = e.name;
    m.help = e.help;
    m.has_icon = e.has_icon;
    m.enabled = EnabledOn(e, impl_->Active());
    m.shown = PlaceInMenu(e.name).shown;
    out.push_back(std::move(m));
  }
  const std::vector<size_t> shown_order = MenuOrder(entries);
  for (size_t place = 0; place < shown_order.size(); ++place)
    out[shown_order[place]].position = static_cast<int>(place) + 1;
  return out;
}

bool Host::HasCommand(int32_t id) const { return impl_->commands.Find(id) != nullptr; }
RunResult Host::Run(int32_t id) { return Execute(*impl_, id, true); }
RunResult Host::Call(int32_t id) { return Execute(*impl_, id, false); }

bool Host::RestoreLayout(int32_t id) {
  const CommandEntry* e = impl_->commands.Find(id);
  if (!e || !e->callbacks.restore_layout) return false;
  static int secret = 0;  // the host's layout data: opaque to the module
  return e->callbacks.restore_layout(e->callbacks.self, &secret) != 0;
}

// ---- undo ----

bool Host::Undo(GmDoc* doc) { return UndoStepBack(*impl_, doc ? doc : impl_->Active()); }
bool Host::Redo(GmDoc* doc) { return RedoStep(*impl_, doc ? doc : impl_->Active()); }
int32_t Host::UndoSteps(GmDoc* doc) const {
  return static_cast<int32_t>((doc ? doc : impl_->Active())->undo.undo.size());
}
int32_t Host::RedoSteps(GmDoc* doc) const {
  return static_cast<int32_t>((doc ? doc : impl_->Active())->undo.redo.size());
}
UndoStepSize Host::NewestUndoStep(GmDoc* doc) const {
  const UndoHistory& h = (doc ? doc : impl_->Active())->undo;
  if (h.undo.empty()) return {};
  return UndoStepSize{h.undo.back().entries.size(), StepBytes(h.undo.back())};
}
void Host::DropRedo(GmDoc* doc) { standin::DropRedo(*impl_, doc ? doc : impl_->Active()); }

// ---- scripted input ----

void Host::SetQualifiers(int32_t q) { impl_->input.qualifiers = q; }
int32_t Host::Qualifiers() const { return impl_->input.qualifiers; }
void Host::QueueRenameConfirm(const std::string& text) { impl_->input.QueueRename(text); }
void Host::QueueRenameCancel() { impl_->input.QueueRename(std::nullopt); }

bool Host::DialogPick(int32_t plugin_id, int32_t value, int32_t gadget) {
  GmDialog* d = impl_->DialogFor(plugin_id);
  if (!d || !d->view.open) return false;
  if (gadget < 0) {
    for (const LayoutItem& it : d->view.layout) {
      if (it.kind == LayoutItem::kComboBox) {
        gadget = it.id;
        break;
      }
    }
    if (gadget < 0) return false;
  }
  Gadget(d, gadget).value = value;
  if (d->callbacks.command) {
    GmContainer msg;
    d->callbacks.command(d->callbacks.self, gadget, &msg);
  }
  return true;
}

bool Host::DialogClose(int32_t plugin_id) {
  GmDialog* d = impl_->DialogFor(plugin_id);
  if (!d || !d->view.open) return false;
  d->view.open = false;
  return true;
}

const DialogView* Host::Dialog(int32_t plugin_id) const {
  if (GmDialog* d = impl_->DialogFor(plugin_id)) return &d->view;
  auto it = impl_->closed_dialog_views.find(plugin_id);
  return it == impl_->closed_dialog_views.end() ? nullptr : &it->second;
}

// ---- observation ----

Activity& Host::activity() { return impl_->activity; }
const std::vector<std::string>& Host::CodingErrors() const { return impl_->coding_errors; }
void Host::ClearCodingErrors() { impl_->coding_errors.clear(); }
Faults& Host::faults() { return impl_->faults; }
const View& Host::GetView() const { return impl_->view; }

std::vector<std::string> Host::RegisteredHostCommands() const {
  std::vector<std::string> out;
  for (const auto& c : impl_->host_commands) out.push_back(std::to_string(c.first));
  return out;
}

// ---- preferences ----

std::optional<std::map<int32_t, int32_t>> Host::Prefs(int32_t plugin_id) const {
  GmContainer* bc = impl_->prefs.Get(plugin_id);
  if (!bc) return std::nullopt;
  std::map<int32_t, int32_t> out;
  for (const auto& [id, v] : bc->elements)
    if (v.type == GM_VALUE_LONG) out[id] = v.i32;
  return out;
}

void Host::SetPrefs(int32_t plugin_id, const std::map<int32_t, int32_t>& values) {
  GmContainer bc;
  for (const auto& [id, v] : values) SetElement(bc, id, LongValue(v));
  impl_->prefs.Set(plugin_id, bc, false);
}

const std::string& Host::PrefsError() const { return impl_->prefs.Error(); }

// ---- scene building ----

GmNode* Host::AddObject(int32_t type, const std::string& name, GmNode* parent, GmNode* after) {
  GmNode* n = NewNode(*impl_, type);
  n->name = name;
  if (after) {
    LinkInto(n, DocOf(after), nullptr, after);
  } else if (parent) {
    LinkUnderLast(n, parent);
  } else {
    LinkTopLast(n, impl_->Active());
  }
  return n;
}

GmNode* Host::AddObjectTo(GmDoc* doc, int32_t type, const std::string& name) {
  GmNode* n = NewNode(*impl_, type);
  n->name = name;
  LinkTopLast(n, doc);
  return n;
}

GmNode* Host::AddTag(GmNode* object, const std::string& name) {
  return NewTag(*impl_, object, name);
}

void Host::SetLink(GmNode* instance, GmNode* target) {
  impl_->links.SetLink(instance, target ? target->marker : 0);
}
void Host::SetLinkMarker(GmNode* instance, Marker target) {
  impl_->links.SetLink(instance, target);
}
void Host::SetMode(GmNode* instance, int32_t mode) { instance->mode = mode; }
void Host::SetMatrix(GmNode* object, const GmMatrix& m) { object->ml = m; }
void Host::SetBits(GmNode* object, int32_t bits) { SetAllBits(*impl_, object, bits); }
void Host::SetName(GmNode* node, const std::string& name) { node->name = name; }

void Host::SetDataElement(GmNode* node, int32_t id, const ValueData& value) {
  GmContainer* data = DataOf(node);
  SetElement(*data, id, FromData(value));
  NoteData(*impl_, node, *data);
}

void Host::RemoveDataElement(GmNode* node, int32_t id) {
  if (node->data) RemoveElement(*node->data, id);
}

void Host::Select(const std::vector<GmNode*>& in_order, GmDoc* doc) {
  if (!doc) doc = impl_->Active();
  for (GmNode* n : ActiveObjects(*impl_, doc, kActiveChildren))
    WriteBits(*impl_, n, n->bits & ~kBitActive);
  for (GmNode* n : in_order) SetAllBits(*impl_, n, n->bits | kBitActive);
}

void Host::Delete(GmNode* object) { FreeNode(*impl_, object); }

// ---- scene inspection ----

GmNode* Host::Find(Marker m) const { return impl_->registry.Find(m); }
Marker Host::MarkerOf(const GmNode* node) { return node ? node->marker : 0; }

GmNode* Host::FindByName(const std::string& name, GmDoc* doc) const {
  for (GmNode* n : WalkDocument(doc ? doc : impl_->Active()))
    if (n->name == name) return n;
  return nullptr;
}

std::vector<GmNode*> Host::Walk(GmDoc* doc) const {
  return WalkDocument(doc ? doc : impl_->Active());
}
std::vector<GmNode*> Host::Children(GmNode* object) const { return ChildrenOf(object); }
std::vector<GmNode*> Host::Tags(GmNode* object) const { return object->tags; }

std::vector<GmNode*> Host::Selection(GmDoc* doc) const {
  return ActiveObjects(*impl_, doc ? doc : impl_->Active(),
                       kActiveChildren | kActiveSelectionOrder);
}

GmNode* Host::Parent(GmNode* node) const { return node->up; }
GmDoc* Host::DocumentOf(GmNode* node) const { return DocOf(node); }
std::string Host::Name(const GmNode* node) const { return node->name; }
int32_t Host::Type(const GmNode* node) const { return node->type; }
int32_t Host::Bits(const GmNode* node) const { return node->bits; }
bool Host::IsSelected(const GmNode* node) const { return (node->bits & kBitActive) != 0; }
Marker Host::LinkMarker(const GmNode* instance) const { return instance->link; }
GmNode* Host::LinkTarget(const GmNode* instance) const {
  return impl_->registry.Find(instance->link);
}
std::vector<GmNode*> Host::LinkHolders(const GmNode* node) { return standin::LinkHolders(*impl_, node); }
int32_t Host::Mode(const GmNode* instance) const { return instance->mode; }
GmMatrix Host::Matrix(const GmNode* object) const { return object->ml; }

ContainerData Host::Data(const GmNode* node) const {
  return node->data ? ToData(*node->data) : ContainerData{};
}

size_t Host::LiveNodes() const { return impl_->registry.Size(); }

size_t Host::DetachedNodes() const {
  size_t count = 0;
  impl_->registry.ForEach([&](GmNode* n) {
    if (IsObject(n) && !n->up && !n->doc && !n->undo_held) ++count;
  });
  return count;
}

GmMatrix IdentityMatrix() {
  GmMatrix m{};
  m.v1[0] = m.v2[1] = m.v3[2] = 1;
  return m;
}

GmMatrix TranslationMatrix(double x, double y, double z) {
  GmMatrix m = IdentityMatrix();
  m.off[0] = x;
  m.off[1] = y;
  m.off[2] = z;
  return m;
}

}  // namespace standin

bool operator==(const GmMatrix& a, const GmMatrix& b) {
  for (int i = 0; i < 3; ++i) {
    if (a.off[i] != b.off[i] || a.v1[i] != b.v1[i] || a.v2[i] != b.v2[i] || a.v3[i] != b.v3[i])
      return false;
  }
  return true;
}
