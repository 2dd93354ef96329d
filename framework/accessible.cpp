// The client object of a custom-drawn window. Its own texts, role and state;
// location, navigation, hit testing, parent and focus from the system's
// standard client object of the window. oleacc, ole32 and oleaut32 are
// looked up on the first request and stay loaded until the process ends:
// a client may hold an object, and with it their code, for as long as it likes.
#include "framework/accessible.h"

#include "framework/module.h"

#include <oleacc.h>

#include <atomic>
#include <utility>

struct CAccessibleClient::Link {
    std::function<CAccessibleTexts()> texts;
    bool connected = true;
};

namespace {

const CModule& Ole32()
{
    static const CModule module(L"ole32.dll");
    return module;
}

const CModule& OleAut32()
{
    static const CModule module(L"oleaut32.dll");
    return module;
}

const CModule& Oleacc()
{
    static const CModule module(L"oleacc.dll");
    return module;
}

// COM on this thread, in a single-threaded apartment: calls from other
// threads and processes then arrive through this thread's messages, one at a
// time, like every other message of the window. Set up once per thread and
// kept: objects given out live on in the apartment as long as clients hold
// them. False where the thread is in the multithreaded apartment already.
bool ApartmentReady()
{
    thread_local const bool ready = [] {
        using Initialize = HRESULT(WINAPI*)(LPVOID, DWORD);
        const auto initialize = Ole32().Proc<Initialize>("CoInitializeEx");
        return initialize != nullptr && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    }();
    return ready;
}

BSTR AllocString(const std::wstring& text)
{
    using Allocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
    static const auto allocate = OleAut32().Proc<Allocate>("SysAllocStringLen");
    if (allocate == nullptr)
        return nullptr;
    return allocate(text.data(), static_cast<UINT>(text.size()));
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

VARIANT SelfChild()
{
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;
    return child;
}

class ClientObject final : public IAccessible {
public:
    ClientObject(std::shared_ptr<const CAccessibleClient::Link> link, HWND hwnd, IAccessible* standard)
        : m_link(std::move(link)), m_hwnd(hwnd), m_standard(standard)
    {
    }
    ClientObject(const ClientObject&) = delete;
    ClientObject& operator=(const ClientObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: clients call the interface itself, not by name.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info == nullptr)
            return E_POINTER;
        *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }

    // The texts the window supplies.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return Text(child, name, &CAccessibleTexts::name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return Text(child, value, &CAccessibleTexts::value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return Text(child, description, &CAccessibleTexts::description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        const HRESULT checked = Check(role, child);
        if (checked != S_OK)
            return checked;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_CLIENT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        const HRESULT checked = Check(state, child);
        if (checked != S_OK)
            return checked;
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_FOCUSABLE | (GetFocus() == m_hwnd ? STATE_SYSTEM_FOCUSED : 0);
        return S_OK;
    }

    // Where the window is and what is around it: the standard object's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        const HRESULT checked = Check(parent);
        return checked != S_OK ? checked : m_standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        const HRESULT checked = Check(count);
        return checked != S_OK ? checked : m_standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        const HRESULT checked = Check(object);
        return checked != S_OK ? checked : m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        const HRESULT checked = Check(focus);
        return checked != S_OK ? checked : m_standard->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override
    {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
            return E_POINTER;
        const HRESULT checked = Check(left, child);
        return checked != S_OK ? checked : m_standard->accLocation(left, top, width, height, SelfChild());
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        const HRESULT checked = Check(end, start);
        return checked != S_OK ? checked : m_standard->accNavigate(direction, SelfChild(), end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        const HRESULT checked = Check(child);
        return checked != S_OK ? checked : m_standard->accHitTest(x, y, child);
    }

    // What the picture does not have: no help, shortcut, selection or action.
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return Missing(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        if (topic == nullptr)
            return E_POINTER;
        *topic = 0;
        return Missing(child, file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return Missing(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        const HRESULT checked = Check(selection);
        return checked != S_OK ? checked : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return Missing(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT child) override { return Refused(child); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return Refused(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR) override { return Refused(child); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR) override { return Refused(child); }

private:
    ~ClientObject() { m_standard->Release(); }

    // S_OK when a call can be answered: an out-pointer given (cleared
    // here), the window still there.
    template <typename Out>
    HRESULT Check(Out* out) const
    {
        if (out == nullptr)
            return E_POINTER;
        *out = Out{};
        return m_link->connected ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    // The same, and the object itself asked about: it has no children.
    template <typename Out>
    HRESULT Check(Out* out, const VARIANT& child) const
    {
        const HRESULT checked = Check(out);
        if (checked != S_OK)
            return checked;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }

    HRESULT Text(const VARIANT& child, BSTR* out, std::wstring CAccessibleTexts::*field) const
    {
        const HRESULT checked = Check(out, child);
        if (checked != S_OK)
            return checked;
        *out = AllocString(m_link->texts().*field);
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT Missing(const VARIANT& child, BSTR* out) const
    {
        const HRESULT checked = Check(out, child);
        return checked != S_OK ? checked : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT Refused(const VARIANT& child) const
    {
        if (!m_link->connected)
            return CO_E_OBJNOTCONNECTED;
        return IsSelf(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    }

    std::atomic<ULONG> m_references{1};
    std::shared_ptr<const CAccessibleClient::Link> m_link;
    HWND m_hwnd;
    // Owned reference.
    IAccessible* m_standard;
};

}  // namespace

CAccessibleClient::CAccessibleClient(std::function<CAccessibleTexts()> texts)
    : m_link(std::make_shared<Link>(Link{std::move(texts), true}))
{
}

CAccessibleClient::~CAccessibleClient()
{
    Disconnect();
}

void CAccessibleClient::Disconnect()
{
    m_link->connected = false;
}

bool CAccessibleClient::OnGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !m_link->connected)
        return false;
    using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    const auto createStandard = Oleacc().Proc<CreateStandard>("CreateStdAccessibleObject");
    const auto fromObject = Oleacc().Proc<FromObject>("LresultFromObject");
    if (createStandard == nullptr || fromObject == nullptr || !ApartmentReady())
        return false;
    IAccessible* standard = nullptr;
    if (FAILED(
            createStandard(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))) ||
        standard == nullptr)
        return false;
    auto* object = new ClientObject(m_link, hwnd, standard);
    result = fromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    // A reference to the object is positive; a failure is its HRESULT.
    return result >= 0;
}

void CAccessibleClient::NotifyNameChange(HWND hwnd)
{
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void CAccessibleClient::NotifyValueChange(HWND hwnd)
{
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}
