// The host itself: its activity log of events, messages and thread stops; the current host.
#include <memory>

#include "standin_fixture.h"

namespace standin_test {

using HostActivity = HostTest;

TEST_F(HostActivity, EventsMessagesAndThreadStops) {
  api->event_add(0);
  api->event_add(0);
  api->stop_all_threads();
  api->message_dialog("hello", 5);
  EXPECT_EQ(host.activity().event_adds, 2);
  EXPECT_EQ(host.activity().stop_all_threads, 1);
  EXPECT_EQ(host.activity().messages, (std::vector<std::string>{"hello"}));
  EXPECT_FALSE(api->call_command(99999, 0));
}

TEST(HostLifetime, HostsMayEndInAnyOrder) {
  // The newest host alive is the current one, whichever ended before it.
  auto a = std::make_unique<standin::Host>(standin::HostOptions{});
  auto b = std::make_unique<standin::Host>(standin::HostOptions{});
  auto c = std::make_unique<standin::Host>(standin::HostOptions{});
  b.reset();
  EXPECT_EQ(standin::Host::Current(), c.get());
  c.reset();
  EXPECT_EQ(standin::Host::Current(), a.get());
  b = std::make_unique<standin::Host>(standin::HostOptions{});
  a.reset();
  EXPECT_EQ(standin::Host::Current(), b.get());
  b.reset();
  EXPECT_EQ(standin::Host::Current(), nullptr);
}

}  // namespace standin_test
