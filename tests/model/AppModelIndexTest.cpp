#include "AppModelTestSupport.h"

#include "model/VaultAccess.h"

#include <QSet>

#include <condition_variable>
#include <mutex>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

// A scanner whose calls each wait until the test releases them, with the
// index the test gives (else the real scan). It ignores cancellation on
// purpose, so that a superseded scan can still come back late.
class GatedScanner {
public:
    ~GatedScanner()
    {
        std::unique_lock lock(m_mutex);
        for (int call = 0; call < m_calls; ++call)
            m_released.insert(call, std::nullopt);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_finished == m_calls; });
    }

    AppModel::VaultScanner function()
    {
        return [this](const QString& vault, const VaultIndex& previous, const CancellationCheck& isCancelled) {
            std::unique_lock lock(m_mutex);
            const int call = m_calls++;
            m_checks.append(isCancelled);
            m_previous.append(previous);
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_released.contains(call); });
            const std::optional<VaultIndex> given = m_released.value(call);
            lock.unlock();
            const VaultIndex index = given ? *given : VaultIndex::scan(vault, {}, previous);
            lock.lock();
            ++m_finished;
            m_changed.notify_all();
            return index;
        };
    }

    void release(int call, std::optional<VaultIndex> index = std::nullopt)
    {
        std::lock_guard lock(m_mutex);
        m_released.insert(call, std::move(index));
        m_changed.notify_all();
    }
    int calls() const { std::lock_guard lock(m_mutex); return m_calls; }
    int finished() const { std::lock_guard lock(m_mutex); return m_finished; }
    bool cancelled(int call) const { std::lock_guard lock(m_mutex); return m_checks.value(call)(); }
    VaultIndex previous(int call) const { std::lock_guard lock(m_mutex); return m_previous.value(call); }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_calls = 0;
    int m_finished = 0;
    QList<CancellationCheck> m_checks;
    QList<VaultIndex> m_previous;
    QMap<int, std::optional<VaultIndex>> m_released;
};

VaultIndex indexOf(int noteCount)
{
    VaultIndex index;
    for (int note = 0; note < noteCount; ++note)
        index.notes.append(IndexedNote{QStringLiteral("n%1").arg(note), QStringLiteral("n%1").arg(note), {}});
    return index;
}

void putNotes(const QString& vault, const QStringList& files)
{
    for (const QString& file : files)
        DataFolder::write(vault + u'/' + file, "# note\n");
}

class AppModelIndexTest : public ::testing::Test, protected Session {
protected:
    void TearDown() override { model.reset(); }   // before the scanner its scans call

    GatedScanner scanner;
    int indexChanges = 0;

    // A model whose draft goes to one destination in `vault`, counting the
    // index callbacks.
    void startIn(const QString& vault)
    {
        auto environment = environmentWith(clock);
        environment.scanVault = scanner.function();
        launchWith(preferencesWith({makeDestination("Notes", "n", vault)}), std::nullopt, environment);
        model->onIndexChanged = [this] { ++indexChanges; };
    }
};

TEST_F(AppModelIndexTest, TypingInTheSameVaultNeverRescansAndOnlyTheLatestForcedRefreshPublishes)
{
    for (const bool staleFirst : {false, true}) {
        SCOPED_TRACE(staleFirst ? "superseded scan finishes first" : "superseded scan finishes last");
        const int before = scanner.calls();
        indexChanges = 0;
        startIn(data.folder(staleFirst ? "first" : "last"));
        EXPECT_EQ(model->indexState(), IndexState::loading());
        ASSERT_TRUE(waitUntil([&] { return scanner.calls() == before + 1; }));
        scanner.release(before, indexOf(1));
        ASSERT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(1); }));
        EXPECT_EQ(indexChanges, 1);
        type("a");
        type("ab");
        spin(50ms);
        EXPECT_EQ(scanner.calls(), before + 1);

        indexChanges = 0;
        model->refreshIndex(true);
        EXPECT_EQ(model->indexState(), IndexState::loading());
        EXPECT_EQ(model->indexCount(), 1);   // kept while loading
        model->refreshIndex(true);
        ASSERT_TRUE(waitUntil([&] { return scanner.calls() == before + 3; }));
        // The two scans start on pool threads in either order: the superseded
        // one is the one whose cancellation flag is set.
        ASSERT_NE(scanner.cancelled(before + 1), scanner.cancelled(before + 2));
        const int stale = scanner.cancelled(before + 1) ? before + 1 : before + 2;
        const int latest = stale == before + 1 ? before + 2 : before + 1;

        scanner.release(staleFirst ? stale : latest, indexOf(staleFirst ? 5 : 0));
        scanner.release(staleFirst ? latest : stale, indexOf(staleFirst ? 0 : 5));
        ASSERT_TRUE(waitUntil([&] { return scanner.finished() == before + 3; }));
        spin(50ms);   // both outcomes handed back
        EXPECT_EQ(model->indexState(), IndexState::ready(0));
        EXPECT_EQ(indexChanges, 1);
    }
}

