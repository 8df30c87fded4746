#include "ShellTestSupport.h"

#include "../KeyTexts.h"
#include "../platform/XvfbServer.h"

#include "shell/StatusMenu.h"

#include <QAction>
#include <QWidget>

using namespace quillor;
using namespace quillor::test;

namespace {

constexpr quint32 spaceCode = 49, jCode = 38, kCode = 40;
constexpr quint32 control = 0x1000, controlOption = 0x1800;

// The delegate's hot key on an X server of the test's own, and a second
// client of that server standing for another application.
class AppDelegateHotKeyTest : public DelegateTest {
protected:
    void SetUp() override
    {
        server = XvfbServer::start();
        if (!server)
            GTEST_SKIP() << "Xvfb is not available";
        ours = xcb_connect(server->display().c_str(), nullptr);
        theirs = xcb_connect(server->display().c_str(), nullptr);
        ASSERT_FALSE(xcb_connection_has_error(ours) || xcb_connection_has_error(theirs));
        other = std::make_unique<X11HotKeyGrabber>(theirs);
        launch(std::make_unique<GlobalShortcut>(ours));
    }

    void TearDown() override
    {
        delegate.reset();
        other.reset();
        if (theirs)
            xcb_disconnect(theirs);
        if (ours)
            xcb_disconnect(ours);
    }

    // Whether the other application could take the combination now.
    bool freeForOthers(quint32 code, quint32 modifiers) const
    {
        if (other->grab(99, code, modifiers) != 0)
            return false;
        other->ungrab(99);
        return true;
    }
    QKeySequence menuKeys() const { return delegate->statusMenu()->item(StatusMenu::captureTag)->shortcut(); }

    bool apply(quint32 code, quint32 modifiers, const QString& label) const
    {
        Preferences changed = model().preferences();
        changed.hotkeyCode = code;
        changed.hotkeyModifiers = modifiers;
        changed.hotkeyDisplay = label;
        return model().applyPreferences(changed, false);
    }

    std::unique_ptr<XvfbServer> server;
    xcb_connection_t* ours = nullptr;
    xcb_connection_t* theirs = nullptr;
    std::unique_ptr<X11HotKeyGrabber> other;
};

TEST_F(AppDelegateHotKeyTest, TheHotKeyIsNeverLostToAFailedChangeAndOnlyLetGoWhileRecording)
{
    EXPECT_EQ(model().hotkeyLabel(), nativeKeys(Qt::CTRL | Qt::Key_Space));
    EXPECT_EQ(model().shortcutError(), std::nullopt);
    EXPECT_FALSE(freeForOthers(spaceCode, control));
    EXPECT_EQ(menuKeys(), QKeySequence(Qt::ControlModifier | Qt::Key_Space));

    // Only the label differs: written, but the label in force stays.
    ASSERT_TRUE(apply(spaceCode, control, QStringLiteral("⌃Space")));
    EXPECT_EQ(Preferences::decode(settingsFile()).hotkeyDisplay, QStringLiteral("⌃Space"));
    EXPECT_EQ(model().hotkeyLabel(), nativeKeys(Qt::CTRL | Qt::Key_Space));

    // Taken by another application: nothing written, the old key still held.
    ASSERT_EQ(other->grab(1, kCode, controlOption), 0);
    const QByteArray before = settingsFile();
    EXPECT_FALSE(apply(kCode, controlOption, QStringLiteral("⌃⌥K")));
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(model().shortcutError(), QStringLiteral("Ce raccourci est déjà réservé. Ferme l’application qui "
                                                      "l’utilise ou choisis une autre combinaison. Le raccourci "
                                                      "actif est conservé."));
    EXPECT_EQ(model().settingsError(), model().shortcutError());
    EXPECT_FALSE(freeForOthers(spaceCode, control));

    // A free one replaces the old, which is let go.
    ASSERT_TRUE(apply(jCode, controlOption, QStringLiteral("⌃⌥J")));
    EXPECT_EQ(model().hotkeyLabel(), nativeKeys(Qt::CTRL | Qt::ALT | Qt::Key_J));
    EXPECT_EQ(model().shortcutError(), std::nullopt);
    EXPECT_EQ(Preferences::decode(settingsFile()).hotkeyCode, jCode);
    EXPECT_TRUE(freeForOthers(spaceCode, control));
    EXPECT_FALSE(freeForOthers(jCode, controlOption));

    // Recording lets the keys through until the settings window closes.
    delegate->showSettings();
    model().setRecordingShortcut(true);
    model().onShortcutRecordingChanged(true);
    EXPECT_TRUE(freeForOthers(jCode, controlOption));
    EXPECT_EQ(menuKeys(), QKeySequence());
    delegate->settingsWindow()->close();
    EXPECT_FALSE(model().recordingShortcut());
    EXPECT_FALSE(freeForOthers(jCode, controlOption));
    EXPECT_EQ(menuKeys(), QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_J));
}

} // namespace
