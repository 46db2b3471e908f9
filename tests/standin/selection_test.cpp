// Selection: the active-object queries by flags, selection order, arrays; and the host's indexes
// (selection list, order labels, link index) against plain walks of the document: whatever the
// edits, undos and redos, the answers must be the walk's.
#include <algorithm>
#include <random>

#include "standin/node.h"  // the selection stamps, for the walked answer in selection order
#include "standin_fixture.h"

namespace standin_test {

using Selection = HostTest;

namespace {

// The active objects as a walk of the document finds them.
std::vector<GmNode*> WalkedActive(const Host& host, GmDoc* doc, int32_t flags) {
  std::vector<GmNode*> out;
  for (GmNode* n : host.Walk(doc)) {
    if (!host.IsSelected(n)) continue;
    bool below_selected = false;
    for (GmNode* p = host.Parent(n); p; p = host.Parent(p)) below_selected |= host.IsSelected(p);
    if (below_selected && !(flags & kActiveChildren)) continue;
    out.push_back(n);
  }
  if (flags & kActiveSelectionOrder)
    std::stable_sort(out.begin(), out.end(),
                     [](const GmNode* a, const GmNode* b) { return a->stamp < b->stamp; });
  return out;
}

GmNode* WalkedActiveObject(const Host& host, GmDoc* doc) {
  GmNode* best = nullptr;
  for (GmNode* n : host.Walk(doc))
    if (host.IsSelected(n) && (!best || n->stamp > best->stamp)) best = n;
  return best;
}

bool HoldsLink(const ContainerData& c, Marker m) {
  for (const auto& e : c) {
    if (e.second.type == GM_VALUE_LINK && e.second.marker == m) return true;
    if (e.second.type == GM_VALUE_CONTAINER && HoldsLink(e.second.sub, m)) return true;
  }
  return false;
}

bool IsInstanceType(int32_t type) { return type == kOinstance || type == kOinstanceDerived; }

// The objects of `doc` that hold a link to `m` (instance link, own data, a tag's data), in
// document order: what TransferGoal must change.
std::vector<UndoRecord> WalkedLinkHolders(const Host& host, GmDoc* doc, Marker m) {
  std::vector<UndoRecord> out;
  for (GmNode* n : host.Walk(doc)) {
    bool hit = IsInstanceType(host.Type(n)) && host.LinkMarker(n) == m;
    hit = hit || HoldsLink(host.Data(n), m);
    for (GmNode* t : host.Tags(n)) hit = hit || HoldsLink(host.Data(t), m);
    if (hit) out.push_back(UndoRecord{kUndoChangeSmall, Host::MarkerOf(n)});
  }
  return out;
}

// The holders the host reports, in the form of their undo entries.
std::vector<UndoRecord> AsUndo(const std::vector<GmNode*>& holders) {
  std::vector<UndoRecord> out;
  for (GmNode* n : holders) out.push_back(UndoRecord{kUndoChangeSmall, Host::MarkerOf(n)});
  return out;
}

}  // namespace

class Indexes : public HostTest {
 protected:
  size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(rng() % n); }
  GmNode* Pick(GmDoc* d) {
    const std::vector<GmNode*> all = host.Walk(d);
    return all.empty() ? nullptr : all[Below(all.size())];
  }
  // A marker to link to: mostly an object of the document, sometimes one of the other document,
  // a freed one or none.
  Marker LinkTarget() {
    switch (Below(8)) {
      case 0: return 0;
      case 1: return Host::MarkerOf(Pick(other));
      case 2: return freed.empty() ? 0 : freed[Below(freed.size())];
      default: return Host::MarkerOf(Pick(doc));
    }
  }

