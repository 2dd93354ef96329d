// The view as assistive technology sees it: its client object read through
// oleacc as a screen reader reads it, the change events it raises, and the
// hidden caret that magnifiers follow.
#include "control/gameboard.h"
#include "frame_fixture.h"
#include "framework/text.h"

#include <oleacc.h>
#include <psapi.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr GameKey kKeyDrop = keyFor(CommandKind::Drop);
constexpr GameKey kKeyRotate = keyFor(CommandKind::Rotate);

// An interface pointer released when it goes.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return m_pointer; }
    Interface* Get() const { return m_pointer; }
    Interface** Out()
    {
        Reset();
        return &m_pointer;
    }
    void Reset()
    {
        if (m_pointer != nullptr)
            m_pointer->Release();
        m_pointer = nullptr;
    }

private:
    Interface* m_pointer = nullptr;
};

VARIANT Child(LONG id)
{
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::string TakeText(HRESULT hr, BSTR text)
{
    std::string result = SUCCEEDED(hr) && text != nullptr ? framework::Narrow(text) : "<failed>";
    SysFreeString(text);
    return result;
}

std::string Name(IAccessible* object, LONG child = CHILDID_SELF)
{
    BSTR text = nullptr;
    const HRESULT hr = object->get_accName(Child(child), &text);
    return TakeText(hr, text);
}

std::string Value(IAccessible* object)
{
    BSTR text = nullptr;
    const HRESULT hr = object->get_accValue(Child(CHILDID_SELF), &text);
    return TakeText(hr, text);
}

std::string Description(IAccessible* object)
{
    BSTR text = nullptr;
    const HRESULT hr = object->get_accDescription(Child(CHILDID_SELF), &text);
    return TakeText(hr, text);
}

LONG IntegerProperty(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*))
{
    VARIANT result{};
    if (FAILED((object->*get)(Child(CHILDID_SELF), &result)) || result.vt != VT_I4)
        return -1;
    return result.lVal;
}

// The view's client object, read the way a screen reader reads it.
bool ReadObject(HWND view, ComPtr<IAccessible>& object)
{
    return SUCCEEDED(AccessibleObjectFromWindow(view, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                reinterpret_cast<void**>(object.Out()))) &&
           object.Get() != nullptr;
}

std::string SpeedAndScore(int speed, int score)
{
    return "Current speed is " + std::to_string(speed) + "; Current score is " + std::to_string(score);
}

class AccessibleViewTest : public GameWindowTest {
public:
    void Keys(std::initializer_list<GameKey> keys)
    {
        for (const GameKey& key : keys)
            PressKey(key.vk, key.scan);
    }

    // One gravity step, as the timer gives it.
    void Step() { SendMessageW(viewWindow(), WM_TIMER, CChildView::kGravityTimerId, 0); }

    // Empties the well, fills its bottom row but under the falling shape's
    // lowest cells and drops the shape into the gap: one row removed.
    void RemoveOneRow()
    {
        const Shape* shape = board().current();
        ASSERT_NE(shape, nullptr);
        int lowest = -1000;
        for (int cell = 0; cell < shape->cellCount(); ++cell)
            lowest = std::max(lowest, shape->offsetY(cell));
        BlockArray& grid = const_cast<BlockArray&>(board().blocks());
        grid.clear();
        const int bottom = board().layout().rows() - 1;
        for (int column = 0; column < board().layout().cols(); ++column)
            grid.setCell(column, bottom, 0);
        for (int cell = 0; cell < shape->cellCount(); ++cell) {
            if (shape->offsetY(cell) == lowest)
                grid.setCell(shape->centerX() + shape->offsetX(cell), bottom, -1);
        }
        const int score = board().score();
        Keys({kKeyDrop});
        Step();
        ASSERT_EQ(board().score(), score + 1);
    }

    // Drops every shape where it enters until one no longer fits.
    void PlayToTheEnd()
    {
        for (int shape = 0; shape < 100 && board().state() == GameState::Running; ++shape) {
            Keys({kKeyDrop});
            Step();
        }
        ASSERT_EQ(board().state(), GameState::Over);
    }

protected:
    void SetUp() override
    {
        GameWindowTest::SetUp();
        SetFocus(viewWindow());
    }

