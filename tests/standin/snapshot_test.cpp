// Scene snapshots and their differences, what every undo and command test compares.
#include "standin_fixture.h"

namespace standin_test {

using Snapshot = HostTest;

TEST_F(Snapshot, DiffNamesWhatChanged) {
  GmNode* a = host.AddObject(kOcube, "A");
  const SceneSnapshot before = host.Capture();
  host.SetName(a, "B");
  host.SetMatrix(a, TranslationMatrix(0, 5, 0));
  const std::string diff = Diff(before, host.Capture());
  EXPECT_NE(diff.find("name \"A\" -> \"B\""), std::string::npos) << diff;
  EXPECT_NE(diff.find("ml "), std::string::npos) << diff;
  EXPECT_EQ(Diff(before, before), "");
}

}  // namespace standin_test
