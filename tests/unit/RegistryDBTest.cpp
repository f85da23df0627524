// The registry store: reads that fail never look like a text, and the one rule for stored flags.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/FakePlatform.h"
#include "settings/RegistryDB.h"
#include "settings/SettingsSchema.h"

namespace chw {
namespace {

constexpr const char* kKey = "SOFTWARE\\TALLOWMERE\\CHWL\\";

TEST(Flags, OnlyAnExactYesPrefixCounts) {
    struct Case {
        std::optional<std::string> stored;
        bool yes;
    };
    const Case cases[] = {
        {"Yes", true},  {"Yesterday", true}, {"Yes ", true}, {"yes", false}, {"YES", false}, {"No", false},
        {"Ye", false},  {" Yes", false},     {"", false},    {std::nullopt, false},
    };
    for (const Case& c : cases) EXPECT_EQ(settings::IsYes(c.stored), c.yes) << c.stored.value_or("(failed read)");
}

TEST(RegistryDB, FailedReadIsDistinctFromEveryText) {
    fakes::FakeSystem sys;
    RegistryDB db(sys.registry);
    sys.registry.Put(kKey, "Empty", "");
    sys.registry.Put(kKey, "Word", "False");
    EXPECT_EQ(db.ReadValue(settings::kRoot, kKey, "Empty"), std::string());
    EXPECT_EQ(db.ReadValue(settings::kRoot, kKey, "Word"), std::string("False"));
    EXPECT_EQ(db.ReadValue(settings::kRoot, kKey, "Missing"), std::nullopt);
}

TEST(RegistryDB, WritesIntoTheKeyItCreated) {
    fakes::FakeSystem sys;
    RegistryDB db(sys.registry);
    ASSERT_TRUE(db.CreateKey(settings::kRoot, settings::kKeyNoSlash));
    EXPECT_TRUE(db.WriteValue(settings::kRoot, kKey, "StartInTray", "Yes"));
    EXPECT_EQ(db.ReadValue(settings::kRoot, settings::kKeyNoSlash, "StartInTray"), "Yes");
}

TEST(RegistryDB, ErrorBox) {
    fakes::FakeSystem sys;
    ShowRegistryError(sys.boxes);
    ASSERT_EQ(sys.boxes.shown.size(), 1u);
    EXPECT_EQ(sys.boxes.shown[0].title, "ERROR!");
    EXPECT_EQ(sys.boxes.shown[0].text, "There was an error writing to the registry!\r\nPlease restart your computer!");
    EXPECT_EQ(sys.boxes.shown[0].icon, MbIcon::Critical);
    EXPECT_EQ(sys.boxes.shown[0].buttons, MbButtons::Ok);
}

}  // namespace
}  // namespace chw
