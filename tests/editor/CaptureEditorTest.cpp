#include "CaptureEditorBench.h"

#include <QApplication>
#include <QClipboard>
#include <QPromise>

namespace quillor {
namespace {

using namespace test;

TEST(CaptureEditorTest, EscapeSavesAndHidesCtrlReturnSendsAndTheNewDraftHasNoHistory)
{
    // Only Escape saves what is typed.
    AppModel::Environment environment = environmentWith(ManualClock());
    environment.autosaveDelay = std::chrono::hours(1);
    CaptureEditorBench bench(environment);
    int hides = 0;
    bench.editor->setHide([&] { ++hides; });
    bench.type(QStringLiteral("Idée @"));
    bench.key(Qt::Key_Escape);   // closes the completions only
    EXPECT_EQ(hides, 0);
    bench.key(Qt::Key_Escape);
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(bench.session.onDiskOnce([](const Capture& draft) { return draft.body == "Idée @"; }).body,
              QStringLiteral("Idée @"));
    bench.key(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_FALSE(bench.model->saving());
    bench.key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(bench.model->saving());
    ASSERT_TRUE(waitUntil([&] { return !bench.model->saving() && bench.model->latestReceipt(); }));
    EXPECT_EQ(bench.text(), QString());
    EXPECT_EQ(bench.steps(), 0);

    bench.type(QStringLiteral("abc"));
    bench.model->onContentChange(EditorContent::plain(QStringLiteral("Nouveau")));
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{7, 0}));
    bench.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(bench.text(), QStringLiteral("Nouveau"));
}

TEST(CaptureEditorTest, NoKeyChangesTheTextWhileTheCaptureIsDelivered)
{
    // A delivery that ends, without a note, when the test says so.
    auto held = std::make_shared<QPromise<QString>>();
    AppModel::Environment environment = environmentWith(ManualClock());
    environment.deliver = [held](const Capture&, const Destination&) {
        held->start();
        return held->future();
    };
    CaptureEditorBench bench(environment);
    CaptureTextView* const view = bench.view;
    bench.type(QStringLiteral("a\n- b"));
    bench.key(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(view->isReadOnly());
    QApplication::clipboard()->setText(QStringLiteral("collé"));
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_X, Qt::NoModifier}, {Qt::Key_V, Qt::ControlModifier}, {Qt::Key_Up, Qt::AltModifier},
          {Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Backspace, Qt::NoModifier}, {Qt::Key_Z, Qt::ControlModifier},
          {Qt::Key_L, Qt::ControlModifier}, {Qt::Key_Return, Qt::ShiftModifier}, {Qt::Key_ParenLeft, Qt::NoModifier}})
        bench.key(key, modifiers);
    EXPECT_EQ(bench.text(), QStringLiteral("a\n- b"));

    held->finish();
    ASSERT_TRUE(waitUntil([&] { return !bench.model->saving(); }));
    EXPECT_EQ(bench.editor->textView(), view);
    bench.type(QStringLiteral("x"));
    EXPECT_EQ(bench.text(), QStringLiteral("a\n- bx"));
}

TEST(CaptureEditorTest, AChosenDestinationIsAnUndoStepThatLeavesTheTextAlone)
{
    CaptureEditorBench bench;
    bench.type(QStringLiteral("note"));
    bench.view->setSelectionRange(TextRange{1, 2});
    const Capture before = bench.model->draft();
    const QUuid chosen = bench.destinations[2].id;
    bench.model->setDestination(chosen);
    EXPECT_EQ(bench.text(), QStringLiteral("note"));
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{1, 2}));
    EXPECT_EQ(bench.undoText(), QStringLiteral("Choisir la destination"));
    const Capture saved = bench.session.onDiskOnce([&](const Capture& draft) { return draft.destinationID == chosen; });
    EXPECT_EQ(saved.destinationID, chosen);
    EXPECT_EQ(saved.usesExplicitDestination, true);
    EXPECT_EQ(saved.body, QStringLiteral("note"));
    bench.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(bench.model->draft().destinationID, before.destinationID);
    EXPECT_EQ(bench.model->draft().usesExplicitDestination, before.usesExplicitDestination);

    // Without the editor the choice goes to the draft; the rest falls silent.
    delete bench.view;
    bench.model->setDestination(chosen);
    EXPECT_EQ(bench.model->draft().destinationID, chosen);
    bench.model->onContentChange(EditorContent::plain(QStringLiteral("x")));
}

TEST(CaptureEditorTest, OnlyARealPaletteChangeRestylesAndTheCallbacksReachTheView)
{
    CaptureEditorBench bench;
    EXPECT_TRUE(bench.view->hasFocus());
    bench.type(QStringLiteral("abcdefg @"));
    EXPECT_EQ(bench.model->completions().size(), 3);
    bench.key(Qt::Key_Home);
    EXPECT_TRUE(bench.model->completions().isEmpty());
    bench.view->clearFocus();
    bench.model->onSelectImage(TextRange{4, 3});
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{4, 3}));
    EXPECT_TRUE(bench.view->hasFocus());

    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    const int passes = bench.view->presentationPassCount();
    for (int i = 0; i < 2; ++i) {
        QApplication::setPalette(QPalette(dark));
        QCoreApplication::processEvents();
        EXPECT_EQ(bench.view->presentationPassCount(), passes + 1);
    }
    QApplication::setPalette(original);
}

} // namespace
} // namespace quillor