    const GameBoard& board() { return view().board(); }
};

// --- what the object says ------------------------------------------------------

struct TextCase {
    const char* name;
    std::function<void(AccessibleViewTest&)> play;
    std::string expectedName;
    std::string expectedValue;
    // The description's last line: the quit prompt where the panel has one.
    std::string lastDescriptionLine;
};

class AccessibleTextTest : public AccessibleViewTest, public ::testing::WithParamInterface<TextCase> {};

// Every state shows this much of the panel's help.
constexpr const char* kKeyHelp =
    "Use numeric keypad to play::\n← ( 4 ) : left\n→ ( 6 ) : right\n↓ ( 2 ) : down\n↑ ( 5,8 ) : rotate\n"
    "i : increase speed\nd : decrease speed";

TEST_P(AccessibleTextTest, TellsStateSpeedAndScoreInThePanelsWords)
{
    GetParam().play(*this);
    ASSERT_FALSE(HasFatalFailure());
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    EXPECT_EQ(Name(object.Get()), GetParam().expectedName);
    EXPECT_EQ(Value(object.Get()), GetParam().expectedValue);
    const std::string description = Description(object.Get());
    EXPECT_EQ(description.rfind(kKeyHelp, 0), 0u) << description;
    EXPECT_EQ(description.substr(description.rfind('\n') + 1), GetParam().lastDescriptionLine) << description;
    EXPECT_EQ(IntegerProperty(object.Get(), &IAccessible::get_accRole), ROLE_SYSTEM_CLIENT);
    EXPECT_EQ(IntegerProperty(object.Get(), &IAccessible::get_accState),
              STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
}

INSTANTIATE_TEST_SUITE_P(
    States, AccessibleTextTest,
    ::testing::Values(
        TextCase{"Ready", [](AccessibleViewTest&) {}, "Press g to start the game", SpeedAndScore(3, 0),
                 "Press q or <ESC> to exit the program"},
        TextCase{"ReadyWithPreview", [](AccessibleViewTest& test) { test.Keys({kKeyV}); },
                 "Press g to start the game", SpeedAndScore(3, 0), "Press q or <ESC> to exit the program"},
        TextCase{"Running", [](AccessibleViewTest& test) { test.Keys({kKeyG}); }, "Press p to pause",
                 SpeedAndScore(3, 0), "Press q or <ESC> to stop the game"},
        TextCase{"Paused",
                 [](AccessibleViewTest& test) {
                     test.Keys({kKeyG, kKeyP});
                 },
                 "Press p to continue", SpeedAndScore(3, 0), "Press q or <ESC> to stop the game"},
        TextCase{"Fastest",
                 [](AccessibleViewTest& test) {
                     test.Keys({kKeyI, kKeyI, kKeyI, kKeyI, kKeyI, kKeyI, kKeyI, kKeyI});
                 },
                 "Press g to start the game", SpeedAndScore(10, 0), "Press q or <ESC> to exit the program"},
        TextCase{"Slowest",
                 [](AccessibleViewTest& test) {
                     test.Keys({kKeyG, kKeyD, kKeyD, kKeyD});
                 },
                 "Press p to pause", SpeedAndScore(1, 0), "Press q or <ESC> to stop the game"},
        TextCase{"RowsRemoved",
                 [](AccessibleViewTest& test) {
                     test.Keys({kKeyG});
                     test.RemoveOneRow();
                     test.RemoveOneRow();
                 },
                 "Press p to pause", SpeedAndScore(3, 2), "Press q or <ESC> to stop the game"},
        TextCase{"Over",
                 [](AccessibleViewTest& test) {
                     test.Keys({kKeyG, kKeyI});
                     test.PlayToTheEnd();
                 },
                 "Game over", SpeedAndScore(4, 0), "d : decrease speed"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(AccessibleViewTest, PreviewPromptFollowsTheFlag)
{
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    EXPECT_NE(Description(object.Get()).find("\nPress v to preview objects\n"), std::string::npos);
    Keys({kKeyV});
    EXPECT_NE(Description(object.Get()).find("\nPress v to disable preview\n"), std::string::npos);
}

TEST_F(AccessibleViewTest, FocusedOnlyWhileTheViewHasTheFocus)
{
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    EXPECT_EQ(IntegerProperty(object.Get(), &IAccessible::get_accState),
              STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    SetFocus(nullptr);
    EXPECT_EQ(IntegerProperty(object.Get(), &IAccessible::get_accState), STATE_SYSTEM_FOCUSABLE);
}

TEST_F(AccessibleViewTest, KeptObjectReadsTheNewGame)
{
    Keys({kKeyG});
    RemoveOneRow();
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    PlayToTheEnd();
    EXPECT_EQ(Name(object.Get()), "Game over");
    EXPECT_EQ(Value(object.Get()), SpeedAndScore(3, 1));
    Keys({kKeyG});
    EXPECT_EQ(Name(object.Get()), "Press p to pause");
    EXPECT_EQ(Value(object.Get()), SpeedAndScore(3, 0));
}

TEST_F(AccessibleViewTest, PlaceAndNeighboursAreTheStandardClientObjects)
{
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    RECT client{};
    GetClientRect(viewWindow(), &client);
    MapWindowPoints(viewWindow(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    LONG left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(object->accLocation(&left, &top, &width, &height, Child(CHILDID_SELF)), S_OK);
    EXPECT_EQ(left, client.left);
    EXPECT_EQ(top, client.top);
    EXPECT_EQ(width, client.right - client.left);
    EXPECT_EQ(height, client.bottom - client.top);

    VARIANT hit{};
    ASSERT_EQ(object->accHitTest(client.left + 5, client.top + 5, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, CHILDID_SELF);

    ComPtr<IDispatch> parent;
    EXPECT_EQ(object->get_accParent(parent.Out()), S_OK);
    EXPECT_NE(parent.Get(), nullptr) << "the view's window object";
    LONG children = -1;
    EXPECT_EQ(object->get_accChildCount(&children), S_OK);
    EXPECT_EQ(children, 0);
}

TEST_F(AccessibleViewTest, ReadFromAnotherThread)
{
    Keys({kKeyG, kKeyI});
    const HWND view = viewWindow();
    std::atomic<bool> done{false};
    std::string name;
    std::string value;
    std::thread reader([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            ComPtr<IAccessible> object;
            if (ReadObject(view, object)) {
                name = Name(object.Get());
                value = Value(object.Get());
            }
        }
        CoUninitialize();
        done = true;
    });
    // The calls come to this thread as messages.
    const bool finished = PumpUntil([&] { return done.load(); }, 10000);
    reader.join();
    ASSERT_TRUE(finished) << "the second thread's read did not end";
    EXPECT_EQ(name, "Press p to pause");
    EXPECT_EQ(value, SpeedAndScore(4, 0));
}

// --- hostile and careless clients ------------------------------------------------

TEST_F(AccessibleViewTest, BadArgumentsAreRefusedNotFollowed)
{
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    BSTR text = nullptr;
    EXPECT_EQ(object->get_accName(Child(1), &text), E_INVALIDARG);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(object->get_accValue(Child(-5), &text), E_INVALIDARG);
    VARIANT wrongType{};
    wrongType.vt = VT_BSTR;
    wrongType.bstrVal = nullptr;
    EXPECT_EQ(object->get_accDescription(wrongType, &text), E_INVALIDARG);
    VARIANT empty{};
    EXPECT_EQ(object->get_accName(empty, &text), E_INVALIDARG);
    EXPECT_EQ(object->get_accName(Child(CHILDID_SELF), nullptr), E_POINTER);
    EXPECT_EQ(object->get_accValue(Child(CHILDID_SELF), nullptr), E_POINTER);
    EXPECT_EQ(object->get_accDescription(Child(CHILDID_SELF), nullptr), E_POINTER);
    EXPECT_EQ(object->get_accRole(Child(CHILDID_SELF), nullptr), E_POINTER);
    EXPECT_EQ(object->get_accState(Child(CHILDID_SELF), nullptr), E_POINTER);
    VARIANT out{};
    EXPECT_EQ(object->get_accRole(Child(3), &out), E_INVALIDARG);
    EXPECT_EQ(object->get_accState(wrongType, &out), E_INVALIDARG);
    EXPECT_EQ(object->get_accParent(nullptr), E_POINTER);
    EXPECT_EQ(object->get_accFocus(nullptr), E_POINTER);
    EXPECT_EQ(object->accHitTest(0, 0, nullptr), E_POINTER);
    LONG n = 0;
    EXPECT_EQ(object->accLocation(nullptr, &n, &n, &n, Child(CHILDID_SELF)), E_POINTER);
    EXPECT_EQ(object->accLocation(&n, &n, &n, &n, Child(2)), E_INVALIDARG);
    EXPECT_EQ(object->QueryInterface(__uuidof(IAccessible), nullptr), E_POINTER);
    EXPECT_EQ(Name(object.Get()), "Press g to start the game") << "still answers after all that";
}

TEST_F(AccessibleViewTest, ObjectKeptPastTheViewFailsEveryCall)
{
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    DestroyWindow(frameWindow());
    PumpPending();
    BSTR text = nullptr;
    for (HRESULT hr :
         {object->get_accName(Child(CHILDID_SELF), &text), object->get_accValue(Child(CHILDID_SELF), &text),
          object->get_accDescription(Child(CHILDID_SELF), &text)}) {
        EXPECT_TRUE(hr == CO_E_OBJNOTCONNECTED || hr == E_FAIL) << std::hex << hr;
    }
    EXPECT_EQ(text, nullptr);
    VARIANT out{};
    EXPECT_EQ(object->get_accState(Child(CHILDID_SELF), &out), CO_E_OBJNOTCONNECTED);
    LONG n = 0;
    EXPECT_EQ(object->accLocation(&n, &n, &n, &n, Child(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);
    ComPtr<IDispatch> parent;
    EXPECT_EQ(object->get_accParent(parent.Out()), CO_E_OBJNOTCONNECTED);
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters);
    return counters.PrivateUsage;
}

TEST_F(AccessibleViewTest, ObjectsComeAndGoWithoutGrowth)
{
    auto readMany = [&](int times) {
        for (int i = 0; i < times; ++i) {
            ComPtr<IAccessible> object;
            if (!ReadObject(viewWindow(), object) || Name(object.Get()) != "Press g to start the game")
                return false;
        }
        return true;
    };
    ASSERT_TRUE(readMany(100));
    const SIZE_T before = PrivateBytes();
    ASSERT_TRUE(readMany(1500));
    const SIZE_T after = PrivateBytes();
    // An object, its standard partner and its marshalling kept per read would
    // be well over a megabyte.
    EXPECT_LT(after, before + 256 * 1024) << "private bytes " << before << " -> " << after;

    // The client's reference is the last one: nothing inside holds on.
    ComPtr<IAccessible> object;
    ASSERT_TRUE(ReadObject(viewWindow(), object));
    IAccessible* raw = object.Get();
    raw->AddRef();
    object.Reset();
    EXPECT_EQ(raw->Release(), 0u);
}

// --- change events --------------------------------------------------------------

struct Event {
    DWORD event;
    HWND hwnd;
    LONG object;
    LONG child;
    // The object's name and value read in the callback, as a screen reader
    // reads them on hearing the event.
    std::string name;
    std::string value;
};

std::vector<Event>* g_events = nullptr;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (g_events == nullptr)
        return;
    Event seen{event, hwnd, object, child, {}, {}};
    IAccessible* accessible = nullptr;
    VARIANT self{};
    if (SUCCEEDED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                            &accessible, &self)) &&
        accessible != nullptr) {
        seen.name = Name(accessible, self.lVal);
        seen.value = Value(accessible);
        accessible->Release();
    }
    g_events->push_back(seen);
}

// An in-context hook on this process's name and value changes.
class EventRecorder {
public:
    EventRecorder()
        : m_hook(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, GetModuleHandleW(nullptr),
                                 RecordEvent, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT))
    {
        g_events = &m_events;
    }
    ~EventRecorder()
    {
        g_events = nullptr;
        if (m_hook != nullptr)
            UnhookWinEvent(m_hook);
    }
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    bool hooked() const { return m_hook != nullptr; }
    // The events of one window since the last call.
    std::vector<Event> Take(HWND hwnd)
    {
        std::vector<Event> taken;
        for (const Event& event : m_events) {
            if (event.hwnd == hwnd)
                taken.push_back(event);
        }
        m_events.clear();
        return taken;
    }

private:
    std::vector<Event> m_events;
    HWINEVENTHOOK m_hook;
};

struct ExpectedEvent {
    DWORD event;
    std::string name;
    std::string value;
};

std::string Describe(const std::vector<Event>& events)
{
    std::string text;
    for (const Event& e : events) {
        text += (e.event == EVENT_OBJECT_NAMECHANGE    ? "name"
                 : e.event == EVENT_OBJECT_VALUECHANGE ? "value"
                                                       : std::to_string(e.event)) +
                std::string(" obj ") + std::to_string(e.object) + " child " + std::to_string(e.child) + " [" +
                e.name + " | " + e.value + "]\n";
    }
    return text.empty() ? "none" : text;
}

void ExpectEvents(const std::vector<Event>& seen, HWND view, const std::vector<ExpectedEvent>& expected,
                  const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(seen.size(), expected.size()) << Describe(seen);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].event, expected[i].event) << Describe(seen);
        EXPECT_EQ(seen[i].hwnd, view);
        EXPECT_EQ(seen[i].object, OBJID_CLIENT);
        EXPECT_EQ(seen[i].child, CHILDID_SELF);
        EXPECT_EQ(seen[i].name, expected[i].name) << "read when the event came";
        EXPECT_EQ(seen[i].value, expected[i].value) << "read when the event came";
    }
}

TEST_F(AccessibleViewTest, EachChangeIsToldOnceAfterItHappened)
{
    EventRecorder recorder;
    ASSERT_TRUE(recorder.hooked());
    const HWND view = viewWindow();
    const DWORD kName = EVENT_OBJECT_NAMECHANGE;
    const DWORD kValue = EVENT_OBJECT_VALUECHANGE;

    Keys({kKeyG});
    ExpectEvents(recorder.Take(view), view, {{kName, "Press p to pause", SpeedAndScore(3, 0)}}, "g");
    Keys({kKeyP});
    ExpectEvents(recorder.Take(view), view, {{kName, "Press p to continue", SpeedAndScore(3, 0)}}, "p");
    Keys({kKeyP});
    ExpectEvents(recorder.Take(view), view, {{kName, "Press p to pause", SpeedAndScore(3, 0)}}, "p again");
    Keys({kKeyI});
    ExpectEvents(recorder.Take(view), view, {{kValue, "Press p to pause", SpeedAndScore(4, 0)}}, "i");
    Keys({kKeyD});
    ExpectEvents(recorder.Take(view), view, {{kValue, "Press p to pause", SpeedAndScore(3, 0)}}, "d");
    RemoveOneRow();
    ExpectEvents(recorder.Take(view), view, {{kValue, "Press p to pause", SpeedAndScore(3, 1)}},
                 "a row removed");
    PlayToTheEnd();
    ExpectEvents(recorder.Take(view), view, {{kName, "Game over", SpeedAndScore(3, 1)}}, "game over");
    Keys({kKeyG});
    ExpectEvents(
        recorder.Take(view), view,
        {{kName, "Press p to pause", SpeedAndScore(3, 0)}, {kValue, "Press p to pause", SpeedAndScore(3, 0)}},
        "a new game");
    Keys({kKeyP});
    PostMessageW(view, CChildView::WM_PAUSE_REQUEST, 0, 0);
    PumpPending();
    ExpectEvents(recorder.Take(view), view, {{kName, "Press p to continue", SpeedAndScore(3, 0)}},
                 "p, then a pause request that finds the game paused");
}

TEST_F(AccessibleViewTest, PlayItselfIsNotTold)
{
    EventRecorder recorder;
    ASSERT_TRUE(recorder.hooked());
    Keys({kKeyG});
    recorder.Take(viewWindow());
    for (int step = 0; step < 40; ++step) {
        Keys({step % 3 == 0 ? kKeyLeft : step % 3 == 1 ? kKeyRight : kKeyRotate});
        Step();
    }
    Keys({kKeyV, kKeyV});
    ExpectEvents(recorder.Take(viewWindow()), viewWindow(), {},
                 "moves, rotations, gravity steps, landings, preview");
}

// --- the caret ------------------------------------------------------------------

RECT CaretRect(HWND* owner)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    *owner = info.hwndCaret;
    return info.rcCaret;
}

