// The updater's reading of setup file names: which ones count, and which version they carry.
#include <gtest/gtest.h>

#include <cwchar>
#include <optional>

#include "../../tools/update/SetupVersion.h"

namespace chw::update {
namespace {

TEST(HelpUpdater, ReadsTheVersionFromASetupName) {
    const struct {
        const wchar_t* name;
        std::optional<FileVersion> version;
    } cases[] = {
        {L"chimewell-setup-1.2.exe", FileVersion{1, 2, 0, 0}},
        {L"Chimewell-Setup_v1.10.3.exe", FileVersion{1, 10, 3, 0}},
        {L"chimewell-setup 2.0.1.7.exe", FileVersion{2, 0, 1, 7}},
        {L"chimewell-setup-1.2.3.4.5.exe", FileVersion{1, 2, 3, 4}},
        {L"chimewell-setup.exe", std::nullopt},
        {L"other-setup-9.9.exe", std::nullopt},
        {L"chimewell-setup-99999999999.exe", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
        EXPECT_EQ(VersionFromSetupName(c.name), c.version);
    }
}

}  // namespace
}  // namespace chw::update