  // One random edit of the active document, recorded as one undo step (or an undo or a redo).
  void Edit() {
    GmNode* a = Pick(doc);
    if (Below(10) == 0) {
      if (Below(2)) host.Undo(); else host.Redo();
      return;
    }
    api->doc_start_undo(doc);
    switch (a ? Below(8) : 0) {
      case 0: {  // a new object somewhere: first child, after a sibling, or at the top
        GmNode* n = api->object_alloc(Below(2) ? kOinstance : (Below(2) ? kOcube : kOnull));
        GmNode* pred = a && Below(2) ? a : nullptr;
        GmNode* parent = !pred && a && Below(2) ? a : nullptr;
        api->doc_insert_object(doc, n, parent, pred, 0);
        api->doc_add_undo(doc, kUndoNewObj, n);
        break;
      }
      case 1: {  // delete, remembering the marker so that links to it can be tried
        std::vector<GmNode*> gone = {a};
        for (size_t i = 0; i < gone.size(); ++i)
          for (GmNode* c : host.Children(gone[i])) gone.push_back(c);
        for (GmNode* g : gone) freed.push_back(Host::MarkerOf(g));
        api->doc_add_undo(doc, kUndoDeleteObj, a);
        api->node_remove(a);
        api->object_free(a);
        break;
      }
      case 2: {  // move under another object (never under itself)
        GmNode* to = Pick(doc);
        bool below = false;
        for (GmNode* p = to; p; p = host.Parent(p)) below |= p == a;
        if (below) break;
        api->doc_add_undo(doc, kUndoChange, a);
        api->node_remove(a);
        api->node_insert_under_last(a, to);
        break;
      }
      case 3:  // select or deselect
        api->doc_add_undo(doc, kUndoBits, a);
        api->node_set_all_bits(a, api->node_get_all_bits(a) ^ kBitActive);
        break;
      case 4: {  // the instance link
        api->doc_add_undo(doc, kUndoChangeSmall, a);
        const GmValue link = Link(LinkTarget());
        api->node_set_parameter(a, kInstanceLink, &link, 0);
        break;
      }
      case 5: {  // a link element: in the object's data, a record inside it, or a tag's data
        const std::vector<GmNode*> tags = host.Tags(a);
        GmNode* holder = tags.empty() || Below(2) ? a : tags[0];
        api->doc_add_undo(doc, kUndoChangeSmall, holder);  // a tag has an entry of its own
        GmContainer* data = api->node_get_data_instance(holder);
        const GmValue link = Link(LinkTarget());
        if (GmContainer* record = api->container_get_container_instance(data, kPluginId);
            record && Below(2)) {
          api->container_set(record, 7, &link);
        } else if (Below(2)) {
          api->container_set(data, static_cast<int32_t>(Below(3)), &link);
        } else {
          GmContainer* sub = api->container_alloc();
          api->container_set(sub, kSubLink, &link);
          const GmValue v = Sub(sub);
          api->container_set(data, kPluginId, &v);
          api->container_free(sub);
        }
        break;
      }
      case 6: {  // a copy, selected like its original, in front of the first object
        GmNode* copy = api->node_get_clone(a, Below(2) ? 0 : kCopyNoHierarchy);
        api->doc_insert_object(doc, copy, nullptr, nullptr, 0);
        api->doc_add_undo(doc, kUndoNewObj, copy);
        break;
      }
      default: {  // links to `a` move to another object, with their undo entries
        GmNode* to = Pick(doc);
        const std::vector<UndoRecord> expected = WalkedLinkHolders(host, doc, Host::MarkerOf(a));
        ASSERT_EQ(AsUndo(host.LinkHolders(a)), expected);
        for (const UndoRecord& r : expected) api->doc_add_undo(doc, kUndoChangeSmall, host.Find(r.marker));
        ASSERT_TRUE(api->node_transfer_goal(a, to, 0));
        EXPECT_TRUE(WalkedLinkHolders(host, doc, Host::MarkerOf(a)).empty() || a == to);
        break;
      }
    }
    api->doc_end_undo(doc);
  }

  void ExpectQueriesAsWalked() {
    for (int32_t flags = 0; flags < 4; ++flags)
      ASSERT_EQ(Active(flags), WalkedActive(host, doc, flags)) << "flags " << flags;
    seen_selections += Active(kActiveChildren).size() >= 3;
    ASSERT_EQ(api->doc_get_active_object(doc), WalkedActiveObject(host, doc));
    // Half the time the object some instance links to, so that links are there to be found.
    GmNode* any = Pick(doc);
    if (any && IsInstanceType(host.Type(any)) && Below(2)) {
      GmNode* target = host.LinkTarget(any);
      if (target && host.DocumentOf(target) == doc) any = target;
    }
    if (any) {
      const std::vector<UndoRecord> expected = WalkedLinkHolders(host, doc, Host::MarkerOf(any));
      ASSERT_EQ(AsUndo(host.LinkHolders(any)), expected);
      for (const UndoRecord& r : expected) {
        GmNode* holder = host.Find(r.marker);
        const bool by_link =
            IsInstanceType(host.Type(holder)) && host.LinkMarker(holder) == Host::MarkerOf(any);
        const bool by_data = !by_link;
        (by_data ? seen_data_holders : seen_link_holders) += 1;
      }
    }
  }

  std::mt19937 rng{20261207};
  GmDoc* other = host.NewDocument();
  std::vector<Marker> freed;
  // How often the checks met something worth checking: a test that never does proves nothing.
  int seen_selections = 0, seen_link_holders = 0, seen_data_holders = 0;
};

