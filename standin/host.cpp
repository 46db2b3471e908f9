// The host itself: the Host that tests and gemlith-host hold and the state behind it (host_impl.h),
// the current host the table reaches, and what the host observed. Fills no entry of the table of
// its own: FillApiTable (api_table.h) puts the concepts' parts together. Host's other methods are
// defined beside their concept: documents in document.cpp, commands in registry.cpp, and so on.
#include "standin/host.h"

#include <algorithm>

#include "api_table.h"
#include "host_impl.h"

namespace standin {

namespace {

Host* g_current = nullptr;

}  // namespace

// ---- HostImpl ----

HostImpl::HostImpl(HostOptions opts) : options(std::move(opts)) {
  main_thread = std::this_thread::get_id();
  FillApiTable(&table);
  docs.push_back(std::make_unique<GmDoc>());
  prefs.Open(options.prefs_path);
  res_path = options.res_path;
  AddFramingCommands(*this);
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

HostImpl* g_current_impl = nullptr;

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

// ---- observation ----

Activity& Host::activity() { return impl_->activity; }
const std::vector<std::string>& Host::CodingErrors() const { return impl_->coding_errors; }
void Host::ClearCodingErrors() { impl_->coding_errors.clear(); }
Faults& Host::faults() { return impl_->faults; }

}  // namespace standin
