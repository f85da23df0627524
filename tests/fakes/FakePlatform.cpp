#include "fakes/FakePlatform.h"

#include <algorithm>
#include <cctype>

#include "winamp/Winamp_Access.h"

namespace chw::fakes {

namespace {
std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

// ---- FakeWindowSystem ----

WindowHandle FakeWindowSystem::Add(const std::string& windowClass, const std::string& title) {
    WindowHandle h = next_;
    next_ += 0x10;
    FakeWindow w;
    w.windowClass = windowClass;
    w.title = title;
    windows[h] = w;
    zOrder.push_back(h);
    return h;
}

void FakeWindowSystem::Remove(WindowHandle window) {
    windows.erase(window);
    players.erase(window);
    zOrder.erase(std::remove(zOrder.begin(), zOrder.end(), window), zOrder.end());
}

FakePlayer& FakeWindowSystem::AddPlayer(int status) {
    WindowHandle h = Add(winamp::kClass, "Winamp");
    FakePlayer& p = players[h];
    p.handle = h;
    p.status = status;
    windows[h].onSend = [this, h](unsigned msg, std::uintptr_t w, std::intptr_t l) -> std::intptr_t {
        FakePlayer& pl = players[h];
        if (msg == winamp::kWM_USER && l == winamp::kIpcIsPlaying) return pl.status;
        if (msg == winamp::kWM_USER && l == winamp::kIpcPlaylistLength) return pl.playlistLength;
        if (msg == winamp::kWM_USER && l == winamp::kIpcSetVolume) {
            pl.volume = static_cast<int>(w);
            return 0;
        }
        if (msg == winamp::kWM_COMMAND && w == winamp::kCmdClose) {
            if (!pl.refuseClose) Remove(h);
            return 0;
        }
        if (msg == winamp::kWM_COMMAND && w == winamp::kCmdPause) {
            if (pl.status == 1 || pl.status == 3) pl.status = 4 - pl.status;
            return 0;
        }
        if (msg == winamp::kWM_COMMAND && w == winamp::kCmdPlay) {
            if (!pl.ignorePlay) pl.status = 1;
            ++pl.playPresses;
        }
        return 0;
    };
    return p;
}

long FakeWindowSystem::PlayCommands() const {
    return std::count_if(messages.begin(), messages.end(), [](const SentMessage& m) {
        return m.message == winamp::kWM_COMMAND && m.wParam == winamp::kCmdPlay;
    });
}

std::vector<SentMessage> FakeWindowSystem::MessagesTo(WindowHandle window) const {
    std::vector<SentMessage> out;
    for (const auto& m : messages)
        if (m.to == window) out.push_back(m);
    return out;
}

WindowHandle FakeWindowSystem::Find(const std::string& windowClass, const std::optional<std::string>& title) {
    for (WindowHandle h : zOrder) {
        const FakeWindow& w = windows.at(h);
        if (Lower(w.windowClass) == Lower(windowClass) && (!title || w.title == *title)) return h;
    }
    return 0;
}

std::optional<std::intptr_t> FakeWindowSystem::SendMsg(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                                       std::intptr_t lParam, int timeoutMs) {
    messages.push_back({window, message, wParam, lParam, false});
    auto it = windows.find(window);
    if (it == windows.end()) return std::nullopt;
    if (it->second.hung) {
        if (scheduler) scheduler->Advance(timeoutMs);
        return std::nullopt;
    }
    if (!it->second.onSend) return 0;
    auto handler = it->second.onSend;  // the handler may remove the window
    return handler(message, wParam, lParam);
}

bool FakeWindowSystem::PostMsg(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    messages.push_back({window, message, wParam, lParam, true});
    auto it = windows.find(window);
    if (it == windows.end() || !it->second.acceptPosts) return false;
    if (postFailuresLeft != 0) {
        if (postFailuresLeft > 0) --postFailuresLeft;
        return false;
    }
    if (it->second.onSend && !it->second.hung) {
        auto handler = it->second.onSend;
        handler(message, wParam, lParam);
    }
    return true;
}

void FakeWindowSystem::Show(WindowHandle window, ShowCommand command) {
    shows.emplace_back(window, command);
    if (command == ShowCommand::Minimize) minimizeCalls.push_back(window);
    auto it = windows.find(window);
    if (it == windows.end()) return;
    it->second.visible = command != ShowCommand::Hide;
    if (command == ShowCommand::Minimize) it->second.minimized = true;
    if (command == ShowCommand::Restore || command == ShowCommand::Normal || command == ShowCommand::ShowDefault)
        it->second.minimized = false;
}


bool FakeWindowSystem::IsMinimized(WindowHandle window) {
    auto it = windows.find(window);
    return it != windows.end() && it->second.minimized;
}

void FakeWindowSystem::BringToFront(WindowHandle window) { broughtToFront.push_back(window); }

WindowHandle FakeWindowSystem::MainWindowOf(WindowHandle applicationWindow) {
    auto it = windows.find(applicationWindow);
    return it == windows.end() ? 0 : it->second.mainWindow;
}

bool FakeWindowSystem::GreySystemMenuItem(WindowHandle window, int position, const std::string& caption) {
    auto it = windows.find(window);
    if (it == windows.end()) return false;
    it->second.greyedSystemMenu[position] = caption;
    return true;
}

// ---- FakeRegistry ----

std::string FakeRegistry::Norm(const std::string& s) {
    std::string n = Lower(s);
    while (!n.empty() && n.back() == '\\') n.pop_back();
    return n;
}

bool FakeRegistry::HasKey(const std::string& key) const { return keys_.count(Norm(key)) != 0; }

std::optional<std::string> FakeRegistry::Value(const std::string& key, const std::string& name) const {
    auto k = keys_.find(Norm(key));
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.find(Lower(name));
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

void FakeRegistry::Put(const std::string& key, const std::string& name, const std::string& data) {
    keys_[Norm(key)][Lower(name)] = data;
}

void FakeRegistry::Delete(const std::string& key, const std::string& name) {
    auto k = keys_.find(Norm(key));
    if (k != keys_.end()) k->second.erase(Lower(name));
}

std::vector<std::string> FakeRegistry::Writes() const {
    std::vector<std::string> out;
    for (const auto& line : log) {
        if (line.rfind("write ", 0) != 0 || line.find(" FAILED") != std::string::npos) continue;
        const std::string hive = line.rfind("write HKCU\\", 0) == 0 ? "HKCU " : "";
        out.push_back(hive + line.substr(line.find('|') + 1));
    }
    return out;
}

std::string FakeRegistry::Rooted(Hive root, const std::string& path) {
    return root == Hive::User ? "HKCU\\" + path : path;
}

bool FakeRegistry::CreateKey(Hive root, const std::string& keyPath) {
    const std::string path = Rooted(root, keyPath);
    if (fail && fail("create", path, "")) {
        log.push_back("create " + path + " FAILED");
        return false;
    }
    log.push_back("create " + path);
    keys_[Norm(path)];
    return true;
}

bool FakeRegistry::SetString(Hive root, const std::string& keyPath, const std::string& name,
                             const std::string& data) {
    const std::string path = Rooted(root, keyPath);
    std::string entry = "write " + path + "|" + name + "=" + data;
    if ((fail && fail("write", path, name)) || !HasKey(path)) {
        log.push_back(entry + " FAILED");
        return false;
    }
    log.push_back(entry);
    Put(path, name, data);
    return true;
}

std::optional<std::string> FakeRegistry::GetString(Hive root, const std::string& keyPath, const std::string& name,
                                                   RegView view) {
    const std::string software = "software\\";
    if (view == RegView::Bits32 && Lower(keyPath).rfind(software, 0) == 0)
        return GetString(root, keyPath.substr(0, software.size()) + "WOW6432Node\\" + keyPath.substr(software.size()),
                         name);
    const std::string path = Rooted(root, keyPath);
    std::string entry = "read " + path + "|" + name;
    if (fail && fail("read", path, name)) {
        log.push_back(entry + " FAILED");
        return std::nullopt;
    }
    auto v = Value(path, name);
    log.push_back(v ? entry : entry + " FAILED");
    return v;
}

std::optional<std::vector<std::uint8_t>> FakeRegistry::GetBinary(Hive root, const std::string& keyPath,
                                                                 const std::string& name) {
    const std::optional<std::string> data = GetString(root, keyPath, name);
    if (!data) return std::nullopt;
    return std::vector<std::uint8_t>(data->begin(), data->end());
}

// ---- FakeFileSystem ----

void FakeFileSystem::AddFolder(const std::string& path) { folders.insert(Lower(path)); }
void FakeFileSystem::AddFile(const std::string& path) { files.insert(Lower(path)); }
void FakeFileSystem::RemoveFile(const std::string& path) { files.erase(Lower(path)); }
bool FakeFileSystem::FolderExists(const std::string& path) { return folders.count(Lower(path)) != 0; }
bool FakeFileSystem::FileExists(const std::string& path) { return files.count(Lower(path)) != 0; }

// ---- FakeProcessLauncher ----

LaunchResult FakeProcessLauncher::Launch(const std::string& commandLine, WindowStyle style) {
    launches.push_back({commandLine, style});
    if (onLaunch) return onLaunch(commandLine, style);
    return {nextTask_++, LaunchError::None};
}

// ---- FakeMessageBoxes ----

MbAnswer FakeMessageBoxes::Show(const std::string& text, const std::string& title, MbIcon icon, MbButtons buttons) {
    shown.push_back({text, title, icon, buttons});
    if (onShow) onShow(shown.back());
    if (!answers.empty()) {
        MbAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
        case MbButtons::Ok: return MbAnswer::Ok;
        case MbButtons::OkCancel: return MbAnswer::Cancel;
        case MbButtons::YesNo: return MbAnswer::No;
    }
    return MbAnswer::Ok;
}

std::vector<std::string> FakeMessageBoxes::Titles() const {
    std::vector<std::string> out;
    for (const auto& b : shown) out.push_back(b.title);
    return out;
}

// ---- FakeRuntime ----

void FakeRuntime::Pause(int milliseconds) {
    pauses.push_back(milliseconds);
    if (onPause) onPause(milliseconds);
    scheduler_.Advance(milliseconds);
}

void FakeRuntime::DoEvents() {
    if (onDoEvents) onDoEvents();
    scheduler_.DoEvents();
}

void FakeRuntime::EndProgram() {
    ended = true;
    ++endCalls;
}

}  // namespace chw::fakes
