#include "AppModelTestSupport.h"

#include "editing/MarkdownAnalysis.h"
#include "model/EditorSurface.h"

#include <QThread>

namespace quillor {
namespace {

using namespace test;

// The editor as far as completions reach it: typing hands the text to the
// model and asks for suggestions at the caret, and the undoable replacement
// does what the real one does for the model (apply the selection, report the
// new text, recompute the suggestions, save the draft after a choice).
class TestSurface : public EditorSurface {
public:
    explicit TestSurface(AppModel& model) : m_model(model) {}

    // The caret at the end unless given.
    void type(const QString& text, qsizetype caret = -1)
    {
        m_text = text;
        m_caret = caret < 0 ? text.size() : caret;
        m_model.updateContent(EditorContent::plain(m_text));
        m_model.suggestions(selectedRange());
    }
    // A move the model has not been told about yet.
    void moveCaretUnnoticed(qsizetype caret) { m_caret = caret; }

    QString text() const override { return m_text; }
    TextRange selectedRange() const override { return {m_caret, 0}; }
    qsizetype caret() const { return m_caret; }

    void replaceUndoably(TextRange range, const EditorContent& replacement, std::optional<qsizetype> cursor,
                         const QString& actionName, const std::optional<DestinationSelection>& destination) override
    {
        if (range.end() > m_text.size())
            return;
        m_text.replace(range.location, range.length, replacement.text);
        if (destination)
            m_model.applyDestinationSelection(*destination);
        m_caret = cursor.value_or(range.location + replacement.text.size());
        actions.append(actionName);
        m_model.updateContent(EditorContent::plain(m_text));
        m_model.suggestions(selectedRange());
        if (destination)
            m_model.persistDraft();
    }

    QStringList actions;

private:
    AppModel& m_model;
    QString m_text;
    qsizetype m_caret = 0;
};

// label | detail | insertion, one text per row.
QStringList rowsOf(const QList<Completion>& completions)
{
    QStringList rows;
    for (const Completion& row : completions)
        rows.append(row.label + u'|' + row.detail + u'|' + row.insertion);
    return rows;
}

class AppModelCompletionsTest : public ::testing::Test, protected Session {
protected:
    // A vault of four notes (one that no link can name) and two tags, and two
    // destinations on it whose routing names sort differently as text and as
    // numbers. The draft is pinned to one of them: a typed route that names
    // nothing would otherwise leave the text without a vault, so without an index.
    void SetUp() override
    {
        for (const auto& [path, text] : {std::pair("Projects/Alpha.md", "#project idea\n"),
                                         {"Beta.md", "#personal and #project\n"}, {"Gamma.md", "plain\n"},
                                         {"C#.md", "plain\n"}})
            putNote(path, text);
        launchWith(preferencesWith({tenth, second}), storedDraft("", tenth.id, true));
        // As the editor does once the index has changed.
        model->onIndexChanged = [this] { model->suggestions(surface->selectedRange()); };
        surface = std::make_unique<TestSurface>(*model);
        ASSERT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(4); }));
    }
    void TearDown() override { model.reset(); }   // its callback reaches the surface

    void putNote(const QString& path, const QByteArray& text) const { DataFolder::write(vault + u'/' + path, text); }
    void refreshAndWait(int noteCount) const
    {
        model->refreshIndex(true);
        ASSERT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(noteCount); }));
    }

    const QString vault = data.folder("Vault");
    const Destination tenth{QUuid::createUuid(), "Dix", "", vault, DeliveryMode::newNote, "notes-10", ""};
    const Destination second{QUuid::createUuid(), "Deux", "", vault, DeliveryMode::dailyNote, "notes-2", ""};
    std::unique_ptr<TestSurface> surface;
};

