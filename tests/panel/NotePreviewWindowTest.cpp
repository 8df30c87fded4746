#include "PanelTestSupport.h"

#include "core/CaptureError.h"
#include "panel/NotePreviewWindow.h"
#include "vault/NoteFiles.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSemaphore>
#include <QTextCursor>

#include <memory>

namespace quillor {
namespace {

using namespace test;

struct PreviewBench : Session {
    QString vault = data.folder(QStringLiteral("Vault"));

    explicit PreviewBench(bool withVault = true)
    {
        data.put(QStringLiteral("preferences.json"),
                 preferencesWith({makeDestination(QStringLiteral("Notes"), QStringLiteral("n"),
                                                  withVault ? vault : QString())})
                     .encode());
        launch();
    }
    void note(const QString& path, const QByteArray& bytes) const { DataFolder::write(vault + u'/' + path, bytes); }

    // Once the vault is scanned and, when `settled`, the note read.
    std::unique_ptr<NotePreviewWindow> open(const QString& target, NotePreviewWindow::NoteReader reader = {},
                                            bool settled = true)
    {
        auto window = std::make_unique<NotePreviewWindow>(target, *model, std::move(reader));
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        EXPECT_TRUE(waitUntil([&] { return settled ? !window->isBusy() : window->selected().has_value(); }));
        return window;
    }
};

QPushButton* button(const NotePreviewWindow& window, const char* text)
{
    for (QPushButton* found : window.findChildren<QPushButton*>()) {
        if (found->text() == QString::fromUtf8(text))
            return found;
    }
    ADD_FAILURE() << text;
    return nullptr;
}

bool canOpen(const NotePreviewWindow& w) { return button(w, "Ouvrir la note")->isEnabled(); }
bool canExport(const NotePreviewWindow& w) { return button(w, "Exporter la note…")->isEnabled(); }

bool showsNoMatch(const NotePreviewWindow& window)
{
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().startsWith(QStringLiteral("Aucune note correspondante")))
            return label->isVisibleTo(&window);
    }
    return false;
}

TEST(NotePreviewWindowTest, TheVaultsMatchingNotesAreListedAndOneMatchIsShownAtOnce)
{
    PreviewBench bench;
    bench.note(QStringLiteral("notes/Projet.md"), "Bonjour\n");
    bench.note(QStringLiteral("A/projet.md"), "a");
    bench.note(QStringLiteral("B/Projet.md"), "b");
    bench.note(QStringLiteral("Autre.md"), "c");

    const auto one = bench.open(QStringLiteral("notes/Projet"));
    EXPECT_EQ(one->paths(), QStringList{QStringLiteral("notes/Projet")});
    EXPECT_EQ(one->selected(), QStringLiteral("notes/Projet"));
    EXPECT_EQ(one->text(), QStringLiteral("Bonjour\n"));
    EXPECT_TRUE(canOpen(*one));
    EXPECT_TRUE(canExport(*one));
    EXPECT_FALSE(showsNoMatch(*one));

    const auto several = bench.open(QStringLiteral("Projet"));
    EXPECT_EQ(several->paths().size(), 3);
    EXPECT_EQ(several->selected(), std::nullopt);
    EXPECT_EQ(several->text(), QString());
    EXPECT_FALSE(canOpen(*several));
    EXPECT_FALSE(canExport(*several));

    const auto none = bench.open(QStringLiteral("Absente"));
    EXPECT_TRUE(none->paths().isEmpty());
    EXPECT_TRUE(showsNoMatch(*none));
    EXPECT_EQ(none->error(), std::nullopt);
}

TEST(NotePreviewWindowTest, FailuresShowInRedAndKeepExportAway)
{
    PreviewBench noVault(false);
    const auto missing = noVault.open(QStringLiteral("Projet"));
    EXPECT_EQ(missing->error(), CaptureError::missingVault().localizedDescription());
    EXPECT_TRUE(missing->paths().isEmpty());

    PreviewBench bench;
    bench.note(QStringLiteral("Latin.md"), "caf\xe9\n");
    const auto latin = bench.open(QStringLiteral("Latin"));
    EXPECT_EQ(latin->error(), QStringLiteral("La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée."));
    EXPECT_EQ(latin->text(), QString());
    EXPECT_TRUE(canOpen(*latin));
    EXPECT_FALSE(canExport(*latin));
}

