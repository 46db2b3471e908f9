// The rules by which the host enables or greys each menu entry.
#include <map>

#include "module_fixture.h"
#include "commands/commands.h"

namespace gemlith_test {
namespace {

class EnablingTest : public ModuleTest {
 protected:
  // Entry id → enabled, as the host's menu shows it now.
  std::map<int32_t, bool> States() {
    std::map<int32_t, bool> states;
    for (const MenuEntry& e : host().Menu()) states[e.id] = e.enabled;
    return states;
  }
};

TEST_F(EnablingTest, NothingSelectedGreysAllButSettingsAndSeparator) {
  Cube("Cube");
  for (const auto& [id, enabled] : States()) {
    const bool always = id == ID_GEMLITH_SETTINGS || id == ID_GEMLITH_SEPARATOR;
    EXPECT_EQ(enabled, always) << id;
  }
}

TEST_F(EnablingTest, OneObjectEnablesSelectionRulesButNotSplit) {
  GmNode* cube = Cube("Cube");
  SelectOnly({cube});
  std::map<int32_t, bool> s = States();
  for (int32_t id : {ID_GEMLITH_SELECT, ID_GEMLITH_CREATE, ID_GEMLITH_RENAME,
                     ID_GEMLITH_FRAMEOBJECTS, ID_GEMLITH_FRAMEELEMENTS})
    EXPECT_TRUE(s[id]) << id;
  EXPECT_FALSE(s[ID_GEMLITH_SPLIT]);
  EXPECT_FALSE(s[ID_GEMLITH_MAKEEDITABLE]);
  EXPECT_FALSE(s[ID_GEMLITH_SWAP]);  // an ordinary object without a record
}

TEST_F(EnablingTest, SplitCountsSelectedChildren) {
  GmNode* parent = Null("Parent");
  GmNode* child = Cube("Child", parent);
  SelectOnly({parent, child});
  EXPECT_TRUE(States()[ID_GEMLITH_SPLIT]);
}

TEST_F(EnablingTest, MakeEditableSeesAnInstanceBelowASelectedParent) {
  GmNode* cube = Cube("Cube");
  GmNode* parent = Null("Parent");
  GmNode* inst = Instance("I", cube, parent);
  SelectOnly({parent, inst});
  EXPECT_TRUE(States()[ID_GEMLITH_MAKEEDITABLE]);
}

TEST_F(EnablingTest, MakeEditableCountsTheDerivedInstanceType) {
  GmNode* cube = Cube("Cube");
  GmNode* derived = Add(kOinstanceDerived, "D");
  host().SetLink(derived, cube);
  SelectOnly({derived});
  EXPECT_TRUE(States()[ID_GEMLITH_MAKEEDITABLE]);
}

TEST_F(EnablingTest, SwapLooksAtTheActiveObjectAlone) {
  GmNode* cube = Cube("Cube");
  GmNode* inst = Instance("I", cube);
  GmNode* empty = Instance("Empty", nullptr);
  // An instance is enough, even with an empty link.
  SelectOnly({empty});
  EXPECT_TRUE(States()[ID_GEMLITH_SWAP]);
  // With several selected, the one selected last decides.
  SelectOnly({inst, cube});
  EXPECT_FALSE(States()[ID_GEMLITH_SWAP]);
  SelectOnly({cube, inst});
  EXPECT_TRUE(States()[ID_GEMLITH_SWAP]);
}

TEST_F(EnablingTest, SwapOnAnOrdinaryObjectNeedsALiveRecordLink) {
  GmNode* cube = Cube("Cube");
  GmNode* partner = Instance("Partner", cube);
  GmNode* other_doc_obj = host().AddObjectTo(host().NewDocument(), kOcube, "Elsewhere");
  SelectOnly({cube});

  gemhost::WriteRecord(host(), cube, gemhost::Record{std::nullopt, M(partner)});
  EXPECT_TRUE(States()[ID_GEMLITH_SWAP]);

  gemhost::WriteRecord(host(), cube, gemhost::Record{std::nullopt, Marker{0}});  // an empty link
  EXPECT_FALSE(States()[ID_GEMLITH_SWAP]);

  gemhost::WriteRecord(host(), cube, gemhost::Record{std::nullopt, M(other_doc_obj)});  // another document
  EXPECT_FALSE(States()[ID_GEMLITH_SWAP]);

  const Marker dead = M(partner);
  host().Delete(partner);
  gemhost::WriteRecord(host(), cube, gemhost::Record{std::nullopt, dead});  // no longer resolves
  EXPECT_FALSE(States()[ID_GEMLITH_SWAP]);
}

TEST_F(EnablingTest, RulesChangeNothingAndGreyWhenTheArrayCannotBeMade) {
  GmNode* cube = Cube("Cube");
  SelectOnly({cube});
  const SceneSnapshot before = host().Capture();
  const int32_t steps = host().UndoSteps();
  States();
  EXPECT_TRUE(host().Capture() == before);
  EXPECT_EQ(host().UndoSteps(), steps);

  host().faults().FailNext(Alloc::Array);
  EXPECT_EQ(Command_Select().GetState(ModuleDoc(), nullptr), 0);
}

}  // namespace
}  // namespace gemlith_test
