#include "common/ScopeExit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace vh {
namespace {

TEST(ScopeExit, CleansUpOnEveryWayOutAndKeepsTheFirstFailure) {
    int cleaned = 0;
    {
        const ScopeExit guard([&] { ++cleaned; });
    }
    EXPECT_EQ(cleaned, 1);

    EXPECT_THROW(
        {
            const ScopeExit guard([&] { ++cleaned; });
            throw std::runtime_error("work");
        },
        std::runtime_error);
    EXPECT_EQ(cleaned, 2);

    {
        ScopeExit guard([&] { ++cleaned; });
        guard.Dismiss();
    }
    EXPECT_EQ(cleaned, 2);

    // A failing clean-up raises on the ordinary way out ...
    EXPECT_THROW({ const ScopeExit guard([] { throw std::logic_error("clean-up"); }); }, std::logic_error);
    // ... and gives way to the work's own failure.
    try {
        const ScopeExit guard([] { throw std::logic_error("clean-up"); });
        throw std::runtime_error("work");
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "work");
    }
}

}  // namespace
}  // namespace vh
