// Frame objects / Frame elements: the host frames with the selected instances in mode 0.
#include "module_fixture.h"

namespace gemlith_test {
namespace {

struct FrameCommand {
  int32_t plugin_id;
  int32_t host_command;
  int32_t undo_groups;  // Frame elements opens one (which stays empty), Frame objects none
};

class Frame : public ModuleTest, public ::testing::WithParamInterface<FrameCommand> {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    r = Cube("R");
    i = Instance("I", r);
    host().SetMode(i, 2);
    host().SetMatrix(i, TranslationMatrix(500, 0, 0));
  }
  // Runs the command and checks what holds for every successful run: the host command ran once,
  // one refresh, no undo entry, the expected undo groups, no undo step with any effect.
  RunResult RunFrame() {
    const RunResult res = RunCommand(GetParam().plugin_id);
    EXPECT_TRUE(res.result);
    EXPECT_EQ(res.activity.event_adds, 1);
    EXPECT_EQ(res.activity.undo_groups, GetParam().undo_groups);
    EXPECT_TRUE(res.activity.undo.empty());
    EXPECT_EQ(res.activity.framing.size(), 1u);
    if (!res.activity.framing.empty()) {
      EXPECT_EQ(res.activity.framing[0].command, GetParam().host_command);
    }
    return res;
  }
  int32_t SavedMode(GmNode* n) {
    const std::optional<gemhost::Record> rec = gemhost::ReadRecord(host(), n);
    return rec && rec->saved_mode ? *rec->saved_mode : -1;
  }

  GmNode *r, *i;
};

TEST_P(Frame, InstancesAreInModeZeroWhileTheHostFrames) {
  GmNode* zero = Instance("Zero", r);  // mode 0 already
  gemhost::Record old;
  old.saved_mode = 7;
  old.swap_partner = M(r);
  gemhost::WriteRecord(host(), i, old);  // an earlier record is replaced whole
  SelectOnly({i, zero, r});
  const RunResult res = RunFrame();
  ASSERT_EQ(res.activity.framing.size(), 1u);
  EXPECT_EQ(res.activity.framing[0].modes,
            (std::map<Marker, int32_t>{{M(i), 0}, {M(zero), 0}}));
  EXPECT_EQ(host().Mode(i), 2);
  EXPECT_EQ(host().Mode(zero), 0);
  EXPECT_EQ(SavedMode(i), 2);
  EXPECT_EQ(SavedMode(zero), 0);
  EXPECT_FALSE(gemhost::ReadRecord(host(), i)->swap_partner.has_value());
  EXPECT_FALSE(gemhost::ReadRecord(host(), r).has_value());  // ordinary objects get no record
}

TEST_P(Frame, DerivedInstanceTypesAreLeftAlone) {
  GmNode* derived = Add(kOinstanceDerived, "D");
  host().SetLink(derived, r);
  host().SetMode(derived, 2);
  SelectOnly({derived});
  const RunResult res = RunFrame();
  ASSERT_EQ(res.activity.framing.size(), 1u);
  EXPECT_EQ(res.activity.framing[0].modes, (std::map<Marker, int32_t>{{M(derived), 2}}));
  EXPECT_FALSE(gemhost::ReadRecord(host(), derived).has_value());
}

TEST_P(Frame, HostCommandRunsWithoutInstancesOrSelection) {
  for (const std::vector<GmNode*>& selection : {std::vector<GmNode*>{r}, std::vector<GmNode*>{}}) {
    SelectOnly(selection);
    RunFrame();
    EXPECT_EQ(Diff(SceneBefore(), SceneAfter()), "");
  }
}

TEST_P(Frame, NothingRunsWhenTheListCannotBeMade) {
  SelectOnly({i});
  host().faults().FailNth(Alloc::Array, 2);  // the first array is the menu state's
  const RunResult res = RunCommand(GetParam().plugin_id);
  ExpectGaveUp(res);
  EXPECT_TRUE(res.activity.framing.empty());
  EXPECT_EQ(res.activity.undo_groups, GetParam().undo_groups);  // opened and closed again
}

// An instance whose record cannot be made keeps its mode for the framing (switching it would lose
// the mode for good); the others are switched and recorded as usual.
TEST_P(Frame, InstanceWhoseRecordCannotBeMadeIsFramedAsItIs) {
  GmNode* other = Instance("Other", r);
  host().SetMode(other, 1);
  SelectOnly({i, other});
  host().faults().FailNth(Alloc::Container, 1);
  const RunResult res = RunFrame();
  ASSERT_EQ(res.activity.framing.size(), 1u);
  EXPECT_EQ(res.activity.framing[0].modes, (std::map<Marker, int32_t>{{M(i), 2}, {M(other), 0}}));
  SceneSnapshot want = SceneBefore();  // the whole scene: only Other's record is new
  gemhost::Record record;
  record.saved_mode = 1;
  gemhost::WriteRecord(host(), other, record);
  want.objects.back().data = host().Data(other);
  EXPECT_EQ(Diff(want, SceneAfter()), "");
}

// The view after framing a mode-2 instance is the view of its reference's box at the instance's
// place, which is what a cube standing there frames to. The host measures bounds as of an object's
// last MSG_UPDATE, so this holds only when the command sends one after each mode change.
TEST_P(Frame, FramesTheReferencesBoxAtTheInstancesPlace) {
  SelectOnly({i});
  RunFrame();
  const View withModule = host().GetView();
  ASSERT_TRUE(withModule.framed);
  CallCommand(GetParam().host_command, 0);  // back in mode 2, measured so: the proxy, a point
  EXPECT_DOUBLE_EQ(host().GetView().radius, 0);

  GmNode* stand = Cube("Stand");
  host().SetMatrix(stand, TranslationMatrix(500, 0, 0));
  SelectOnly({stand});
  RunFrame();
  const View cubeThere = host().GetView();
  for (int axis = 0; axis < 3; ++axis) EXPECT_DOUBLE_EQ(withModule.center[axis], cubeThere.center[axis]);
  EXPECT_DOUBLE_EQ(withModule.radius, cubeThere.radius);
  EXPECT_GT(withModule.radius, 0);  // a proxy alone would frame to a point
}

INSTANTIATE_TEST_SUITE_P(
    BothCommands, Frame,
    ::testing::Values(FrameCommand{ID_GEMLITH_FRAMEOBJECTS, kFrameObjectsCommand, 0},
                      FrameCommand{ID_GEMLITH_FRAMEELEMENTS, kFrameElementsCommand, 1}),
    [](const ::testing::TestParamInfo<FrameCommand>& info) {
      return info.param.plugin_id == ID_GEMLITH_FRAMEOBJECTS ? "FrameObjects" : "FrameElements";
    });

}  // namespace
}  // namespace gemlith_test
