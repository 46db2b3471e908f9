// The command registry: the menu order the application shows.
#include "standin/registry.h"
#include "standin_fixture.h"

namespace standin_test {

// The menu as the application shows it: "#$n" orders (lower first, the prefix not shown), names
// without a number come after, ties go by shown name, then by registration.
TEST(Registry, PrefixNumbersOrderTheMenuAndAreNotShown) {
  const char* names[] = {"plain b", "#$10ten", "#$9--", "#$2b", "plain a", "#$2a", "#$x", "#$2a"};
  std::vector<standin::CommandEntry> entries;
  for (const char* n : names) {
    standin::CommandEntry e;
    e.name = n;
    entries.push_back(e);
  }
  const std::vector<size_t> order = standin::MenuOrder(entries);
  EXPECT_EQ(order, (std::vector<size_t>{5, 7, 3, 2, 1, 6, 4, 0}));
  EXPECT_EQ(standin::PlaceInMenu("#$09--").shown, "--");
  EXPECT_EQ(standin::PlaceInMenu("#$09--").order, 9);
  EXPECT_FALSE(standin::PlaceInMenu("#$x").has_order);
  EXPECT_EQ(standin::PlaceInMenu("#$x").shown, "#$x");
}

}  // namespace standin_test
