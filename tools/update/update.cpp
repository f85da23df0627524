// Chimewell's updater: finds a newer Chimewell setup program on this computer and offers to run it.
// It looks beside itself and in the user's Downloads folder; it never goes on the network.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SetupVersion.h"

namespace {

using chw::update::FileVersion;

constexpr const wchar_t* kTitle = L"Chimewell Update";

struct FindCloser {
    void operator()(HANDLE h) const noexcept { FindClose(h); }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

struct CoTaskFree {
    void operator()(wchar_t* p) const noexcept { CoTaskMemFree(p); }
};

std::wstring OwnFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::optional<std::wstring> DownloadsFolder() {
    wchar_t* raw = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &raw))) {
        CoTaskMemFree(raw);
        return std::nullopt;
    }
    std::unique_ptr<wchar_t, CoTaskFree> owned(raw);
    return std::wstring(owned.get());
}

// The fixed file version of an executable's version resource, when it has one.
std::optional<FileVersion> ResourceVersion(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
        len < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const FileVersion v{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                        HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
    if (v == FileVersion{}) return std::nullopt;
    return v;
}

struct Setup {
    std::wstring path;
    FileVersion version;
};

// Setup programs in one folder; a version resource wins over a version in the name.
void CollectSetups(const std::wstring& folder, std::vector<Setup>& found) {
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = folder + L"\\" + chw::update::kSetupPrefix + L"*.exe";
    FindHandle find(FindFirstFileW(pattern.c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) {
        find.release();
        return;
    }
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring path = folder + L"\\" + data.cFileName;
        std::optional<FileVersion> v = ResourceVersion(path);
        if (!v) v = chw::update::VersionFromSetupName(data.cFileName);
        if (v) found.push_back({path, *v});
    } while (FindNextFileW(find.get(), &data));
}

int Run() {
    const std::wstring own = OwnFolder();
    const std::optional<FileVersion> installed = ResourceVersion(own + L"\\CHWLU.EXE");
    const std::optional<std::wstring> downloads = DownloadsFolder();

    std::vector<Setup> setups;
    CollectSetups(own, setups);
    if (downloads) CollectSetups(*downloads, setups);

    const Setup* newest = nullptr;
    for (const Setup& s : setups)
        if (!newest || s.version > newest->version) newest = &s;

    const std::wstring installedText =
        installed ? chw::update::VersionText(*installed) : std::wstring(L"unknown (CHWLU.EXE not found here)");

    if (!newest || (installed && newest->version <= *installed)) {
        std::wstring text = L"No newer version of Chimewell was found.\r\n\r\nInstalled version: " + installedText +
                            L"\r\n\r\nLooked for chimewell-setup*.exe in:\r\n" + own;
        if (downloads) text += L"\r\n" + *downloads;
        text += L"\r\n\r\nThis updater does not use the Internet. Put a newer setup program in one of these "
                L"folders and check again.";
        MessageBoxW(nullptr, text.c_str(), kTitle, MB_OK | MB_ICONINFORMATION);
        return 0;
    }

    const std::wstring question = L"A newer version of Chimewell was found:\r\n\r\n" + newest->path +
                                  L"\r\nVersion " + chw::update::VersionText(newest->version) +
                                  L" (installed: " + installedText +
                                  L")\r\n\r\nRun this setup program now? Exit Chimewell first, so that it can be "
                                  L"replaced.";
    if (MessageBoxW(nullptr, question.c_str(), kTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;

    const std::size_t slash = newest->path.find_last_of(L'\\');
    const std::wstring folder = newest->path.substr(0, slash);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", newest->path.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
    if (result <= 32) {
        const std::wstring text = L"The setup program could not be started:\r\n" + newest->path;
        MessageBoxW(nullptr, text.c_str(), kTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return Run();
    } catch (...) {
        MessageBoxW(nullptr, L"The updater met an unexpected error and stopped.", kTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
}
