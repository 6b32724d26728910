#include <gtest/gtest.h>

#include "platform/MemoryRegistry.h"

namespace veldra {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
namespace regerror = platform::regerror;

TEST(MemoryRegistry, DeniedKeysRefuseChangesButCanBeRead) {
    platform::MemoryRegistry r;
    r.createKey(RegistryRoot::LocalMachine, "SOFTWARE\\Garmin\\X");
    r.setValue(RegistryRoot::LocalMachine, "SOFTWARE\\Garmin\\X", "v", RegistryValue::fromDword(7));
    r.denyWriteAccess(RegistryRoot::LocalMachine, "software\\garmin");
    EXPECT_FALSE(r.canOpenForWriting(RegistryRoot::LocalMachine, "SOFTWARE\\Garmin\\X"));
    EXPECT_TRUE(r.canOpenForWriting(RegistryRoot::LocalMachine, "SOFTWARE"));
    EXPECT_EQ(r.deleteValue(RegistryRoot::LocalMachine, "SOFTWARE\\Garmin\\X", "v"), regerror::AccessDenied);
    EXPECT_EQ(r.createKey(RegistryRoot::LocalMachine, "SOFTWARE\\Garmin\\Y"), regerror::AccessDenied);
    EXPECT_EQ(r.queryValue(RegistryRoot::LocalMachine, "SOFTWARE\\Garmin\\X", "v")->data.size(), 4u);
}

}  // namespace
}  // namespace veldra
