// The projection latitude of one map product: where it is stored, which
// numbers are taken, and leaving it to the host program.

#include "tools/ProjectionLatitude.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/FakeHost.h"

namespace veldra {
namespace {

using platform::RegistryRoot;
using tools::MapProduct;

constexpr MapProduct Alpha{4711, 1};
const std::string AlphaKey = "Software\\Garmin\\SharedSettings\\Products\\308740097";

TEST(ProductCodeTest, FidTimes65536PlusPid) {
    EXPECT_EQ(tools::productCode({1234, 1}), 80871425u);
    EXPECT_EQ(tools::projectionKey({1234, 1}), "Software\\Garmin\\SharedSettings\\Products\\80871425");
    EXPECT_EQ(tools::projectionKey(Alpha), AlphaKey);
    EXPECT_EQ(tools::productCode({65535, 65535}), 4294967295u);
    EXPECT_EQ(tools::productCode({0, 3}), 3u);
}

TEST(ProductCodeTest, TypedIdentifiersMustBeNumbers) {
    const auto product = tools::productFromTexts("4711", "1");
    ASSERT_TRUE(product.ok());
    EXPECT_EQ(std::tie(product->fid, product->pid), std::make_tuple(4711, 1));
    EXPECT_TRUE(tools::productFromTexts("0", "2").ok());

    const auto failureOf = [](std::string_view fid, std::string_view pid) {
        const auto result = tools::productFromTexts(fid, pid);
        return result ? std::optional<Msg>() : result.failure().message;
    };
    for (const char* pid : {"", "0", "65536", "1a"}) EXPECT_EQ(failureOf("4711", pid), Msg::MsgWrongPid) << pid;
    for (const char* fid : {"", "-5", "65536"}) EXPECT_EQ(failureOf(fid, "1"), Msg::MsgWrongFid) << fid;
    EXPECT_EQ(failureOf("", ""), Msg::MsgWrongPid);  // the PID is looked at first, as the window does
}

TEST(LatitudeTextTest, DecimalNumbersOnly) {
    for (const auto& [text, value] : {std::pair{"47", 47.0}, {" 47 ", 47.0}, {"+47", 47.0}, {"47,5", 47.5},
                                      {"47.5", 47.5}, {"-5", -5.0}})
        EXPECT_EQ(tools::parseLatitude(text), value) << text;
    for (const char* text : {"", "  ", "abc", "47°", "4 7", "1e2", "inf", "nan", "-", "+-4", "47.5.1"})
        EXPECT_FALSE(tools::parseLatitude(text)) << text;
}

class ProjectionLatitudeTest : public ::testing::Test {
protected:
    std::optional<platform::RegistryValue> stored() const {
        return fake.registry.queryValue(RegistryRoot::CurrentUser, AlphaKey, "ProjectionAngle");
    }
    testing::FakeHost fake;
};

TEST_F(ProjectionLatitudeTest, StoresAWholeDegreeAsDword) {
    EXPECT_EQ(tools::shownLatitude(fake.session, Alpha), "there are no settings for this map");
    ASSERT_TRUE(tools::storeLatitude(fake.session, Alpha, 47).ok());
    EXPECT_EQ(stored(), platform::RegistryValue::fromDword(47));
    EXPECT_EQ(tools::storedLatitude(fake.registry, Alpha), 47u);
    EXPECT_EQ(tools::shownLatitude(fake.session, Alpha), "47°");
    // Another PID is another product.
    EXPECT_EQ(tools::storedLatitude(fake.registry, {4711, 2}), std::nullopt);

    ASSERT_TRUE(tools::setLatitudeFromText(fake.session, Alpha, "52,6").ok());
    EXPECT_EQ(tools::shownLatitude(fake.session, Alpha), "53°");
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(ProjectionLatitudeTest, OnlyFiveToEightyFiveAreTaken) {
    for (const double latitude : {5.0, 85.0}) {
        ASSERT_TRUE(tools::storeLatitude(fake.session, Alpha, latitude).ok()) << latitude;
        EXPECT_EQ(tools::storedLatitude(fake.registry, Alpha), static_cast<std::uint32_t>(latitude));
    }
    for (const double latitude : {4.0, 86.0, 4.9, 85.1, -47.0, 0.0}) {
        const auto refused = tools::storeLatitude(fake.session, Alpha, latitude);
        ASSERT_FALSE(refused.ok()) << latitude;
        EXPECT_EQ(refused.failure().message, Msg::MsgLatitudeOutOfRange);
        EXPECT_EQ(tools::storedLatitude(fake.registry, Alpha), 85u);
    }
    fake.session.catalog.fill("Deu");
    EXPECT_EQ(fake.session.msg(Msg::MsgLatitudeOutOfRange), "Es sind nur Werte von 5 bis 85 Grad möglich.");
}

TEST_F(ProjectionLatitudeTest, AutomaticRemovesValueAndKey) {
    ASSERT_TRUE(tools::storeLatitude(fake.session, Alpha, 60).ok());
    fake.dialogs.answer({app::MessageAnswer::No});
    const auto kept = tools::setLatitudeFromText(fake.session, Alpha, "");
    ASSERT_FALSE(kept.ok());
    EXPECT_EQ(kept.failure().kind, FailureKind::Declined);
    EXPECT_EQ(fake.dialogs.texts().back(),
              "you have not typed in a value. Shall latitude be determined automatically ?");
    EXPECT_EQ(tools::storedLatitude(fake.registry, Alpha), 60u);

    fake.dialogs.answer({app::MessageAnswer::Yes});
    ASSERT_TRUE(tools::setLatitudeFromText(fake.session, Alpha, "automatisch").ok());
    EXPECT_FALSE(fake.registry.keyExists(RegistryRoot::CurrentUser, AlphaKey));
    EXPECT_TRUE(fake.registry.keyExists(RegistryRoot::CurrentUser, "Software\\Garmin\\SharedSettings\\Products"));
    EXPECT_EQ(tools::shownLatitude(fake.session, Alpha), "there are no settings for this map");
}

TEST_F(ProjectionLatitudeTest, AutomaticKeepsAKeyWithSubkeysAndCreatesNothing) {
    // No key: nothing is made, not even the parents.
    ASSERT_TRUE(tools::removeLatitude(fake.session, Alpha).ok());
    EXPECT_FALSE(fake.registry.keyExists(RegistryRoot::CurrentUser, "Software\\Garmin"));

    ASSERT_TRUE(tools::storeLatitude(fake.session, Alpha, 30).ok());
    ASSERT_EQ(fake.registry.createKey(RegistryRoot::CurrentUser, AlphaKey + "\\Layers"), platform::regerror::Success);
    ASSERT_TRUE(tools::removeLatitude(fake.session, Alpha).ok());
    EXPECT_FALSE(stored());
    EXPECT_TRUE(fake.registry.keyExists(RegistryRoot::CurrentUser, AlphaKey + "\\Layers"));
}

TEST_F(ProjectionLatitudeTest, RefusedOrFailedWritesLeaveTheOldValue) {
    ASSERT_TRUE(tools::storeLatitude(fake.session, Alpha, 40).ok());
    fake.registry.failNextCommit();
    EXPECT_FALSE(tools::storeLatitude(fake.session, Alpha, 50).ok());
    EXPECT_EQ(tools::storedLatitude(fake.registry, Alpha), 40u);

    fake.registry.denyWriteAccess(RegistryRoot::CurrentUser, AlphaKey);
    EXPECT_FALSE(tools::storeLatitude(fake.session, Alpha, 50).ok());
    EXPECT_EQ(tools::storedLatitude(fake.registry, Alpha), 40u);
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(ProjectionLatitudeTest, AValueThatDoesNotStickIsTold) {
    fake.registry.dropWritesUnder(RegistryRoot::CurrentUser, "Software\\Garmin");
    const auto stored = tools::storeLatitude(fake.session, Alpha, 50);
    ASSERT_FALSE(stored.ok());
    EXPECT_EQ(stored.failure().kind, FailureKind::AlreadyShown);
    EXPECT_EQ(fake.dialogs.texts(), std::vector<std::string>{fake.session.msg(Msg::MsgRegistryWriteFailed)});
    EXPECT_FALSE(fake.session.routines.registryWritable());
}

}  // namespace
}  // namespace veldra
