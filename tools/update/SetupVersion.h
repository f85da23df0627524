// Versions of Chimewell setup programs: read from a file name and compared. No Windows headers, so the
// rules can be checked natively.
#pragma once

#include <array>
#include <cwctype>
#include <optional>
#include <string>

namespace chw::update {

// major, minor, build, revision
using FileVersion = std::array<unsigned, 4>;

inline constexpr const wchar_t* kSetupPrefix = L"chimewell-setup";

// "chimewell-setup-1.2.exe", "Chimewell-Setup_v1.2.3.exe", "chimewell-setup 2.0.1.7.exe" -> the version;
// nothing when the name carries none.
inline std::optional<FileVersion> VersionFromSetupName(const std::wstring& fileName) {
    std::wstring name;
    for (wchar_t c : fileName) name += static_cast<wchar_t>(std::towlower(c));
    const std::wstring prefix = kSetupPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    std::size_t i = prefix.size();
    while (i < name.size() && (name[i] == L'-' || name[i] == L'_' || name[i] == L' ')) ++i;
    if (i < name.size() && name[i] == L'v') ++i;

    FileVersion v{};
    std::size_t part = 0;
    bool digits = false;
    for (; i < name.size(); ++i) {
        const wchar_t c = name[i];
        if (c >= L'0' && c <= L'9') {
            if (v[part] > 99999) return std::nullopt;
            v[part] = v[part] * 10 + static_cast<unsigned>(c - L'0');
            digits = true;
        } else if (c == L'.' && digits && part < 3 && i + 1 < name.size() && name[i + 1] >= L'0' &&
                   name[i + 1] <= L'9') {
            ++part;
            digits = false;
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    return v;
}

inline std::wstring VersionText(const FileVersion& v) {
    std::wstring text = std::to_wstring(v[0]) + L"." + std::to_wstring(v[1]) + L"." + std::to_wstring(v[2]);
    if (v[3] != 0) text += L"." + std::to_wstring(v[3]);
    return text;
}

}  // namespace chw::update
