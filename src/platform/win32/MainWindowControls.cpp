// The main window's controls and menu items, read and written by their names.
#include "MainWindow.h"

#include <commctrl.h>

#include "MainWindowParts.h"
#include "ViewRules.h"

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
    for (const auto& c : kControlIds)
        if (c.control == control) return Item(c.id);
    return nullptr;
}

// Where a menu item lives: the menu bar (its pop-ups by position, items by command), the tray's menu,
// or the menu that is never shown.
MenuPlace MainWindow::MenuHolding(MainCtl control) const {
    HMENU bar = hwnd() ? ::GetMenu(hwnd()) : nullptr;
    switch (control) {
        case MainCtl::mnuSettings: return {bar, kSettingsPosition, MF_BYPOSITION};
        case MainCtl::mnuHelp: return {bar, kHelpPosition, MF_BYPOSITION};
        case MainCtl::mnuRepeat: return {::GetSubMenu(bar, kSettingsPosition), kRepeatPosition, MF_BYPOSITION};
        case MainCtl::mnuOptions: return {trayMenu_.get(), 0, MF_BYPOSITION};
        default: break;
    }
    const CommandDef* command = FindCommand(&CommandDef::control, control);
    if (!command || !bar) return {};
    const UINT id = static_cast<UINT>(command->id);
    if (::GetMenuState(neverShown_.get(), id, MF_BYCOMMAND) != static_cast<UINT>(-1)) return {neverShown_.get(), id};
    return {command->popUp == MainCtl::mnuOptions ? trayMenu_.get() : bar, id};
}

std::string MainWindow::Caption(MainCtl control) const {
    if (const MenuPlace menu = MenuHolding(control)) return Utf8(CaptionPart(menu.Text()));
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
    if (changed != trayMenu_.get() && changed != neverShown_.get() && ::IsWindowVisible(hwnd())) ::DrawMenuBar(hwnd());
}

void MainWindow::SetCaption(MainCtl control, const std::string& text) {
    if (const MenuPlace menu = MenuHolding(control)) {
        // Keep the shortcut shown beside the caption.
        std::wstring full = Wide(text) + ShortcutPart(menu.Text());
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = full.data();
        ::SetMenuItemInfoW(menu.menu, menu.item, menu.by == MF_BYPOSITION, &info);
        RedrawMenuBar(menu.menu);
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
        if (changed) RaiseLiveRegionChanged(h);
    } else
        ::SetWindowTextW(h, wide.c_str());
}

void MainWindow::SetStatusUrgent(bool urgent) {
    const Liveness wanted = urgent ? Liveness::Assertive : Liveness::Polite;
    if (wanted == liveness_) return;
    liveness_ = wanted;
    SetLiveness(Item(IDC_STATUSBAR1), wanted);
}

bool MainWindow::Enabled(MainCtl control) const {
    if (const MenuPlace menu = MenuHolding(control)) {
        const UINT state = menu.State();
        return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    }
    HWND h = Control(control);
    return h && ::IsWindowEnabled(h);
}

void MainWindow::SetEnabled(MainCtl control, bool enabled) {
    if (const MenuPlace menu = MenuHolding(control)) {
        ::EnableMenuItem(menu.menu, menu.item, menu.by | (enabled ? MF_ENABLED : MF_GRAYED));
        RedrawMenuBar(menu.menu);
        return;
    }
    if (HWND h = Control(control)) ::EnableWindow(h, enabled);
}

bool MainWindow::Checked(MainCtl control) const {
    const MenuPlace menu = MenuHolding(control);
    const UINT state = menu ? menu.State() : static_cast<UINT>(-1);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

void MainWindow::SetChecked(MainCtl control, bool checked) {
    if (const MenuPlace menu = MenuHolding(control))
        ::CheckMenuItem(menu.menu, menu.item, menu.by | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::SetToolTip(MainCtl control, const std::string& text) {
    const bool known = !tipped_.insert(control).second;
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
    ::SendMessageW(toolTips_.get(), known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
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
    const CommandDef* command = FindCommand(&CommandDef::id, id);
    // An item of a disabled pop-up cannot be chosen either (its shortcut included).
    if (!command || !Enabled(command->control) || !Enabled(command->popUp)) return false;
    return command->popUp != MainCtl::mnuRepeat || Enabled(MainCtl::mnuSettings);
}

}  // namespace chw::win32
