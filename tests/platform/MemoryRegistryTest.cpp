#include <gtest/gtest.h>

#include "platform/MemoryRegistry.h"

namespace veldra {
namespace {

using platform::RegistryRoot;
using platform::RegistryValue;
namespace regerror = platform::regerror;

TEST(MemoryRegistry, NamesMatchWithoutRegardToCaseAndKeepTheirSpelling) {
    platform::MemoryRegistry r;
    ASSERT_EQ(r.createKey(RegistryRoot::LocalMachine, "SOFTWARE\\Garmin\\MapSource\\Families\\Topo"), regerror::Success);
    r.setValue(RegistryRoot::LocalMachine, "software\\garmin\\mapsource\\families\\topo", "Bmap",
               RegistryValue::fromString("x"));
    EXPECT_TRUE(r.queryValue(RegistryRoot::LocalMachine, "SOFTWARE\\GARMIN\\MAPSOURCE\\FAMILIES\\TOPO", "BMAP"));
    EXPECT_EQ(r.subkeyNames(RegistryRoot::LocalMachine, "Software\\Garmin\\MapSource\\Families"),
              std::vector<std::string>{"Topo"});
    EXPECT_EQ(r.valueNames(RegistryRoot::LocalMachine, "Software\\Garmin\\MapSource\\Families\\Topo"),
              std::vector<std::string>{"Bmap"});
    EXPECT_FALSE(r.keyExists(RegistryRoot::CurrentUser, "SOFTWARE\\Garmin"));
}

TEST(MemoryRegistry, OnlyKeysWithoutSubkeysCanBeDeleted) {
    platform::MemoryRegistry r;
    r.createKey(RegistryRoot::LocalMachine, "A\\B");
    EXPECT_EQ(r.deleteKey(RegistryRoot::LocalMachine, "A"), regerror::KeyHasChildren);
    EXPECT_EQ(r.deleteKey(RegistryRoot::LocalMachine, "A\\B"), regerror::Success);
    EXPECT_EQ(r.deleteKey(RegistryRoot::LocalMachine, "A"), regerror::Success);
    EXPECT_EQ(r.deleteKey(RegistryRoot::LocalMachine, "A"), regerror::FileNotFound);
    EXPECT_EQ(r.setValue(RegistryRoot::LocalMachine, "A", "v", RegistryValue::fromDword(1)), regerror::FileNotFound);
}

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
