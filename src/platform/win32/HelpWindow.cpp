#include "HelpWindow.h"

#include <richedit.h>

#include "Win32Util.h"
#include "resource.h"

namespace chw::win32 {

namespace {

constexpr const wchar_t* kTitle = CHW_WIDE("CHWLHELP.DOC - " CHW_PRODUCT " Help");
constexpr int kCloseId = IDCANCEL;  // Esc, through the dialog keys, means the same as the button
// The design, in pixels at 96 DPI.
constexpr int kWidth = 640, kHeight = 520, kMargin = 8, kButtonWidth = 88, kButtonHeight = 26;

// Msftedit is mapped the first time help needs it, which most runs never do; it stays afterwards.
bool RichEditLoaded() {
    static const bool loaded = LoadSystemLibrary(L"Msftedit.dll") != nullptr;
    return loaded;
}

// The document streams from its file with the system's own calls (file streams would bring the C++
// runtime's locale machinery into the program for this one read).
DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) noexcept {
    DWORD read = 0;
    const BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &read, nullptr);
    *got = static_cast<LONG>(read);
    return ok ? 0 : 1;
}

}  // namespace

bool HelpWindow::Open(const std::wstring& path) {
    // One at a time: an open window comes forward where the reader left it.
    if (!hwnd()) {
        if (!Create()) return false;
        if (!Load(path)) {
            DestroyNow();
            return false;
        }
    }
    if (::IsIconic(hwnd())) ::ShowWindow(hwnd(), SW_RESTORE);
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    ::SetFocus(edit_);
    return true;
}

bool HelpWindow::Create() {
    if (!RichEditLoaded()) return false;
    RegisterClassOnce(instance_, kClassName, ::LoadIconW(instance_, MAKEINTRESOURCEW(IDI_CHIMEWELL)),
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // Unowned: it stays when the main window goes to the tray.
    if (!CreateWin(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                   kWidth, kHeight, nullptr, nullptr, instance_))
        return false;
    dpi_ = WindowDpi(hwnd());
    SetClientSize(hwnd(), Scaled(kWidth), Scaled(kHeight));
    font_ = MakeFont(L"MS Shell Dlg 2", 8, dpi_);

    edit_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                                  ES_AUTOVSCROLL | ES_NOHIDESEL,
                              0, 0, 0, 0, hwnd(), nullptr, instance_, nullptr);
    close_ = ::CreateWindowExW(0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0,
                               0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId)), instance_,
                               nullptr);
    if (!edit_ || !close_) {
        DestroyNow();
        return false;
    }
    ::SendMessageW(close_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    // The document's own colours over the system's window colour.
    ::SendMessageW(edit_, EM_SETBKGNDCOLOR, TRUE, 0);
    // Its keys come to us first: Esc closes and Tab leaves, which a rich edit would otherwise keep.
    ::SendMessageW(edit_, EM_SETEVENTMASK, 0, ENM_KEYEVENTS);
    loop_.SetHelpWindow(hwnd());
    Arrange();
    return true;
}

bool HelpWindow::Load(const std::wstring& path) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) file.release();
    // A document that cannot be read or is empty is refused; one that is no rich text is shown as plain text.
    char head[5] = {};
    DWORD got = 0;
    if (!file || !::ReadFile(file.get(), head, sizeof(head), &got, nullptr) || got == 0) return false;
    const bool rtf = got == sizeof(head) && std::string(head, sizeof(head)) == "{\\rtf";
    ::SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(file.get()), 0, &ReadChunk};
    ::SendMessageW(edit_, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    ::SendMessageW(edit_, EM_SETSEL, 0, 0);
    ::SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    return stream.dwError == 0;
}

void HelpWindow::Arrange() {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const int margin = Scaled(kMargin), bw = Scaled(kButtonWidth), bh = Scaled(kButtonHeight);
    const int buttonTop = client.bottom - margin - bh;
    ::MoveWindow(edit_, margin, margin, client.right - 2 * margin, buttonTop - 2 * margin, TRUE);
    ::MoveWindow(close_, client.right - margin - bw, buttonTop, bw, bh, TRUE);
}

LRESULT HelpWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (edit_) Arrange();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = POINT{Scaled(kWidth / 2), Scaled(kHeight / 2)};
            return 0;
        }
        case WM_DPICHANGED: {
            dpi_ = DpiChangedDpi(wParam);
            font_ = MakeFont(L"MS Shell Dlg 2", 8, dpi_);
            ::SendMessageW(close_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
            TakeSuggestedRect(hwnd(), lParam);
            return 0;
        }
        case WM_SYSCOLORCHANGE:
            ::SendMessageW(edit_, WM_SYSCOLORCHANGE, wParam, lParam);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && edit_) ::SetFocus(edit_);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCloseId) ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom != edit_ || header->code != EN_MSGFILTER) return 0;
            const auto* filter = reinterpret_cast<const MSGFILTER*>(lParam);
            if (filter->msg != WM_KEYDOWN) return 0;
            if (filter->wParam == VK_ESCAPE) {
                ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
                return 1;
            }
            if (filter->wParam == VK_TAB) {
                ::SetFocus(close_);
                return 1;
            }
            return 0;
        }
        case WM_DESTROY:
            edit_ = close_ = nullptr;
            loop_.SetHelpWindow(nullptr);
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace chw::win32