TEST(NotePreviewWindowTest, ExportWritesTheShownTextAndNeverWhileReading)
{
    PreviewBench bench;
    const QByteArray bytes = "# Projet\r\nÉtapes : ①\n";
    bench.note(QStringLiteral("notes/Projet.md"), bytes);
    const auto window = bench.open(QStringLiteral("Projet"));
    const QString exported = bench.data.folder(QStringLiteral("Export")) + QStringLiteral("/Projet.md");
    DataFolder::write(exported, "ancien");
    window->exportNote(exported);
    EXPECT_EQ(DataFolder::read(exported), bytes);

    // A note being read has no text yet: nothing may be exported as it.
    QSemaphore release;
    const auto slow = bench.open(QStringLiteral("Projet"), [&](const QString& root, const QString& relative) {
        release.acquire();
        return NoteFiles::read(root + u'/' + relative);
    }, false);
    EXPECT_TRUE(slow->isBusy());
    EXPECT_FALSE(canExport(*slow));
    slow->exportNote(exported + QStringLiteral(".2"));
    EXPECT_FALSE(QFileInfo::exists(exported + QStringLiteral(".2")));
    release.release();
    ASSERT_TRUE(waitUntil([&] { return !slow->isBusy(); }));
    EXPECT_TRUE(canExport(*slow));

    // Into a folder that is not there: the red line, export off again.
    window->exportNote(bench.data.path() + QStringLiteral("/absent/Projet.md"));
    EXPECT_TRUE(window->error());
    EXPECT_FALSE(canExport(*window));
}

TEST(NotePreviewWindowTest, ASlowReadOvertakenByAnotherSelectionIsDropped)
{
    PreviewBench bench;
    bench.note(QStringLiteral("A/Projet.md"), "texte A");
    bench.note(QStringLiteral("B/Projet.md"), "texte B");
    QSemaphore releaseA;
    const auto window = bench.open(QStringLiteral("Projet"), [&](const QString& root, const QString& relative) {
        if (relative.startsWith(u'A'))
            releaseA.acquire();
        return NoteFiles::read(root + u'/' + relative);
    });
    window->select(QStringLiteral("A/Projet"));
    window->select(QStringLiteral("B/Projet"));
    ASSERT_TRUE(waitUntil([&] { return window->text() == QStringLiteral("texte B"); }));
    releaseA.release();
    ASSERT_TRUE(waitUntil([&] { return !window->isBusy(); }));
    EXPECT_EQ(window->text(), QStringLiteral("texte B"));
    EXPECT_EQ(window->selected(), QStringLiteral("B/Projet"));
}

TEST(NotePreviewWindowTest, EachCtrlClickOnAWikiLinkOpensItsOwnWindow)
{
    PanelSession session;
    DataFolder::write(session.vault + QStringLiteral("/notes/Projet.md"), "Bonjour\n");
    CaptureView& view = session.open();
    CaptureTextView* editor = view.editor();
    editor->setContent(EditorContent::plain(QStringLiteral("voir [[Projet]]")));
    editor->refreshPresentation();
    QTextCursor cursor(editor->document());
    cursor.setPosition(9);
    const QPoint onLink = editor->cursorRect(cursor).center();
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::ControlModifier, onLink);
    const QList<QPointer<NotePreviewWindow>> windows = NotePreviewController::windows();
    ASSERT_EQ(windows.size(), 2);
    for (NotePreviewWindow* window : windows) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Projet"));
        EXPECT_EQ(window->size(), QSize(680, 520));
        ASSERT_TRUE(waitUntil([&] { return !window->isBusy(); }));
        EXPECT_EQ(window->text(), QStringLiteral("Bonjour\n"));
    }
    windows.first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(NotePreviewController::windows().size(), 1);
    EXPECT_TRUE(windows.last());
    windows.last()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(NotePreviewController::windows().isEmpty());
}

} // namespace
} // namespace quillor
