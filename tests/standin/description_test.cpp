// Parameter descriptions: the instance mode parameter, its cycle of modes and their faults.
#include "standin_fixture.h"

namespace standin_test {

using Description = HostTest;

TEST_F(Description, Faults) {
  GmDescription* desc = api->description_alloc();
  ASSERT_TRUE(api->description_load(desc, kOinstanceDerived));
  EXPECT_EQ(api->description_get_parameter(desc, kInstanceMode, 19, 0), nullptr);  // wrong type
  EXPECT_EQ(api->description_get_parameter(desc, 4711, 15, 0), nullptr);
  host.faults().description_no_cycle = true;
  ASSERT_TRUE(api->description_load(desc, kOinstance));
  const GmContainer* p = api->description_get_parameter(desc, kInstanceMode, 15, 0);
  ASSERT_NE(p, nullptr);
  GmValue v{};
  EXPECT_FALSE(api->container_get(p, 14, &v));
  host.faults().description_load_fails = true;
  EXPECT_FALSE(api->description_load(desc, kOinstance));
  api->description_free(desc);
  host.faults().FailNext(Alloc::Description);
  EXPECT_EQ(api->description_alloc(), nullptr);
  host.faults().dialog_handle_missing = true;
  EXPECT_EQ(api->dialog_alloc(nullptr), nullptr);
}

}  // namespace standin_test
