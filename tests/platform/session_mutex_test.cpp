#include "platform/session_mutex.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Whoever makes the name first owns it; everyone after finds it owned, until the owner
// lets it go. Other names are not touched.
TEST(SessionMutex, TheFirstHolderOwnsTheNameUntilItLetsGo) {
  auto first = std::make_unique<platform::SessionMutex>(L"Korvane.Tests.OneHolder");
  EXPECT_TRUE(first->IsFirst());
  {
    const platform::SessionMutex second(L"Korvane.Tests.OneHolder");
    EXPECT_FALSE(second.IsFirst());
    const platform::SessionMutex other(L"Korvane.Tests.AnotherName");
    EXPECT_TRUE(other.IsFirst());
  }
  EXPECT_FALSE(platform::SessionMutex(L"Korvane.Tests.OneHolder").IsFirst())
      << "a later holder that gave up takes nothing from the first";
  first.reset();
  EXPECT_TRUE(platform::SessionMutex(L"Korvane.Tests.OneHolder").IsFirst());
}

}  // namespace