TEST_F(Selection, ActiveObjectsByFlags) {
  // P (selected) > C (selected); Q; R (selected). Selected in the order R, C, P.
  GmNode* p = host.AddObject(kOnull, "P");
  GmNode* c = host.AddObject(kOnull, "C", p);
  GmNode* q = host.AddObject(kOnull, "Q");
  GmNode* r = host.AddObject(kOinstance, "R");
  host.Select({r, c, p});

  EXPECT_EQ(Names(Active(0)), (std::vector<std::string>{"P", "R"}));
  EXPECT_EQ(Names(Active(kActiveChildren)), (std::vector<std::string>{"P", "C", "R"}));
  EXPECT_EQ(Names(Active(kActiveChildren | kActiveSelectionOrder)),
            (std::vector<std::string>{"R", "C", "P"}));
  EXPECT_EQ(Names(Active(kActiveSelectionOrder)), (std::vector<std::string>{"R", "P"}));
  EXPECT_EQ(api->doc_get_active_object(doc), p);

  GmArray* arr = api->array_alloc();
  api->doc_get_active_objects_filter(doc, arr, 1, -1, kOinstance);
  ASSERT_EQ(api->array_count(arr), 1);
  EXPECT_EQ(api->array_index(arr, 0), r);
  api->doc_get_active_objects_filter(doc, arr, 0, kOnull, kObase);
  ASSERT_EQ(api->array_count(arr), 1);
  EXPECT_EQ(api->array_index(arr, 0), p);
  api->array_free(arr);

  // Deselecting and selecting again makes the object the most recent one.
  api->node_set_all_bits(r, 0);
  api->node_set_all_bits(r, kBitActive);
  EXPECT_EQ(api->doc_get_active_object(doc), r);
  EXPECT_EQ(Names(host.Selection()), (std::vector<std::string>{"C", "P", "R"}));
  (void)q;

  // Objects out of the document do not count.
  api->node_remove(r);
  EXPECT_EQ(api->doc_get_active_object(doc), p);
  api->object_free(r);
  host.Select({});
  EXPECT_EQ(api->doc_get_active_object(doc), nullptr);
}

TEST_F(Selection, SelectedCloneIsSelectedLast) {
  GmNode* a = host.AddObject(kOnull, "A");
  GmNode* b = host.AddObject(kOnull, "B");
  host.Select({a, b});
  GmNode* copy = api->node_get_clone(a, 0);
  api->doc_insert_object(doc, copy, nullptr, nullptr, 0);
  EXPECT_EQ(host.Selection(), (std::vector<GmNode*>{a, b, copy}));
  EXPECT_EQ(api->doc_get_active_object(doc), copy);
}

TEST_F(Selection, ArraysFilterAndRemove) {
  GmNode* a = host.AddObject(kOinstance, "a");
  GmNode* b = host.AddObject(kOinstanceDerived, "b");
  GmNode* c = host.AddObject(kOcube, "c");
  GmArray* arr = api->array_alloc();
  for (GmNode* n : {a, b, c, a}) api->array_append(arr, n);
  EXPECT_TRUE(api->array_remove(arr, a));  // the first occurrence
  EXPECT_EQ(api->array_index(arr, 0), b);
  EXPECT_EQ(api->array_index(arr, 3), nullptr);
  EXPECT_EQ(api->array_index(arr, -1), nullptr);
  api->array_filter_object(arr, kOinstance, kOinstance);
  ASSERT_EQ(api->array_count(arr), 1);
  EXPECT_EQ(api->array_index(arr, 0), a);
  api->array_free(arr);

  host.faults().FailNth(Alloc::Array, 2);
  GmArray* first = api->array_alloc();
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(api->array_alloc(), nullptr);
  api->array_free(first);
}

TEST_F(Indexes, SelectionAndLinkQueriesAnswerAsAWalkThroughRandomEditsUndoAndRedo) {
  for (int i = 0; i < 12; ++i) host.AddObject(kOcube, "c" + std::to_string(i));
  host.AddObjectTo(other, kOcube, "elsewhere");
  host.AddTag(host.Walk()[3], "tag");
  for (int round = 0; round < 600; ++round) {
    Edit();
    ASSERT_NO_FATAL_FAILURE(ExpectQueriesAsWalked()) << "after edit " << round;
  }
  EXPECT_GT(seen_selections, 50);
  EXPECT_GT(seen_link_holders, 20);
  EXPECT_GT(seen_data_holders, 20);
}

TEST_F(Indexes, ManySelectedObjectsDeepInOneHierarchyComeInDocumentOrder) {
  // A chain 3000 levels deep with a leaf beside every tenth level: so many selected objects this
  // deep are put in order by one walk of the document instead of by their order labels.
  GmNode* parent = nullptr;
  for (int i = 0; i < 3000; ++i) {
    if (i % 10 == 5) host.AddObject(kOsphere, "leaf", parent);
    parent = host.AddObject(kOcube, "c" + std::to_string(i), parent);
  }
  std::vector<GmNode*> picked = host.Walk();
  std::shuffle(picked.begin(), picked.end(), rng);
  picked.resize(300);
  host.Select(picked);  // in this (random) selection order
  for (int32_t flags :
       {0, kActiveChildren, kActiveSelectionOrder, kActiveChildren | kActiveSelectionOrder})
    EXPECT_EQ(Active(flags), WalkedActive(host, doc, flags)) << "flags " << flags;
  EXPECT_EQ(Active(kActiveChildren).size(), 300u);
}

}  // namespace standin_test
