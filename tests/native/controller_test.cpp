// The keyboard controller: the key table, the Esc rule, the order of rows,
// dispatch of pending commands, and ownership of the handler.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control/controller.h"
#include "raster_surface.h"

namespace {

// Writes each call it receives as a short text.
class CallLog : public CommandHandler {
public:
    CallLog(std::vector<std::string>& log, int& destroyed) : m_log(log), m_destroyed(destroyed) {}
    ~CallLog() override { ++m_destroyed; }

    void togglePreview(surface::CDC&) override { m_log.push_back("togglePreview"); }
    void changeSpeed(int delta) override { m_log.push_back("changeSpeed " + std::to_string(delta)); }
    void togglePause() override { m_log.push_back("togglePause"); }
    void commandR(surface::CDC&) override { m_log.push_back("commandR"); }
    void moveShape(surface::CDC&, ShapeMove dir) override
    {
        m_log.push_back("moveShape " + std::to_string(static_cast<int>(dir)));
    }
    void rotateShape(surface::CDC&) override { m_log.push_back("rotateShape"); }
    void quit() override { m_log.push_back("quit"); }
    void start(surface::CDC&) override { m_log.push_back("start"); }
    void draw(surface::CDC&) override { m_log.push_back("draw"); }
    void tick(surface::CDC&) override { m_log.push_back("tick"); }
    void initGame() override { m_log.push_back("initGame"); }

private:
    std::vector<std::string>& m_log;
    int& m_destroyed;
};

// Lets a test put a command kind in place as a key press would.
class TestController : public Controller {
public:
    using Controller::Controller;
    void setPending(CommandKind kind) { m_pending = kind; }
};

class ControllerTest : public ::testing::Test {
protected:
    ControllerTest() : controller(new CallLog(log, destroyed)) {}

    std::vector<std::string> log;
    int destroyed = 0;
    TestController controller;
    RasterSurface dc;
};

struct KeyCase {
    unsigned vk;
    unsigned scan;
    const char* call;  // empty: no call
    const char* key;
};

const KeyCase keyCases[] = {
    {0x1B, 0x01, "quit", "Esc"},
    // Drop: down arrow, keypad 2 with Num Lock on and off.
    {0x28, 0x50, "moveShape 3", "down arrow / keypad 2, Num Lock off"},
    {0x62, 0x50, "moveShape 3", "keypad 2"},
    // Left: arrow, keypad 4, main-row 4.
    {0x25, 0x4B, "moveShape 1", "left arrow / keypad 4, Num Lock off"},
    {0x64, 0x4B, "moveShape 1", "keypad 4"},
    {0x34, 0x05, "moveShape 1", "main-row 4"},
    // Right.
    {0x27, 0x4D, "moveShape 0", "right arrow / keypad 6, Num Lock off"},
    {0x66, 0x4D, "moveShape 0", "keypad 6"},
    {0x36, 0x07, "moveShape 0", "main-row 6"},
    // Rotate: arrow, keypad 8, main-row 8, keypad 5 either way, main-row 5.
    {0x26, 0x48, "rotateShape", "up arrow / keypad 8, Num Lock off"},
    {0x68, 0x48, "rotateShape", "keypad 8"},
    {0x38, 0x09, "rotateShape", "main-row 8"},
    {0x0C, 0x4C, "rotateShape", "keypad 5, Num Lock off"},
    {0x65, 0x4C, "rotateShape", "keypad 5"},
    {0x35, 0x06, "rotateShape", "main-row 5"},
    // Letters.
    {0x49, 0x17, "changeSpeed 1", "i"},
    {0x44, 0x20, "changeSpeed -1", "d"},
    {0x50, 0x19, "togglePause", "p"},
    {0x51, 0x10, "quit", "q"},
    {0x52, 0x13, "commandR", "r"},
    {0x56, 0x2F, "togglePreview", "v"},
    {0x47, 0x22, "start", "g"},
    // Letters at the same position on another layout: the scan code decides.
    {0x5A, 0x10, "quit", "q position, other letter"},
    {0x00, 0x22, "start", "g position, no virtual key"},
    // Keys that select nothing.
    {0x20, 0x39, "", "space"},
    {0x32, 0x03, "", "main-row 2"},
    {0x70, 0x3B, "", "F1"},
    // Esc rule: the virtual key alone does not quit; a later row may match its scan code.
    {0x1B, 0x02, "", "Esc code with scan code of 1"},
    {0x1B, 0x10, "quit", "Esc code with the scan code of q"},
    {0x1B, 0x19, "togglePause", "Esc code with the scan code of p"},
    {0x00, 0x01, "", "Esc scan code alone"},
    // The earlier row wins when codes point at different rows.
    {0x50, 0x13, "togglePause", "P code with the scan code of r"},
    {0x52, 0x50, "moveShape 3", "R code with the scan code of keypad 2"},
};

TEST_F(ControllerTest, EveryKeyOfTheTableRunsItsCommand)
{
    for (const KeyCase& c : keyCases) {
        log.clear();
        controller.translateKey(dc, c.vk, c.scan);
        std::vector<std::string> expected;
        if (*c.call != '\0') {
            expected.push_back(c.call);
        }
        EXPECT_EQ(log, expected) << c.key;
        EXPECT_EQ(controller.pending(), CommandKind::None) << c.key;
    }
}

TEST_F(ControllerTest, RepeatedKeyDownsRunAgain)
{
    controller.translateKey(dc, 0x50, 0x19);
    controller.translateKey(dc, 0x50, 0x19);
    controller.translateKey(dc, 0x25, 0x4B);
    controller.translateKey(dc, 0x25, 0x4B);
    EXPECT_EQ(log, (std::vector<std::string>{"togglePause", "togglePause", "moveShape 1", "moveShape 1"}));
}

TEST_F(ControllerTest, PendingCommandRunsBeforeTheKeyIsLookedAt)
{
    controller.setPending(CommandKind::Start);
    controller.translateKey(dc, 0x51, 0x10);
    EXPECT_EQ(log, (std::vector<std::string>{"start"}));
}

TEST_F(ControllerTest, PendingKindOutOfRangeCallsNothingAndIsCleared)
{
    for (int value : {-1, 12, 1000}) {
        controller.setPending(static_cast<CommandKind>(value));
        controller.execute(dc);
        EXPECT_TRUE(log.empty()) << value;
        EXPECT_EQ(controller.pending(), CommandKind::None) << value;
    }
}

TEST_F(ControllerTest, TickGoesToTheHandler)
{
    controller.tick(dc);
    EXPECT_EQ(log, (std::vector<std::string>{"tick"}));
}

TEST(ControllerOwnership, DeletesItsHandlerOnce)
{
    std::vector<std::string> log;
    int destroyed = 0;
    {
        Controller controller(new CallLog(log, destroyed));
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(ControllerOwnership, NullHandlerIsSafe)
{
    RasterSurface dc;
    Controller controller(nullptr);
    controller.translateKey(dc, 0x47, 0x22);
    controller.tick(dc);
    EXPECT_EQ(controller.pending(), CommandKind::None);
}

}  // namespace