TEST_F(AppModelCompletionsTest, RowsFollowTheKindOfContextAtTheCaret)
{
    const QString tag = QStringLiteral("Tag du vault");
    const struct {
        const char* name;
        QString typed;
        QStringList rows;
    } cases[] = {
        {"tag ignoring case", "idea #PER", {"#personal|" + tag + "|#personal "}},
        {"every linkable note", "[[", {"Alpha|Projects/Alpha|[[Projects/Alpha]]", "Beta|Beta|[[Beta]]",
                                       "Gamma|Gamma|[[Gamma]]"}},
        {"destinations as a file browser sorts", "@", {"notes-2|Note du jour|", "notes-10|Nouvelle note|"}},
        {"no context", "plain text", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        surface->type(c.typed);
        EXPECT_EQ(rowsOf(model->completions()), c.rows);
        EXPECT_EQ(model->completionIndex(), 0);
    }
}

// The editor hands over its analysis to spare finding the text's code again:
// an analysis of another text, one that put the caret in code, is not taken
// for the model's.
TEST_F(AppModelCompletionsTest, AnAnalysisOfAnotherTextLeavesTheCodeToTheModelsText)
{
    const QString text = QStringLiteral("[[Ga");
    model->updateContent(EditorContent::plain(text));
    const MarkdownAnalysis fenced = MarkdownAnalysis::of(QStringLiteral("```\n[[G"));
    model->suggestions({text.size(), 0}, &fenced);
    EXPECT_EQ(rowsOf(model->completions()), QStringList{"Gamma|Gamma|[[Gamma]]"});
}

// More notes than the rows read ahead, unlinkable ones among them: each
// linkable note once, in index order, none lost at either end.
TEST_F(AppModelCompletionsTest, ALargerVaultListsEveryLinkableNoteInIndexOrder)
{
    for (int i = 0; i < 40; ++i)
        putNote(QStringLiteral("Folder %1/%2%3.md").arg(i % 3).arg(i % 7 == 0 ? "C#" : "Note ").arg(i), "text\n");
    refreshAndWait(44);
    QStringList expected;
    for (const NoteSuggestion& note : model->noteMatches(QString())) {
        if (!note.path.contains(u'#'))
            expected.append(note.title + u'|' + note.path + "|[[" + note.path + "]]");
    }
    surface->type(QStringLiteral("[["));
    EXPECT_EQ(expected.size(), 37);
    EXPECT_EQ(rowsOf(model->completions()), expected);
}

TEST_F(AppModelCompletionsTest, AcceptingARowEditsTheTextOnceAndLeavesTheListDismissed)
{
    const struct {
        const char* name;
        QString typed;
        qsizetype typedCaret;
        int row;
        QString text;
        qsizetype caret;
        QString action;
    } cases[] = {
        {"second note, label kept", "[[|Vu]]", 2, 1, "[[Beta|Vu]]", 11, "Compléter"},
        {"destination", "Idée @no", 8, 0, "Idée ", 5, "Choisir la destination"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        surface->actions.clear();
        surface->type(c.typed, c.typedCaret);
        model->selectCompletion(c.row);
        model->acceptCompletion(*surface);
        EXPECT_EQ(surface->text(), c.text);
        EXPECT_EQ(surface->caret(), c.caret);
        EXPECT_EQ(surface->actions, QStringList{c.action});
        EXPECT_TRUE(model->completions().isEmpty());
    }
    // The destination row chose "notes-2", and the draft remembers it.
    const Capture saved = decodedDraft(*data.contents("draft.json"));
    EXPECT_EQ(saved.destinationID, second.id);
    EXPECT_EQ(saved.usesExplicitDestination, true);
    EXPECT_EQ(saved.body, "Idée ");
}

TEST_F(AppModelCompletionsTest, AStaleListAcceptsNothing)
{
    const struct { const char* name; QString typed; std::function<void()> change; } cases[] = {
        {"caret moved", "#pro", [&] { surface->moveCaretUnnoticed(2); }},
        {"destination removed from the settings", "@notes-2",
         [&] {
             model->onIndexChanged = nullptr;   // the editor has not recomputed the list yet
             Preferences without = model->preferences();
             without.destinations.removeLast();
             ASSERT_TRUE(model->applyPreferences(without, false));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        surface->actions.clear();
        surface->type(c.typed);
        c.change();
        const QString before = surface->text();
        ASSERT_FALSE(model->completions().isEmpty());
        model->acceptCompletion(*surface);
        EXPECT_EQ(surface->text(), before);
        EXPECT_TRUE(surface->actions.isEmpty());
    }
    EXPECT_EQ(model->selectedDestination().id, tenth.id);
}

// The list view tells a new list by its first row's id.
TEST(CompletionTest, EveryRowGetsItsOwnRandomID)
{
    QSet<QUuid> seen;
    for (int i = 0; i < 10000; ++i) {
        const QUuid id = Completion(QStringLiteral("a"), QString(), QString()).id;
        EXPECT_EQ(id.version(), QUuid::Random);
        EXPECT_EQ(id.variant(), QUuid::DCE);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 10000);
    // Each thread draws from a generator of its own, seeded apart.
    QThread* other = QThread::create([&] {
        for (int i = 0; i < 10000; ++i)
            seen.insert(Completion(QStringLiteral("a"), QString(), QString()).id);
    });
    other->start();
    other->wait();
    delete other;
    EXPECT_EQ(seen.size(), 20000);
}

} // namespace
} // namespace quillor
