#include "winamp/PlayerLocation.h"

#include <algorithm>
#include <cctype>

#include "winamp/Winamp_Access.h"

namespace chw::winamp {

namespace {

constexpr const char* kProgramFiles = "c:\\Program Files";
constexpr const char* kSubFolder = "\\Winamp";
constexpr const char* kProgramFile = "\\Winamp.exe";
constexpr const char* kAppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winamp.exe";
// How the missing-player box has always named the classic folder.
constexpr const char* kClassicFolderShown = "C:\\Program Files\\Winamp";

bool SameFolder(std::string a, std::string b) {
    auto norm = [](std::string& s) {
        while (!s.empty() && (s.back() == '\\' || s.back() == '/')) s.pop_back();
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    };
    norm(a);
    norm(b);
    return a == b;
}

// The 32-bit programs folder when it is another folder than the classic one.
std::optional<std::string> OtherProgramsFolder(IFileSystem& files) {
    const std::string x86 = files.ProgramFilesX86Folder();
    if (x86.empty() || SameFolder(x86, kProgramFiles)) return std::nullopt;
    return x86;
}

// A registered path may come quoted.
std::string Unquoted(std::string path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    return path;
}

}  // namespace

std::vector<std::string> PlayerFolders(IFileSystem& files) {
    std::vector<std::string> folders{kFolder};
    if (const auto x86 = OtherProgramsFolder(files)) folders.push_back(*x86 + kSubFolder);
    return folders;
}

std::optional<std::string> FindPlayer(IFileSystem& files, IRegistry& registry) {
    for (const std::string& folder : PlayerFolders(files))
        if (files.FileExists(folder + kProgramFile)) return folder + kProgramFile;
    for (Hive hive : {Hive::Machine, Hive::User}) {
        for (RegView view : {RegView::Bits64, RegView::Bits32}) {
            const std::optional<std::string> registered = registry.GetString(hive, kAppPathsKey, "", view);
            if (!registered) continue;
            const std::string file = Unquoted(*registered);
            if (!file.empty() && files.FileExists(file)) return file;
        }
    }
    return std::nullopt;
}

bool PlayerInstalled(IFileSystem& files, IRegistry& registry) {
    for (const std::string& folder : PlayerFolders(files))
        if (files.FolderExists(folder)) return true;
    return FindPlayer(files, registry).has_value();
}

std::string PlayerCommand(const std::string& file) { return '"' + file + '"'; }

std::string LooksInText(IFileSystem& files) {
    std::string text = std::string("'") + kClassicFolderShown + "'";
    if (const auto x86 = OtherProgramsFolder(files)) text += " or '" + *x86 + kSubFolder + "'";
    return text;
}

}  // namespace chw::winamp
