#include "CaptureEditorBench.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QThreadPool>

#include <future>

namespace quillor {
namespace {

using namespace test;

constexpr auto none = Qt::NoModifier;
constexpr auto ctrl = Qt::ControlModifier;
constexpr auto shift = Qt::ShiftModifier;
constexpr auto alt = Qt::AltModifier;

TEST(EditorKeysTest, EditingKeysMakeOneNamedStepThatUndoesWhole)
{
    const QString link = QStringLiteral("Insérer un lien vers une note");
    const struct {
        QString text;
        TextRange selection;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString after;
        TextRange selectionAfter;
        QString step;   // no step when empty
    } cases[] = {
        {"", {0, 0}, Qt::Key_L, ctrl, "[[]]", {2, 0}, link},
        {"mot", {0, 3}, Qt::Key_L, ctrl, "[[|mot]]", {2, 0}, link},
        {"a]b", {0, 3}, Qt::Key_L, ctrl, "a]b", {0, 3}, ""},
        {"mot", {3, 0}, Qt::Key_L, ctrl | shift, "mot", {3, 0}, ""},
        {"- a", {3, 0}, Qt::Key_Return, none, "- a\n- ", {6, 0}, "Saisir"},
        {"- a", {3, 0}, Qt::Key_Return, shift, "- a\n", {4, 0}, "Saisir"},
        {"- a", {3, 0}, Qt::Key_Enter, ctrl | Qt::KeypadModifier, "- a\n", {4, 0}, "Saisir"},
        {"- a\n- ", {6, 0}, Qt::Key_Backspace, none, "- a\n", {4, 0}, "Supprimer"},
        {"a\nb", {0, 3}, Qt::Key_Tab, none, "    a\n    b", {4, 7}, "Indenter"},
        {"    - a", {7, 0}, Qt::Key_Backtab, shift, "- a", {3, 0}, "Désindenter"},
        {"- a", {3, 0}, Qt::Key_Backtab, shift, "- a", {3, 0}, ""},
        {"- ", {2, 0}, Qt::Key_Space, none, "- [ ] ", {6, 0}, "Créer une tâche"},
        {"- ", {2, 0}, Qt::Key_Space, shift, "-  ", {3, 0}, "Saisir"},
        {"- a\n- b", {1, 0}, Qt::Key_Down, alt, "- b\n- a", {5, 0}, "Déplacer la ligne"},
        {"- a\n- b", {1, 0}, Qt::Key_Up, alt, "- a\n- b", {1, 0}, ""},
        {"mot", {0, 3}, Qt::Key_Asterisk, none, "*mot*", {1, 3}, "Saisir"},
        {"()", {1, 0}, Qt::Key_ParenRight, none, "()", {2, 0}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " " + QKeySequence(c.key | c.modifiers).toString().toStdString());
        CaptureEditorBench bench;
        bench.set(c.text, c.selection);
        bench.key(c.key, c.modifiers);
        EXPECT_EQ(bench.text(), c.after);
        EXPECT_EQ(bench.view->selectionRange(), c.selectionAfter);
        EXPECT_EQ(bench.steps(), c.step.isEmpty() ? 0 : 1);
        EXPECT_EQ(bench.undoText(), c.step);
        bench.key(Qt::Key_Z, ctrl);
        EXPECT_EQ(bench.text(), c.text);
    }
}

// Two paragraphs: every line break typed at the end of the text stays one,
// whichever Return makes it.
TEST(EditorKeysTest, BlankLinesTypedAtTheEndOfTheTextStay)
{
    const struct {
        Qt::KeyboardModifiers modifiers;
        int returns;
        QString after;
    } cases[] = {
        {none, 2, "alpha\n\nbeta"},
        {none, 4, "alpha\n\n\n\nbeta"},
        {shift, 2, "alpha\n\nbeta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(Qt::Key_Return | c.modifiers).toString().toStdString() + " " + std::to_string(c.returns));
        CaptureEditorBench bench;
        bench.type("alpha");
        for (int i = 0; i < c.returns; ++i)
            bench.key(Qt::Key_Return, c.modifiers);
        bench.type("beta");
        QCoreApplication::processEvents();
        EXPECT_EQ(bench.text(), c.after);
        EXPECT_EQ(bench.model->content().text, c.after);
        EXPECT_EQ(bench.session.draft().body, c.after);
    }
}

TEST(EditorKeysTest, WithCompletionsShownTheListTakesItsKeys)
{
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int index;        // highlighted before the key
        QString after;
        int indexAfter;   // -1: the list is closed
    } cases[] = {
        {Qt::Key_Down, none, 2, "@", 0},       {Qt::Key_Up, none, 0, "@", 2},   {Qt::Key_Down, alt | shift, 0, "@", 1},
        {Qt::Key_Return, none, 0, "", -1},     {Qt::Key_Tab, none, 0, "", -1},  {Qt::Key_Return, shift, 1, "@\n", -1},
        {Qt::Key_Backtab, shift, 1, "@", 1},   {Qt::Key_Escape, none, 0, "@", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        CaptureEditorBench bench;
        bench.type(QStringLiteral("@"));
        ASSERT_EQ(bench.model->completions().size(), 3);
        bench.model->selectCompletion(c.index);
        bench.key(c.key, c.modifiers);
        EXPECT_EQ(bench.text(), c.after);
        EXPECT_EQ(bench.model->completions().size(), c.indexAfter < 0 ? 0 : 3);
        if (c.indexAfter >= 0) {
            EXPECT_EQ(bench.model->completionIndex(), c.indexAfter);
        }
    }
}

TEST(EditorKeysTest, WindowShortcutsNeverTakeTheKeysOfTheTable)
{
    CaptureEditorBench bench;
    QStringList fired;
    int hides = 0;
    bench.editor->setHide([&] { ++hides; });
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_L, ctrl}, {Qt::Key_Down, alt}, {Qt::Key_Escape, none}, {Qt::Key_Return, ctrl}, {Qt::Key_B, ctrl}};
    for (const auto& [key, modifiers] : keys) {
        auto* action = new QAction(&bench.host);
        action->setShortcut(QKeySequence(key | modifiers));
        QObject::connect(action, &QAction::triggered, [&fired, action] { fired.append(action->shortcut().toString()); });
        bench.host.addAction(action);
    }
    for (const auto& [key, modifiers] : keys)
        bench.key(key, modifiers);
    EXPECT_EQ(bench.text(), QStringLiteral("[[]]"));
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(fired, QStringList{QStringLiteral("Ctrl+B")});
}

// While the draft is read the text is read only, yet input methods stay on:
// what they commit (a dead key's accented letter, a word of pinyin) waits
// with the keys in the order it came, and their composing text is still
// being composed once the draft is there.
TEST(EditorKeysTest, KeysAndInputMethodTextTypedWhileTheDraftIsReadGoIntoItInOrder)
{
    // The draft's read waits behind the pool's only worker.
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    std::promise<void> held;
    pool->start([read = held.get_future().share()] { read.wait(); });
    bool holding = true;
    const auto release = [&] {
        if (std::exchange(holding, false))
            held.set_value();
    };
    const auto reopen = qScopeGuard([&] {
        release();
        pool->waitForDone();
        pool->setMaxThreadCount(threads);
    });
    AppModel::Environment environment = environmentWith(ManualClock());
    environment.readsDraftInBackground = true;
    CaptureEditorBench bench(environment);
    bench.session.data.put(QStringLiteral("draft.json"),
                           bytesOf(storedDraft(QStringLiteral("premier jet"), bench.destinations.first().id)));
    ASSERT_TRUE(bench.model->readingDraft());
    EXPECT_TRUE(bench.view->isReadOnly());
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(bench.view, &query);
    EXPECT_TRUE(query.value(Qt::ImEnabled).toBool()) << "input methods are off while the draft is read";

    const auto input = [&](const QString& preedit, const QString& commit) {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QCoreApplication::sendEvent(bench.view, &event);
    };
    bench.key(Qt::Key_End, ctrl);
    bench.type(QStringLiteral(" partir"));
    // A dead circumflex and "e", as the compose step hands them on.
    input(QString(), QStringLiteral("ê"));
    bench.type(QStringLiteral("tre "));
    // Pinyin composed into a word, then another still being composed.
    input(QStringLiteral("n"), QString());
    input(QStringLiteral("ni"), QString());
    input(QString(), QStringLiteral("你"));
    input(QStringLiteral("hao"), QString());
    EXPECT_EQ(bench.text(), QString());

    release();
    ASSERT_TRUE(waitUntil([&] { return !bench.model->readingDraft(); }));
    EXPECT_EQ(bench.text(), QStringLiteral("premier jet partirêtre 你"));
    EXPECT_TRUE(bench.view->isComposing());
    input(QString(), QStringLiteral("好"));
    EXPECT_EQ(bench.text(), QStringLiteral("premier jet partirêtre 你好"));
    EXPECT_FALSE(bench.view->isComposing());
}

TEST(EditorKeysTest, ALinkOffersNotesAndIsRefusedOverAnImage)
{
    CaptureEditorBench bench;
    bench.key(Qt::Key_L, ctrl);
    EXPECT_EQ(bench.model->completionContext().value_or(CompletionContext()).kind, CompletionKind::note);
    const EditorContent content =
        EditorContent::plain(QStringLiteral("a")).append(InlineImage{0, "i.png", imageBytes(qRgb(0, 0, 255)), {}});
    bench.view->setContent(content);
    bench.view->setSelectionRange(TextRange{0, 2});
    bench.key(Qt::Key_L, ctrl);
    EXPECT_EQ(bench.view->content(), content);
    EXPECT_EQ(bench.model->error(), QStringLiteral("Sélectionne du texte sans image pour créer un lien."));
}

} // namespace
} // namespace quillor

namespace quillor {
namespace {

using namespace test;

TEST(EditorKeysTest, TheEditMenuListsTheEditingCommandsWithTheirKeys)
{
    CaptureEditorBench bench;
    bench.set(QStringLiteral("mot"), {0, 3});
    bench.key(Qt::Key_Asterisk, Qt::NoModifier);
    std::unique_ptr<QMenu> menu(bench.view->editMenu(nullptr));
    QStringList entries;
    for (const QAction* action : menu->actions())
        // Paste follows the clipboard, which other programs share.
        entries << action->text() + u' ' + action->shortcut().toString()
                       + (action->isEnabled() || action->text() == QLatin1String("Coller") ? "" : " (off)");
    EXPECT_EQ(entries, (QStringList{"Annuler Ctrl+Z", "Rétablir Ctrl+Shift+Z (off)", "Couper Ctrl+X", "Copier Ctrl+C",
                                    "Coller Ctrl+V", "Tout sélectionner Ctrl+A", "Lien vers une note… Ctrl+L"}))
        << entries.join(" | ").toStdString();
    // Undo is the view's own history, not the document's.
    menu->actions().first()->trigger();
    EXPECT_EQ(bench.text(), QStringLiteral("mot"));
}

} // namespace
} // namespace quillor
