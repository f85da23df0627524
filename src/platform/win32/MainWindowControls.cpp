// The main window's controls and menu items, read and written by their names.
#include "MainWindow.h"

#include <commctrl.h>

#include "MainWindowParts.h"
#include "ViewRules.h"
#include "app/MenuTexts.h"

namespace chw::win32 {

using namespace mainwindow;

// ---- Controls and menu items by name ----

// The controls live as long as the window: each is looked up once, not on every tick.
HWND MainWindow::Item(int id) const {
    if (!hwnd()) return nullptr;
    if (auto it = items_.find(id); it != items_.end()) return it->second;
    HWND h = ::GetDlgItem(hwnd(), id);
    if (h) items_.emplace(id, h);
    return h;
}

HWND MainWindow::Control(MainCtl control) const {
    if (!hwnd()) return nullptr;
    if (control == MainCtl::Form) return hwnd();
    if (control == MainCtl::StatusBar1Panel2) return Item(IDC_STATUSBAR1);
    int id = ControlId(control);
    return id ? Item(id) : nullptr;
}

// Where a menu item lives: the menu bar (its pop-ups by position, items by command), the tray's pop-up
// menu, or nowhere (the items that are never shown).
HMENU MainWindow::MenuHolding(MainCtl control, UINT& item, UINT& byFlag) const {
    if (control == MainCtl::mnuSettings || control == MainCtl::mnuHelp) {
        item = control == MainCtl::mnuSettings ? kSettingsPosition : kHelpPosition;
        byFlag = MF_BYPOSITION;
        return hwnd() ? ::GetMenu(hwnd()) : nullptr;
    }
    if (control == MainCtl::mnuRepeat) {
        item = kRepeatPosition;
        byFlag = MF_BYPOSITION;
        return hwnd() ? ::GetSubMenu(::GetMenu(hwnd()), kSettingsPosition) : nullptr;
    }
    if (hidden_.count(control)) return nullptr;
    const CommandDef* command = CommandByControl(control);
    if (!command) return nullptr;
    item = static_cast<UINT>(command->id);
    byFlag = MF_BYCOMMAND;
    return InTrayMenu(command->id) ? trayMenu_.get() : (hwnd() ? ::GetMenu(hwnd()) : nullptr);
}

std::string MainWindow::Caption(MainCtl control) const {
    if (auto it = hidden_.find(control); it != hidden_.end()) return it->second.caption;
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) return Utf8(CaptionPart(MenuText(menu, item, by)));
    HWND h = Control(control);
    if (!h || control == MainCtl::MonthView) return {};
    if (control == MainCtl::StatusBar1Panel2 && secondText_.empty()) return {};
    if (int part = StatusPart(control); part >= 0) {
        LRESULT info = ::SendMessageW(h, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
        std::wstring text(LOWORD(info) + 1u, L'\0');
        ::SendMessageW(h, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
        text.resize(LOWORD(info));
        return Utf8(text);
    }
    return Utf8(WindowTextW(h));
}

// A visible menu bar shows a change at once; a hidden window draws its bar when it shows.
void MainWindow::RedrawMenuBar(HMENU changed) const {
    if (changed != trayMenu_.get() && ::IsWindowVisible(hwnd())) ::DrawMenuBar(hwnd());
}

void MainWindow::SetCaption(MainCtl control, const std::string& text) {
    if (auto it = hidden_.find(control); it != hidden_.end()) {
        it->second.caption = text;
        return;
    }
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        // Keep the shortcut shown beside the caption.
        std::wstring full = Wide(text) + ShortcutPart(MenuText(menu, item, by));
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = full.data();
        ::SetMenuItemInfoW(menu, item, by == MF_BYPOSITION, &info);
        RedrawMenuBar(menu);
        return;
    }
    HWND h = Control(control);
    if (!h || control == MainCtl::MonthView) return;
    std::wstring wide = Wide(text);
    if (control == MainCtl::StatusBar1Panel2 && secondText_ != wide) {
        secondText_ = wide;
        SetStatusParts();
    }
    if (int part = StatusPart(control); part >= 0) {
        const bool changed = part == 0 && Caption(control) != text;
        ::SendMessageW(h, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(wide.c_str()));
        // A part too narrow for its text (the summary beside the wake note) shows it whole on hover.
        ::SendMessageW(h, SB_SETTIPTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(wide.c_str()));
        if (changed) AnnounceStatus(text);
    } else
        ::SetWindowTextW(h, wide.c_str());
}

void MainWindow::AnnounceStatus(const std::string& text) {
    HWND status = Item(IDC_STATUSBAR1);
    const Liveness wanted = StatusLiveness(text);
    if (wanted != liveness_) {
        liveness_ = wanted;
        SetLiveness(status, wanted);
    }
    RaiseLiveRegionChanged(status);
}

bool MainWindow::Enabled(MainCtl control) const {
    if (auto it = hidden_.find(control); it != hidden_.end()) return it->second.enabled;
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        UINT state = ::GetMenuState(menu, item, by);
        return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    }
    HWND h = Control(control);
    return h && ::IsWindowEnabled(h);
}

