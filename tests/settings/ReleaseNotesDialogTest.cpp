#include "settings/ReleaseNotesDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

using namespace quillor;

namespace {

const QUrl website(QStringLiteral("https://updates.example.org"));
const UpdatePlatform linuxPlatform{std::nullopt, QStringLiteral("x86_64"), QStringLiteral(".AppImage")};

PublishedRelease release(const QString& version, const QStringList& notes = {}, bool notarized = true)
{
    return PublishedRelease{version, QStringLiteral("2025-01-31"), notes, QStringLiteral("Quillor-%1.AppImage").arg(version),
                            notarized, QStringLiteral("universal"), QStringLiteral("14.0")};
}

ReleaseNotes releaseNotes(const std::optional<PublishedRelease>& update, bool store = false)
{
    ReleaseNotes notes;
    notes.releases = {release(QStringLiteral("1.2.0"), {QStringLiteral("Plus rapide"), QStringLiteral("Moins de bugs")}),
                      release(QStringLiteral("1.1.0"))};
    notes.installed = QStringLiteral("1.0.0");
    notes.update = update;
    notes.storeDistribution = store;
    notes.website = website;
    notes.platform = linuxPlatform;
    return notes;
}

QString labelText(const QWidget& dialog, const QString& name)
{
    const auto* label = dialog.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("(none)");
}

QStringList labelTexts(const QWidget& dialog, const QString& name)
{
    QStringList result;
    for (const QLabel* label : dialog.findChildren<QLabel*>(name))
        result.append(label->text());
    return result;
}

QStringList buttonTexts(const QWidget& dialog)
{
    QStringList result;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        result.append(button->text());
    return result;
}

QPushButton* button(const QWidget& dialog, const QString& text)
{
    for (QPushButton* candidate : dialog.findChildren<QPushButton*>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

int openDialogs()
{
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<const ReleaseNotesDialog*>(widget) && widget->isVisible();
    return count;
}

TEST(ReleaseNotesDialogTest, ContentFollowsTheOfferedRelease)
{
    const QString callout = QStringLiteral("Télécharge l’installateur, puis quitte Quillor et lance le fichier .AppImage. "
                                           "Tes réglages et brouillons seront conservés.");
    const struct Case {
        const char* name;
        ReleaseNotes notes;
        QString title;
        QString callout;
        QStringList buttons;
        bool installEnabled;
    } cases[] = {
        {"history", releaseNotes(std::nullopt), "Nouveautés de Quillor", "(none)", {"Fermer"}, false},
        {"offered", releaseNotes(release("1.2.0")), "Quillor 1.2.0 est disponible.", callout,
         {"Fermer", "Mettre à jour Quillor"}, true},
        {"not notarized", releaseNotes(release("1.2.0", {}, false)), "Quillor 1.2.0 est disponible.", callout,
         {"Fermer", "Mettre à jour Quillor"}, false},
        {"store", releaseNotes(release("1.2.0"), true), "Quillor 1.2.0 est disponible.",
         "Les mises à jour de cette application sont gérées par la logithèque.", {"Fermer", "Ouvrir la logithèque"}, true},
    };
    for (const Case& c : cases) {
        const ReleaseNotesDialog dialog(c.notes, [](const QUrl&) { return true; });
        EXPECT_EQ(labelText(dialog, "title"), c.title) << c.name;
        EXPECT_EQ(labelText(dialog, "installed"), "Version installée : 1.0.0") << c.name;
        EXPECT_EQ(labelText(dialog, "callout"), c.callout) << c.name;
        EXPECT_EQ(buttonTexts(dialog), c.buttons) << c.name;
        const auto* install = dialog.findChild<QPushButton*>("install");
        EXPECT_EQ(install && install->isEnabled(), c.installEnabled) << c.name;
        EXPECT_EQ(dialog.windowTitle(), "Nouveautés de Quillor") << c.name;
        EXPECT_EQ(dialog.size(), QSize(560, 520)) << c.name;
        EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal) << c.name;
    }
}

TEST(ReleaseNotesDialogTest, EachReleaseHasItsHeadingAndItsNoteLines)
{
    const ReleaseNotesDialog dialog(releaseNotes(std::nullopt), [](const QUrl&) { return true; });
    EXPECT_EQ(labelTexts(dialog, "heading"), QStringList({"1.2.0 · 2025-01-31", "1.1.0 · 2025-01-31"}));
    EXPECT_EQ(labelTexts(dialog, "note"), QStringList({"• Plus rapide", "• Moins de bugs"}));
}

class ReleaseNotesPresenterTest : public ::testing::Test {
protected:
    void show(const ReleaseNotes& notes)
    {
        presenter.show(notes, [this] { ++closedCount; });
    }

    QList<QUrl> opened;
    bool openSucceeds = true;
    ReleaseNotesDialogPresenter presenter{[this](const QUrl& url) {
        opened.append(url);
        return openSucceeds;
    }};
    int closedCount = 0;
};

TEST_F(ReleaseNotesPresenterTest, OneDialogAtATime)
{
    show(releaseNotes(std::nullopt));
    ReleaseNotesDialog* first = presenter.dialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    show(releaseNotes(release("1.2.0")));
    EXPECT_EQ(presenter.dialog(), first);
    EXPECT_EQ(openDialogs(), 1);
    presenter.close();
    EXPECT_EQ(closedCount, 1);
    presenter.close();
    EXPECT_EQ(closedCount, 1) << "closing twice reports once";
}

TEST_F(ReleaseNotesPresenterTest, EveryWayOutHidesAndDropsTheDialog)
{
    const std::function<void(ReleaseNotesDialog&)> ways[] = {
        [](ReleaseNotesDialog& dialog) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &escape);
        },
        [](ReleaseNotesDialog& dialog) { button(dialog, "Fermer")->click(); },
        [](ReleaseNotesDialog& dialog) { dialog.close(); },
    };
    int expectedClosed = 0;
    for (const auto& leave : ways) {
        show(releaseNotes(release("1.2.0")));
        const QPointer<ReleaseNotesDialog> dialog = presenter.dialog();
        ASSERT_TRUE(dialog);
        leave(*dialog);
        EXPECT_FALSE(presenter.isOpen());
        EXPECT_EQ(closedCount, ++expectedClosed);
        EXPECT_TRUE(!dialog || !dialog->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull());
    }
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(ReleaseNotesPresenterTest, InstallClosesOnlyWhenTheLinkOpened)
{
    const QUrl installer(QStringLiteral("https://updates.example.org/downloads/Quillor-1.2.0.AppImage"));
    openSucceeds = false;
    show(releaseNotes(release("1.2.0")));
    button(*presenter.dialog(), "Mettre à jour Quillor")->click();
    EXPECT_EQ(opened, QList<QUrl>({installer}));
    EXPECT_TRUE(presenter.isOpen());
    EXPECT_EQ(closedCount, 0);

    openSucceeds = true;
    button(*presenter.dialog(), "Mettre à jour Quillor")->click();
    EXPECT_FALSE(presenter.isOpen());
    EXPECT_EQ(closedCount, 1);

    show(releaseNotes(release("1.2.0"), true));
    button(*presenter.dialog(), "Ouvrir la logithèque")->click();
    EXPECT_EQ(opened.last(), storeUpdatesPage());
    EXPECT_FALSE(presenter.isOpen());
}

} // namespace