class CaretTest : public AccessibleViewTest, public ::testing::WithParamInterface<UINT> {
protected:
    // The falling shape's cells, from the layout's well and cell size.
    RECT ShapeCells()
    {
        const Shape* shape = board().current();
        const surface::CRect well = board().layout().well();
        const int size = board().layout().cellSize();
        RECT rect{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
        for (int cell = 0; cell < shape->cellCount(); ++cell) {
            const LONG x = well.left + (shape->centerX() + shape->offsetX(cell)) * size;
            const LONG y = well.top + (shape->centerY() + shape->offsetY(cell)) * size;
            rect = {std::min(rect.left, x), std::min(rect.top, y), std::max(rect.right, x + size),
                    std::max(rect.bottom, y + size)};
        }
        return rect;
    }

    void ExpectCaretOnShape(const char* after)
    {
        SCOPED_TRACE(after);
        HWND owner = nullptr;
        const RECT caret = CaretRect(&owner);
        const RECT cells = ShapeCells();
        EXPECT_EQ(owner, viewWindow());
        EXPECT_EQ(caret.left, cells.left);
        EXPECT_EQ(caret.top, cells.top);
        EXPECT_EQ(caret.right, cells.right);
        EXPECT_EQ(caret.bottom, cells.bottom);
    }
};

TEST_P(CaretTest, FollowsTheFallingShape)
{
    ASSERT_TRUE(view().SetDpi(GetParam()));
    ASSERT_EQ(board().layout().pictureDpi(), static_cast<int>(GetParam()));
    ExpectCaretOnShape("before the start, on the shape waiting at the top");
    Keys({kKeyG});
    ExpectCaretOnShape("g");
    Keys({kKeyLeft});
    ExpectCaretOnShape("left");
    Keys({kKeyRight, kKeyRight});
    ExpectCaretOnShape("right, right");
    Keys({kKeyRotate});
    ExpectCaretOnShape("rotation");
    const int row = board().current()->centerY();
    Step();
    ASSERT_EQ(board().current()->centerY(), row + 1);
    ExpectCaretOnShape("gravity step");
    Keys({kKeyDrop});
    ExpectCaretOnShape("drop");
    Step();
    ExpectCaretOnShape("landing and the next shape");

    PlayToTheEnd();
    HWND owner = nullptr;
    const RECT caret = CaretRect(&owner);
    const surface::CRect well = board().layout().well();
    EXPECT_EQ(owner, viewWindow());
    EXPECT_EQ(caret.left, well.left) << "on the top row after the end";
    EXPECT_EQ(caret.top, well.top);
    EXPECT_EQ(caret.right, well.right);
    EXPECT_EQ(caret.bottom, well.top + board().layout().cellSize());
}

INSTANTIATE_TEST_SUITE_P(Dpi, CaretTest, ::testing::Values(96u, 144u),
                         [](const auto& param) { return std::to_string(param.param) + "Dpi"; });

TEST_F(AccessibleViewTest, CaretGoesWithTheFocus)
{
    Keys({kKeyG});
    HWND owner = nullptr;
    CaretRect(&owner);
    EXPECT_EQ(owner, viewWindow());
    SetFocus(nullptr);
    CaretRect(&owner);
    EXPECT_EQ(owner, nullptr) << "the caret stayed without the focus";
    SetFocus(viewWindow());
    const RECT caret = CaretRect(&owner);
    EXPECT_EQ(owner, viewWindow());
    EXPECT_FALSE(IsRectEmpty(&caret));
}

}  // namespace
