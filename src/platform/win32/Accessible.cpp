#include "Accessible.h"

#include <ole2.h>
#include <oleacc.h>
#include <commctrl.h>

#include "Win32Util.h"

namespace chw::win32 {

namespace {

// Spelled out: MinGW's import library gives IID_IAccessible a value Windows does not know.
constexpr IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr CLSID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kLiveSettingProperty = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr GUID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID kRoleProperty = {0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
constexpr UINT_PTR kSubclassId = 0xACC;

void ReleaseObject(IUnknown* object) { object->Release(); }

// The system's service that keeps what a program says of its controls' accessible objects; empty where
// there is none (or COM is not ready in this thread).
using Annotations = Unique<IAccPropServices*, &ReleaseObject>;
Annotations AnnotationService() {
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                  reinterpret_cast<void**>(&services))))
        return Annotations();
    return Annotations(services);
}

// Marks the control's object with a property, a text or a number.
bool Annotate(const Annotations& marks, HWND control, const GUID& property, const std::wstring& text) {
    return marks && SUCCEEDED(marks->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                          property, text.c_str()));
}
bool Annotate(const Annotations& marks, HWND control, const GUID& property, long number) {
    VARIANT value{};  // zero: VT_EMPTY, as VariantInit leaves it
    value.vt = VT_I4;
    value.lVal = number;
    return marks &&
           SUCCEEDED(marks->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, value));
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object of a control, with its name and role replaced; everything else is the standard's.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* standard, HWND control, const AccessibleIdentity& identity)
        : standard_(standard), control_(control), identity_(identity) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // What else the standard object offers (IOleWindow, IEnumVARIANT) is its own.
        return standard_->QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IAccessible: the two that this object is for.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        if (!IsSelf(child)) return standard_->get_accName(child, name);
        const std::wstring text =
            identity_.name.empty() ? WithoutAccessKeyMark(WindowTextW(control_)) : identity_.name;
        *name = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        if (!IsSelf(child) || identity_.role == 0) return standard_->get_accRole(child, role);
        ::VariantInit(role);
        role->vt = VT_I4;
        role->lVal = identity_.role;
        return S_OK;
    }

    // IDispatch and the rest of IAccessible: as the standard object answers.
#define CHW_FORWARD(method, params, args) \
    HRESULT STDMETHODCALLTYPE method params override { return standard_->method args; }
    CHW_FORWARD(GetTypeInfoCount, (UINT* n), (n))
    CHW_FORWARD(GetTypeInfo, (UINT i, LCID lcid, ITypeInfo** info), (i, lcid, info))
    CHW_FORWARD(GetIDsOfNames, (REFIID riid, LPOLESTR* names, UINT n, LCID lcid, DISPID* ids),
                (riid, names, n, lcid, ids))
    CHW_FORWARD(Invoke, (DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* error, UINT* arg), (id, riid, lcid, flags, params, result, error, arg))
    CHW_FORWARD(get_accParent, (IDispatch** parent), (parent))
    CHW_FORWARD(get_accChildCount, (LONG* n), (n))
    CHW_FORWARD(get_accChild, (VARIANT child, IDispatch** out), (child, out))
    CHW_FORWARD(get_accValue, (VARIANT child, BSTR* value), (child, value))
    CHW_FORWARD(get_accDescription, (VARIANT child, BSTR* text), (child, text))
    CHW_FORWARD(get_accState, (VARIANT child, VARIANT* state), (child, state))
    CHW_FORWARD(get_accHelp, (VARIANT child, BSTR* help), (child, help))
    CHW_FORWARD(get_accHelpTopic, (BSTR* file, VARIANT child, LONG* topic), (file, child, topic))
    CHW_FORWARD(get_accKeyboardShortcut, (VARIANT child, BSTR* keys), (child, keys))
    CHW_FORWARD(get_accFocus, (VARIANT* child), (child))
    CHW_FORWARD(get_accSelection, (VARIANT* children), (children))
    CHW_FORWARD(get_accDefaultAction, (VARIANT child, BSTR* action), (child, action))
    CHW_FORWARD(accSelect, (LONG flags, VARIANT child), (flags, child))
    CHW_FORWARD(accLocation, (LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child), (x, y, w, h, child))
    CHW_FORWARD(accNavigate, (LONG direction, VARIANT start, VARIANT* end), (direction, start, end))
    CHW_FORWARD(accHitTest, (LONG x, LONG y, VARIANT* child), (x, y, child))
    CHW_FORWARD(accDoDefaultAction, (VARIANT child), (child))
    CHW_FORWARD(put_accName, (VARIANT child, BSTR name), (child, name))
    CHW_FORWARD(put_accValue, (VARIANT child, BSTR value), (child, value))
#undef CHW_FORWARD

private:
    ~NamedAccessible() { standard_->Release(); }

    LONG refs_ = 1;
    IAccessible* standard_;
    HWND control_;
    AccessibleIdentity identity_;
};

LRESULT CALLBACK IdentityProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) noexcept {
    auto* identity = reinterpret_cast<AccessibleIdentity*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIAccessible,
                                                  reinterpret_cast<void**>(&standard))) &&
            standard) {
            NamedAccessible* named = nullptr;
            Guarded([&] { named = new NamedAccessible(standard, hwnd, *identity); });
            if (named) {
                const LRESULT result = ::LresultFromObject(kIAccessible, wParam, named);
                named->Release();
                return result;
            }
            standard->Release();
        }
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &IdentityProc, kSubclassId);
        delete identity;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

std::wstring WithoutAccessKeyMark(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    bool markDropped = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size() && text[i + 1] == L'&')
            ++i;  // the pair's second '&' is kept
        else if (text[i] == L'&' && !std::exchange(markDropped, true))
            continue;
        out += text[i];
    }
    return out;
}

void GiveAccessibleIdentity(HWND control, const AccessibleIdentity& identity) {
    if (!control || (identity.name.empty() && identity.role == 0)) return;
    // Where the system keeps such marks (Windows), the control keeps the standard object that screen
    // readers and UI Automation know best (an edit box's text included), marked with the name and role.
    // Where it does not (Wine), the control answers with an object of its own.
    if (const Annotations marks = AnnotationService();
        (identity.name.empty() || Annotate(marks, control, kNameProperty, identity.name)) &&
        (identity.role == 0 || Annotate(marks, control, kRoleProperty, identity.role)))
        return;
    auto* kept = new AccessibleIdentity(identity);
    if (!::SetWindowSubclass(control, &IdentityProc, kSubclassId, reinterpret_cast<DWORD_PTR>(kept))) delete kept;
}

void SetLiveness(HWND control, Liveness liveness) {
    // Not every system keeps such marks (Wine does not); the change events are raised all the same.
    Annotate(AnnotationService(), control, kLiveSettingProperty, static_cast<long>(liveness));
}

void RaiseLiveRegionChanged(HWND control) {
    if (control) ::NotifyWinEvent(kLiveRegionChanged, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace chw::win32
