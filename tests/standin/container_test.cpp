// Containers: order, replacement in place, sub-containers copied deep, allocation faults.
#include "standin_fixture.h"

namespace standin_test {

using Container = HostTest;

TEST_F(Container, KeepsOrderReplacesInPlaceAndCopiesDeep) {
  GmContainer* bc = api->container_alloc();
  ASSERT_NE(bc, nullptr);
  EXPECT_EQ(*reinterpret_cast<GmContainer**>(bc), bc);  // first word = the handle

  const GmValue one = Long(1), two = Long(2), text = Str("text"), link = Link(42);
  api->container_set(bc, 10, &one);
  api->container_set(bc, 5, &text);
  api->container_set(bc, 7, &link);
  api->container_set(bc, 10, &two);  // replaces in place
  ASSERT_EQ(api->container_count(bc), 3);
  int32_t id = 0;
  GmValue v{};
  ASSERT_TRUE(api->container_get_index(bc, 0, &id, &v));
  EXPECT_EQ(id, 10);
  EXPECT_EQ(v.i32, 2);
  ASSERT_TRUE(api->container_get(bc, 5, &v));
  EXPECT_EQ(std::string(v.str, v.str_len), "text");
  EXPECT_FALSE(api->container_get(bc, 6, &v));

  // A sub-container is copied when set; the instance belongs to the holder.
  GmContainer* sub = api->container_alloc();
  api->container_set(sub, 1, &one);
  const GmValue subv = Sub(sub);
  api->container_set(bc, 99, &subv);
  api->container_set(sub, 2, &two);
  GmContainer* held = api->container_get_container_instance(bc, 99);
  ASSERT_NE(held, nullptr);
  EXPECT_NE(held, sub);
  EXPECT_EQ(api->container_count(held), 1);
  EXPECT_EQ(*reinterpret_cast<GmContainer**>(held), held);
  EXPECT_EQ(api->container_get_container_instance(bc, 10), nullptr);

  GmContainer* copy = api->container_alloc();
  api->container_copy(copy, bc);
  GmContainer* copied_sub = api->container_get_container_instance(copy, 99);
  ASSERT_NE(copied_sub, nullptr);
  EXPECT_NE(copied_sub, held);
  api->container_set(held, 3, &one);
  EXPECT_EQ(api->container_count(copied_sub), 1);

  EXPECT_TRUE(api->container_remove(bc, 5));
  EXPECT_FALSE(api->container_remove(bc, 5));
  EXPECT_EQ(api->container_count(bc), 3);

  host.faults().FailNext(Alloc::Container);
  EXPECT_EQ(api->container_alloc(), nullptr);
  GmContainer* after_fault = api->container_alloc();
  EXPECT_NE(after_fault, nullptr);
  for (GmContainer* c : {bc, sub, copy, after_fault}) api->container_free(c);
}

}  // namespace standin_test
