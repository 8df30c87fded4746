// The clipboard on the real program's way out: a text copied from the panel
// outlives the program on a desktop that runs a clipboard manager.

#include "ProgramTest.h"

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

class ClipboardRoadTest : public ProgramTest {};

// Whether the manager reads at once (the text view's copy is then rendered
// for it) or takes its time, as a busy one does, the program hands it the
// text, ends cleanly, and a paste after the program has gone gets the text.
TEST_F(ClipboardRoadTest, ATextCopiedJustBeforeAQuitIsLeftWithTheClipboardManager)
{
    const struct {
        const char* manager;
        const char* pause; // ms before it reads
    } cases[] = {{"reading at once", "0"}, {"busy", "600"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.manager);
        const std::string name = std::string("keeper-") + c.pause;
        const std::unique_ptr<ChildProcess> keeper = start({QUILLOR_CLIPBOARD_KEEPER, c.pause}, name);
        const std::string keeperOutput = log(name) + ".out";
        ASSERT_TRUE(waitUntil([&] { return readWholeFile(keeperOutput) == "ready\n"; }, 10s))
            << "the clipboard manager did not start";

        ChildProcess* program = startHoldingHotKey(std::string("quillor-") + c.pause);
        ASSERT_TRUE(program);
        ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
        ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up with the keyboard";
        const std::string copied = std::string("texte copie avant de quitter ") + c.pause;
        ASSERT_EQ(xdotool({"key", "ctrl+a", "Delete"}).exitCode, 0);
        ASSERT_EQ(xdotool({"type", "--delay", "15", copied}).exitCode, 0);
        const std::optional<xcb_window_t> before = m_probe->selectionOwner("CLIPBOARD");
        ASSERT_EQ(xdotool({"key", "ctrl+a", "ctrl+c"}).exitCode, 0);
        ASSERT_TRUE(waitUntil(
            [&] {
                const std::optional<xcb_window_t> owner = m_probe->selectionOwner("CLIPBOARD");
                return owner && owner != before;
            },
            5s))
            << "the copy took no clipboard";

        ASSERT_EQ(xdotool({"key", "ctrl+q"}).exitCode, 0);
        ASSERT_TRUE(program->waitForExit(20s)) << "the program did not quit";
        EXPECT_EQ(program->exitCode(), 0) << "the program did not end cleanly";
        EXPECT_EQ(readWholeFile(keeperOutput), "ready\nkept " + copied + "\n");

        if (onPath("xclip")) {
            const ToolResult pasted = runTool({"xclip", "-o", "-selection", "clipboard"}, environment(), path("logs"));
            EXPECT_EQ(pasted.exitCode, 0);
            EXPECT_EQ(pasted.output, copied);
        }
    }
}

} // namespace
