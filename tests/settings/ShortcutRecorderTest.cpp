#include "settings/ShortcutRecorder.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace quillor {
namespace {

using Outcome = ShortcutRecording::Outcome;

constexpr Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers alt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers shift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers super = Qt::MetaModifier;

TEST(ShortcutRecording, TurnsOnePressIntoAStoredCombination)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 keysym;
        Outcome expected;
    } cases[] = {
        {Qt::Key_Escape, {}, 0xff1b, {Outcome::cancelled, {}}},
        {Qt::Key_Escape, ctrl | shift, 0xff1b, {Outcome::cancelled, {}}},
        {Qt::Key_A, {}, 'a', {}},
        {Qt::Key_A, shift, 'a', {}},
        {Qt::Key_Control, ctrl, 0xffe3, {}},          // a modifier pressed alone
        {Qt::Key_Alt, ctrl | alt, 0xffe9, {}},
        {Qt::Key_Space, ctrl | shift, ' ', {Outcome::recorded, {49, 0x1200, QStringLiteral("⌃⇧Espace")}}},
        {Qt::Key_K, alt | shift | super, 'k', {Outcome::recorded, {40, 0x0B00, QStringLiteral("⌥⇧⌘K")}}},
        {Qt::Key_J, ctrl | alt | shift | super, 'j', {Outcome::recorded, {38, 0x1B00, QStringLiteral("⌃⌥⇧⌘J")}}},
        {Qt::Key_Q, ctrl, 'q', {Outcome::recorded, {12, 0x1000, QStringLiteral("⌃Q")}}},
        // The unshifted symbol names the key: Shift+1 is "!" but reads "1".
        {Qt::Key_Exclam, ctrl | shift, '1', {Outcome::recorded, {18, 0x1200, QStringLiteral("⌃⇧1")}}},
        {Qt::Key_F5, ctrl, 0xffc2, {Outcome::recorded, {0x60, 0x1000, QStringLiteral("⌃F5")}}},
        {Qt::Key_Left, alt, 0xff51, {Outcome::recorded, {0x7B, 0x800, QStringLiteral("⌥Left")}}},
        // AltGr is not Alt; a key the stored encoding cannot name is left.
        {Qt::Key_K, Qt::GroupSwitchModifier, 'k', {}},
        {Qt::Key_unknown, ctrl, 0x1008ff2f, {}},
        {Qt::Key_K, ctrl, 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortcutRecording::interpret(c.key, c.modifiers, c.keysym), c.expected)
            << QKeySequence(c.key | c.modifiers.toInt()).toString().toStdString();
    }
}

// The real widget in a window that has Ctrl+Q and Tab of its own.
class ShortcutRecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShortcutRecorder::setKeysymLookup([](const QKeyEvent& event) -> quint32 {
            switch (event.key()) {
            case Qt::Key_Q: return 'q';
            case Qt::Key_A: return 'a';
            case Qt::Key_Tab: return 0xff09;
            case Qt::Key_Escape: return 0xff1b;
            default: return 0;
            }
        });
        auto* quit = new QAction(&window);
        quit->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Q));
        QObject::connect(quit, &QAction::triggered, [this] { ++quits; });
        window.addAction(quit);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QWidget);
        recorder = new ShortcutRecorder([this](bool value) { changes.append(value); },
                                        [this](const std::optional<RecordedShortcut>& value) { results.append(value); });
        layout->addWidget(recorder);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QApplication::processEvents();
    }
    void TearDown() override { ShortcutRecorder::setKeysymLookup({}); }

    // Declared first, so that the window, whose recorders report to them as
    // they go, is destroyed before them.
    QList<bool> changes;
    QList<std::optional<RecordedShortcut>> results;
    int quits = 0;
    QWidget window;
    ShortcutRecorder* recorder = nullptr;
};

TEST_F(ShortcutRecorderTest, TakesTheFocusAndTheWindowsShortcuts)
{
    EXPECT_EQ(changes, QList<bool>{true});
    EXPECT_TRUE(recorder->hasFocus());
    QTest::keyClick(recorder, Qt::Key_A);
    QTest::keyClick(recorder, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(results.isEmpty());
    QTest::keyClick(recorder, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits, 0);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0], (RecordedShortcut{12, 0x1000, QStringLiteral("⌃Q")}));
    // One answer per field.
    QTest::keyClick(recorder, Qt::Key_Escape);
    EXPECT_EQ(results.size(), 1);
    delete recorder;
    EXPECT_EQ(changes, (QList<bool>{true, false}));
}

TEST_F(ShortcutRecorderTest, EscapeCancelsAndTabIsAKey)
{
    QTest::keyClick(recorder, Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0]->label, QStringLiteral("⌃Tab"));
    EXPECT_TRUE(recorder->hasFocus());

    auto* second = new ShortcutRecorder({}, [this](const std::optional<RecordedShortcut>& value) { results.append(value); },
                                        &window);
    second->show();
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Escape, Qt::ControlModifier);
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results[1], std::nullopt);
}

} // namespace
} // namespace quillor