void MainWindow::SetEnabled(MainCtl control, bool enabled) {
    if (auto it = hidden_.find(control); it != hidden_.end()) {
        it->second.enabled = enabled;
        return;
    }
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        ::EnableMenuItem(menu, item, by | (enabled ? MF_ENABLED : MF_GRAYED));
        RedrawMenuBar(menu);
        return;
    }
    if (HWND h = Control(control)) ::EnableWindow(h, enabled);
}

bool MainWindow::Checked(MainCtl control) const {
    if (auto it = hidden_.find(control); it != hidden_.end()) return it->second.checked;
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) {
        UINT state = ::GetMenuState(menu, item, by);
        return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
    }
    return false;
}

void MainWindow::SetChecked(MainCtl control, bool checked) {
    if (auto it = hidden_.find(control); it != hidden_.end()) {
        it->second.checked = checked;
        return;
    }
    UINT item = 0, by = 0;
    if (HMENU menu = MenuHolding(control, item, by)) ::CheckMenuItem(menu, item, by | (checked ? MF_CHECKED : MF_UNCHECKED));
}

std::string MainWindow::ToolTip(MainCtl control) const {
    auto it = tipTexts_.find(control);
    return it == tipTexts_.end() ? std::string() : it->second;
}

void MainWindow::SetToolTip(MainCtl control, const std::string& text) {
    bool known = tipTexts_.count(control) != 0;
    tipTexts_[control] = text;
    HWND h = Control(control);
    // The status bar has one tip for both its parts.
    if (!toolTips_ || !h || control == MainCtl::Form || control == MainCtl::StatusBar1Panel2) return;
    std::wstring wide = Wide(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;  // the loop relays the mouse to it
    info.hwnd = hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(h);
    info.lpszText = wide.data();
    ::SendMessageW(toolTips_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void MainWindow::SetFocus(MainCtl control) {
    if (HWND h = Control(control)) ::SetFocus(h);
}

// The repeat rules are one choice: their checks show as radio bullets.
void MainWindow::MarkRadioItems() {
    HMENU bar = hwnd() ? ::GetMenu(hwnd()) : nullptr;
    for (int id = IDM_REPEATONCE; bar && id <= IDM_REPEATEVERYWEEK; ++id) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (!::GetMenuItemInfoW(bar, static_cast<UINT>(id), FALSE, &info)) continue;
        info.fType |= MFT_RADIOCHECK;
        ::SetMenuItemInfoW(bar, static_cast<UINT>(id), FALSE, &info);
    }
}

bool MainWindow::MenuItemEnabled(int id) const {
    const CommandDef* command = CommandById(id);
    if (!command || !Enabled(command->control)) return false;
    // An item of a disabled pop-up cannot be chosen either (its shortcut included).
    if (IsRepeatItem(id)) return Enabled(MainCtl::mnuSettings) && Enabled(MainCtl::mnuRepeat);
    if (id == IDM_STARTINSYSTEMTRAY || id == IDM_LOADWINAMPONSTART || id == IDM_KEEPAWAKE || id == IDM_MINIMIZETOTRAY ||
        id == IDM_RINGAGAIN || id == IDM_EXITAPP || id == IDM_CONFIGUREWINAMP)
        return Enabled(MainCtl::mnuSettings);
    if (id == IDM_CONTENTS || id == IDM_UPDATE || id == IDM_ABOUT) return Enabled(MainCtl::mnuHelp);
    return Enabled(MainCtl::mnuOptions);
}

}  // namespace chw::win32
