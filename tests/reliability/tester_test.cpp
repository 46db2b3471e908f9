// Tests of the sequence tester itself: plans are deterministic, scenes are built as specified,
// the checks see what they are meant to see, the shrinker reduces and the printed form compiles.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "module_ids.h"
#include "reproduction.h"
#include "runner.h"
#include "standin/host_impl.h"

namespace reliability {
namespace {

std::string PlanText(const Plan& p) {
  std::string s = SceneToCpp(p.scene, "");
  for (const Step& step : p.steps) s += StepToCpp(step) + "\n";
  return s;
}

TEST(Tester, SameSeedGivesTheSamePlanAndOtherSeedsDiffer) {
  EXPECT_EQ(PlanText(MakePlan(7, 80)), PlanText(MakePlan(7, 80)));
  EXPECT_NE(PlanText(MakePlan(7, 80)), PlanText(MakePlan(8, 80)));
}

TEST(Tester, GeneratedScenesAreBuiltExactlyAsSpecified) {
  int instances = 0, derived = 0, dead = 0, tags = 0, foreign = 0, records = 0, cycles = 0;
  for (uint64_t seed = 1; seed <= 60; ++seed) {
    Rng rng(seed);
    const SceneSpec spec = GenerateScene(rng, SceneParams{});
    ASSERT_TRUE(IsValid(spec)) << "seed " << seed;
    Session session;
    standin::Host& h = session.host();
    const std::vector<GmNode*> o = BuildScene(h, spec);
    ASSERT_EQ(CheckTree(h, h.ActiveDocument()), "");
    ASSERT_EQ(h.Walk().size(), spec.objects.size());
    EXPECT_EQ(h.Selection().size(), spec.selection.size());
    for (size_t k = 0; k < spec.selection.size(); ++k) EXPECT_EQ(h.Selection()[k], o[spec.selection[k]]);
    for (size_t i = 0; i < spec.objects.size(); ++i) {
      const ObjectSpec& s = spec.objects[i];
      EXPECT_EQ(h.Parent(o[i]), s.parent >= 0 ? o[s.parent] : nullptr);
      EXPECT_EQ(h.Type(o[i]), s.type);
      EXPECT_EQ(h.Bits(o[i]) & ~standin::kBitActive, s.bits);
      EXPECT_EQ(h.Tags(o[i]).size(), s.tags.size());
      EXPECT_EQ(gemhost::ReadRecord(h, o[i]).has_value(), s.record.has_value());
      records += s.record.has_value();
      tags += static_cast<int>(s.tags.size());
      if (!IsInstanceType(s.type)) continue;
      ++(s.type == standin::kOinstance ? instances : derived);
      EXPECT_EQ(h.Mode(o[i]), s.mode);
      switch (s.link.kind) {
        case LinkSpec::kEmpty: EXPECT_EQ(h.LinkMarker(o[i]), 0u); break;
        case LinkSpec::kObject:
          EXPECT_EQ(h.LinkTarget(o[i]), o[s.link.object]);
          cycles += s.link.object == static_cast<int>(i);
          break;
        case LinkSpec::kTag: EXPECT_EQ(h.LinkTarget(o[i]), h.Tags(o[s.link.object])[s.link.tag]); break;
        case LinkSpec::kDead:
          ++dead;
          EXPECT_NE(h.LinkMarker(o[i]), 0u);
          EXPECT_EQ(h.LinkTarget(o[i]), nullptr);
          break;
        case LinkSpec::kForeign:
          ++foreign;
          ASSERT_NE(h.LinkTarget(o[i]), nullptr);
          EXPECT_NE(h.DocumentOf(h.LinkTarget(o[i])), h.ActiveDocument());
          break;
      }
    }
  }
  // Every kind of scene element the tester promises shows up within a few seeds.
  EXPECT_GT(instances, 0);
  EXPECT_GT(derived, 0);
  EXPECT_GT(dead, 0);
  EXPECT_GT(tags, 0);
  EXPECT_GT(foreign, 0);
  EXPECT_GT(records, 0);
  EXPECT_GT(cycles, 0);
}

TEST(Tester, RemovingAnObjectTakesItsSubtreeAndEmptiesLinksToThem) {
  SceneSpec s;
  s.objects.resize(5);
  s.objects[1].parent = 0;  // 0 ─ 1 ─ 2, then 3 and 4 at the top
  s.objects[2].parent = 1;
  s.objects[3].type = standin::kOinstance;
  s.objects[3].link = {LinkSpec::kObject, 2, -1};
  s.objects[4].type = standin::kOinstance;
  s.objects[4].link = {LinkSpec::kObject, 0, -1};
  s.objects[0].record = RecordSpec{std::nullopt, LinkSpec{LinkSpec::kObject, 4, -1}};
  s.selection = {2, 4, 1};
  const SceneSpec r = WithoutObject(s, 1);
  ASSERT_EQ(r.objects.size(), 3u);  // 0, 3, 4
  EXPECT_TRUE(IsValid(r));
  EXPECT_EQ(r.objects[1].link.kind, LinkSpec::kEmpty);  // it named 2, which went with 1
  EXPECT_EQ(r.objects[2].link, (LinkSpec{LinkSpec::kObject, 0, -1}));
  EXPECT_EQ(r.objects[0].record->partner, (LinkSpec{LinkSpec::kObject, 2, -1}));
  EXPECT_EQ(r.selection, std::vector<int>{2});
}

TEST(Tester, TreeCheckSeesABrokenParentLinkAndATwiceReachedObject) {
  Session session;
  standin::Host& h = session.host();
  GmNode* a = h.AddObject(standin::kOnull, "A");
  GmNode* b = h.AddObject(standin::kOnull, "B", a);
  GmNode* c = h.AddObject(standin::kOnull, "C");
  ASSERT_EQ(CheckTree(h, h.ActiveDocument()), "");
  b->up = c;
  EXPECT_NE(CheckTree(h, h.ActiveDocument()).find("parent"), std::string::npos);
  b->up = a;
  c->down = b;  // B now also hangs below C
  c->down_last = b;
  EXPECT_NE(CheckTree(h, h.ActiveDocument()).find("twice"), std::string::npos);
  c->down = c->down_last = nullptr;
  EXPECT_EQ(CheckTree(h, h.ActiveDocument()), "");
}

TEST(Tester, AnObjectLeftOutsideTheDocumentFailsTheNextStep) {
  Session session;
  GmNode* loose = standin::NewNode(session.host().impl(), standin::kOcube);
  Step menu;
  menu.kind = Step::kMenu;
  const Failure f = session.Apply(menu);
  EXPECT_EQ(f.signature.rfind("objects left outside the document", 0), 0u) << f.signature;
  standin::FreeNode(session.host().impl(), loose);
}

TEST(Tester, ShrinkerKeepsOnlyWhatTheFailureNeeds) {
  // A stand-in failure: an undo step fails whenever the scene holds a sphere.
  const Runner fake = [](const SceneSpec& scene, const std::vector<Step>& steps) {
    Outcome o;
    bool sphere = false;
    for (const ObjectSpec& obj : scene.objects) sphere |= obj.type == standin::kOsphere;
    for (size_t i = 0; i < steps.size() && sphere; ++i) {
      if (steps[i].kind == Step::kUndo) {
        o.failure.signature = "sphere undo";
        o.failed_step = i;
        break;
      }
    }
    return o;
  };
  Plan plan = MakePlan(3, 120);
  plan.scene.objects.push_back(ObjectSpec{});
  plan.scene.objects.back().type = standin::kOsphere;
  plan.steps.push_back(Step{});
  plan.steps.back().kind = Step::kUndo;
  const Outcome first = fake(plan.scene, plan.steps);
  ASSERT_TRUE(first.failure.failed());
  const Reduced r = Shrink(plan.scene, plan.steps, first, fake, 5000, 60);
  ASSERT_EQ(r.steps.size(), 1u);
  EXPECT_EQ(r.steps[0].kind, Step::kUndo);
  ASSERT_EQ(r.scene.objects.size(), 1u);
  EXPECT_EQ(r.scene.objects[0].type, standin::kOsphere);
  EXPECT_TRUE(r.scene.selection.empty());
  const std::string cpp = ReproductionCpp(3, r);
  EXPECT_NE(cpp.find("TEST_F(Reproduction, Seed3)"), std::string::npos);
  EXPECT_NE(cpp.find("h.AddObject(standin::kOsphere"), std::string::npos);
  EXPECT_NE(cpp.find("  Undo();\n"), std::string::npos);
}

// A scene with every element the printer writes, and the text it prints: the test below pastes
// exactly this text, so the printed form stays valid C++ for the fixture.
SceneSpec EveryElement() {
  SceneSpec s;
  s.objects.resize(4);
  s.objects[0].type = standin::kOcube;
  s.objects[0].name = "Cube \"1\"";
  s.objects[0].tags = {"tag0"};
  s.objects[0].off[0] = 1.5;
  s.objects[0].scale = 2;
  s.objects[1].type = standin::kOinstance;
  s.objects[1].name = "W\xC3\xBCrfel";
  s.objects[1].parent = 0;
  s.objects[1].link = {LinkSpec::kObject, 0, -1};
  s.objects[1].mode = 2;
  s.objects[1].bits = 4;
  s.objects[2].type = standin::kOinstanceDerived;
  s.objects[2].link = {LinkSpec::kDead, -1, -1};
  s.objects[2].record = RecordSpec{1, LinkSpec{LinkSpec::kTag, 0, 0}};
  s.objects[3].type = standin::kOinstance;
  s.objects[3].link = {LinkSpec::kForeign, -1, -1};
  s.objects[3].record = RecordSpec{std::nullopt, LinkSpec{}};
  s.foreign = true;
  s.selection = {1, 0};
  s.stored_mode = 2;
  return s;
}

TEST(Tester, SceneIsPrintedAsTheCodeThatBuildsIt) {
  EXPECT_EQ(SceneToCpp(EveryElement(), "  "),
            "  std::vector<GmNode*> o(4);\n"
            "  o[0] = h.AddObject(standin::kOcube, \"Cube \\\"1\\\"\");\n"
            "  o[1] = h.AddObject(standin::kOinstance, \"W\\303\\274rfel\", o[0]);\n"
            "  o[2] = h.AddObject(standin::kOinstanceDerived, \"\");\n"
            "  o[3] = h.AddObject(standin::kOinstance, \"\");\n"
            "  h.AddTag(o[0], \"tag0\");\n"
            "  GmNode* foreign = h.AddObjectTo(h.NewDocument(), standin::kOcube, \"Foreign\");\n"
            "  const standin::Marker dead = reliability::DeadMarker(h);\n"
            "  h.SetMatrix(o[0], reliability::Placement(1.5, 0, 0, 2));\n"
            "  h.SetBits(o[1], 4);\n"
            "  h.SetLinkMarker(o[1], standin::Host::MarkerOf(o[0]));\n"
            "  h.SetMode(o[1], 2);\n"
            "  h.SetLinkMarker(o[2], dead);\n"
            "  gemhost::WriteRecord(h, o[2], gemhost::Record{1, standin::Marker(standin::Host::MarkerOf(h.Tags(o[0])[0]))});\n"
            "  h.SetLinkMarker(o[3], standin::Host::MarkerOf(foreign));\n"
            "  gemhost::WriteRecord(h, o[3], gemhost::Record{std::nullopt, standin::Marker(0)});\n"
            "  h.Select({o[1], o[0]});\n"
            "  h.SetPrefs(ID_GEMLITH, {{SETTING_INSTANCE_MODE, 2}});\n");
}

TEST_F(Reproduction, PrintedFormRunsWithEveryKindOfStep) {
  standin::Host& h = host();
  std::vector<GmNode*> o(4);
  o[0] = h.AddObject(standin::kOcube, "Cube \"1\"");
  o[1] = h.AddObject(standin::kOinstance, "W\303\274rfel", o[0]);
  o[2] = h.AddObject(standin::kOinstanceDerived, "");
  o[3] = h.AddObject(standin::kOinstance, "");
  h.AddTag(o[0], "tag0");
  GmNode* foreign = h.AddObjectTo(h.NewDocument(), standin::kOcube, "Foreign");
  const standin::Marker dead = reliability::DeadMarker(h);
  h.SetMatrix(o[0], reliability::Placement(1.5, 0, 0, 2));
  h.SetBits(o[1], 4);
  h.SetLinkMarker(o[1], standin::Host::MarkerOf(o[0]));
  h.SetMode(o[1], 2);
  h.SetLinkMarker(o[2], dead);
  gemhost::WriteRecord(h, o[2], gemhost::Record{1, standin::Marker(standin::Host::MarkerOf(h.Tags(o[0])[0]))});
  h.SetLinkMarker(o[3], standin::Host::MarkerOf(foreign));
  gemhost::WriteRecord(h, o[3], gemhost::Record{std::nullopt, standin::Marker(0)});
  h.Select({o[1], o[0]});
  h.SetPrefs(ID_GEMLITH, {{SETTING_INSTANCE_MODE, 2}});
  Menu();
  Keys(standin::kQCtrl | standin::kQAlt);
  Call(ID_GEMLITH_FRAMEOBJECTS, Fault::kAllocArray, 1);
  Run(ID_GEMLITH_SELECT);
  Undo();
  Redo();
  Call(ID_GEMLITH_SETTINGS);
  SettingsPick(1);
  SettingsPick(5, Fault::kDialogGetInt32, 1);
  SettingsClose();
  RestoreLayout();
  SelectAt({5, 4});
  RenameConfirm("New");
  Call(ID_GEMLITH_SPLIT);
  RenameCancel();
  Reload(Fault::kRefuseRegistration, 4);
  Menu(Fault::kAllocArray, 2);
  Reload();
}

// The counts behind the reach check: a command counts when it answers true, an armed fault when
// the host delivered it.
TEST_F(Reproduction, CountsSuccessesAndDeliveredFaultsOnly) {
  host().AddObject(standin::kOcube, "Cube");
  SelectAt({0});
  Call(ID_GEMLITH_SELECT, Fault::kAllocArray, 2);  // gives up: its list cannot be made
  Call(ID_GEMLITH_CREATE);
  Call(ID_GEMLITH_SPLIT);                         // gives up: fewer than two instances
  Call(ID_GEMLITH_SELECT, Fault::kDialogHandle);  // never asks for a dialog
  Reload(Fault::kDialogHandle);
  EXPECT_EQ(counters().succeeded,
            (std::map<int32_t, uint64_t>{{ID_GEMLITH_SELECT, 1}, {ID_GEMLITH_CREATE, 1}}));
  EXPECT_EQ(counters().faults_taken,
            (std::map<Fault, uint64_t>{{Fault::kAllocArray, 1}, {Fault::kDialogHandle, 1}}));
}

TEST(Tester, ReachCheckFailsWhenCommandsGiveUpOrAFaultIsNeverDelivered) {
  Counters full;
  for (int32_t id : gemlith_test::kMenuOrder) full.succeeded[id] = 3;
  for (int k = 1; k <= static_cast<int>(Fault::kMissingIcon); ++k)
    full.faults_taken[static_cast<Fault>(k)] = 1;
  EXPECT_EQ(ReachShortfall(full, 3), "");

  Counters gave_up = full;  // what a module whose commands all give up leaves
  gave_up.succeeded.clear();
  const std::string all = ReachShortfall(gave_up, 1);
  EXPECT_NE(all.find("): Select Create Split Rename FrameObjects FrameElements Swap MakeEditable "
                     "Settings\n"),
            std::string::npos)
      << all;
  EXPECT_NE(all.find("Swap 0;"), std::string::npos) << all;

  Counters one_short = full;
  one_short.succeeded[ID_GEMLITH_SWAP] = 2;
  one_short.faults_taken.erase(Fault::kAllocClone);
  const std::string some = ReachShortfall(one_short, 3);
  EXPECT_NE(some.find("): Swap kAllocClone\n"), std::string::npos) << some;
}

}  // namespace
}  // namespace reliability