TEST_F(AppModelIndexTest, EachScanIsLentTheLatestIndexPublishedForItsVaultAndNoOther)
{
    const QString first = data.folder("first");
    const QString second = data.folder("second");
    putNotes(first, {"a.md"});
    putNotes(second, {"b.md", "c.md"});
    auto environment = environmentWith(clock);
    environment.scanVault = scanner.function();
    launchWith(preferencesWith({makeDestination("Notes", "n", first), makeDestination("Other", "o", second)}),
               std::nullopt, environment);
    ASSERT_TRUE(waitUntil([&] { return scanner.calls() == 1; }));
    EXPECT_EQ(scanner.previous(0), VaultIndex());
    scanner.release(0);
    ASSERT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(1); }));

    // Two showings in a row: both lent the published index; the superseded
    // one's late result is never lent.
    model->refreshIndex(true);
    model->refreshIndex(true);
    ASSERT_TRUE(waitUntil([&] { return scanner.calls() == 3; }));
    for (const int call : {1, 2}) {
        EXPECT_EQ(scanner.previous(call), VaultIndex::scan(first));
        EXPECT_NE(scanner.previous(call).memo, nullptr);
    }
    const int stale = scanner.cancelled(1) ? 1 : 2;
    scanner.release(3 - stale);
    ASSERT_TRUE(waitUntil([&] { return scanner.finished() == 2; }));
    scanner.release(stale, indexOf(5));
    ASSERT_TRUE(waitUntil([&] { return scanner.finished() == 3; }));
    spin(50ms);
    model->refreshIndex(true);
    ASSERT_TRUE(waitUntil([&] { return scanner.calls() == 4; }));
    EXPECT_EQ(scanner.previous(3), VaultIndex::scan(first));
    scanner.release(3);

    // Another vault starts afresh.
    type("@o x");
    ASSERT_TRUE(waitUntil([&] { return scanner.calls() == 5; }));
    EXPECT_EQ(scanner.previous(4), VaultIndex());
    EXPECT_EQ(scanner.previous(4).memo, nullptr);
    scanner.release(4);
    ASSERT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(2); }));
}

TEST_F(AppModelIndexTest, ARefreshEndsReadyOrWithTheReasonTheFolderCannotBeRead)
{
    // Notes in an Obsidian vault, captured into one of its subfolders: the
    // delivery form is re-rooted at the vault and carries no bookmark.
    const QString vault = data.folder("Vault");
    QDir().mkpath(vault + "/.obsidian");
    putNotes(vault, {"top.md", "Sub/inner.md"});
    const QString sub = vault + "/Sub";
    const QString missing = data.path() + "/Missing";
    const QString scanFailure = errorMessageOf([&] { VaultIndex::scan(missing); }).value_or("");
    ASSERT_FALSE(scanFailure.isEmpty());
    const struct {
        const char* name;
        bool requiresAuthorization;
        QString folder;
        bool bookmarked;
        IndexState expected;
    } cases[] = {
        {"sandboxed, reached through the stored bookmark", true, sub, true, IndexState::ready(2)},
        {"direct, folder gone", false, missing, false, IndexState::failed(scanFailure)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session other(c.requiresAuthorization);
        Destination notes = makeDestination("Notes", "n", c.folder);
        if (c.bookmarked)
            notes.vaultBookmark = VaultAccess::bookmark(c.folder);
        AppModel& model = other.launchWith(preferencesWith({notes}));
        if (c.folder == sub) {
            ASSERT_EQ(model.preferences().deliveryDestinations().first().vaultBookmark, std::nullopt);
        }

        ASSERT_TRUE(waitUntil([&] { return model.indexState() != IndexState::loading(); }));
        EXPECT_EQ(model.indexState(), c.expected);
    }
}

} // namespace
} // namespace quillor
