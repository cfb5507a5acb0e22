// The registry of data modules: registered once, in order, gone when destroyed.
#include "platform/report/DataModules.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(DataModules, RegisteredOnceAndGoneWhenDestroyed)
{
    const qsizetype before = qx::dataModules().size();
    auto first = std::make_unique<QObject>();
    auto second = std::make_unique<QObject>();
    qx::registerDataModule(first.get());
    qx::registerDataModule(second.get());
    qx::registerDataModule(first.get());
    QList<QObject*> modules = qx::dataModules();
    ASSERT_EQ(modules.size(), before + 2);
    EXPECT_EQ(modules[before], first.get());
    EXPECT_EQ(modules[before + 1], second.get());
    first.reset();
    modules = qx::dataModules();
    ASSERT_EQ(modules.size(), before + 1);
    EXPECT_EQ(modules.back(), second.get());
    qx::unregisterDataModule(second.get());
    EXPECT_EQ(qx::dataModules().size(), before);
}

} // namespace
