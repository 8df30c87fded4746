#include "settings/ReleaseNotesDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>

using namespace quillor;

namespace {

PublishedRelease release(const QString& version, const QStringList& notes = {}, bool notarized = true)
{
    return PublishedRelease{version, "2025-01-31", notes, QStringLiteral("Quillor-%1.AppImage").arg(version),
                            notarized, "universal", "14.0"};
}

ReleaseNotes releaseNotes(const std::optional<PublishedRelease>& update, bool store = false)
{
    return ReleaseNotes{{release("1.2.0", {"Plus rapide", "Moins de bugs"}), release("1.1.0")}, "1.0.0", update, store,
                        QUrl("https://updates.example.org"), UpdatePlatform{std::nullopt, "x86_64", ".AppImage"}};
}

// The texts of the dialog's labels or buttons, in the order they were added.
template <typename Widget>
QStringList texts(const QWidget& dialog)
{
    QStringList result;
    for (const Widget* widget : dialog.findChildren<Widget*>())
        result.append(widget->text());
    return result;
}

TEST(ReleaseNotesDialogTest, ContentFollowsTheOfferedRelease)
{
    // Every label in reading order: title, installed version, each release's
    // heading and note lines, then the install explanation when one is offered.
    const QStringList offered = {"Quillor 1.2.0 est disponible."};
    const QStringList releases = {"Version installée : 1.0.0", "1.2.0 · 2025-01-31", "• Plus rapide",
                                  "• Moins de bugs", "1.1.0 · 2025-01-31"};
    const QStringList download = {"Télécharge l’installateur, puis quitte Quillor et lance le fichier .AppImage. "
                                   "Tes réglages et brouillons seront conservés."};
    const QStringList store = {"Les mises à jour de cette application sont gérées par la logithèque."};
    const struct {
        const char* name;
        ReleaseNotes notes;
        QStringList labels;
        QStringList buttons;
        bool installEnabled;
    } cases[] = {
        {"history", releaseNotes(std::nullopt), QStringList{"Nouveautés de Quillor"} + releases, {"Fermer"}, false},
        {"offered", releaseNotes(release("1.2.0")), offered + releases + download, {"Fermer", "Mettre à jour Quillor"},
         true},
        {"not notarized", releaseNotes(release("1.2.0", {}, false)), offered + releases + download,
         {"Fermer", "Mettre à jour Quillor"}, false},
        {"store", releaseNotes(release("1.2.0"), true), offered + releases + store, {"Fermer", "Ouvrir la logithèque"},
         true},
    };
    for (const auto& c : cases) {
        const ReleaseNotesDialog dialog(c.notes, [](const QUrl&) { return true; });
        EXPECT_EQ(texts<QLabel>(dialog), c.labels) << c.name;
        EXPECT_EQ(texts<QPushButton>(dialog), c.buttons) << c.name;
        const auto* install = dialog.findChild<QPushButton*>("install");
        EXPECT_EQ(install && install->isEnabled(), c.installEnabled) << c.name;
        EXPECT_EQ(dialog.windowTitle(), "Nouveautés de Quillor") << c.name;
        EXPECT_EQ(dialog.size(), QSize(560, 520)) << c.name;
        EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal) << c.name;
    }
}

class ReleaseNotesPresenterTest : public ::testing::Test {
protected:
    void show(const ReleaseNotes& notes) { presenter.show(notes, [this] { ++closedCount; }); }

    QList<QUrl> opened;
    bool openSucceeds = true;
    ReleaseNotesDialogPresenter presenter{[this](const QUrl& url) {
        opened.append(url);
        return openSucceeds;
    }};
    int closedCount = 0;
};

TEST_F(ReleaseNotesPresenterTest, OneDialogAtATimeAndEveryWayOutHidesAndDropsItOnce)
{
    const std::function<void(ReleaseNotesDialog&)> ways[] = {
        [](ReleaseNotesDialog& dialog) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &escape);
        },
        [](ReleaseNotesDialog& dialog) { dialog.findChildren<QPushButton*>().first()->click(); },   // "Fermer"
        [](ReleaseNotesDialog& dialog) { dialog.close(); },
        [](ReleaseNotesDialog&) {},   // the checker closes it through the presenter
    };
    int expectedClosed = 0;
    for (const auto& leave : ways) {
        show(releaseNotes(release("1.2.0")));
        const QPointer<ReleaseNotesDialog> dialog = presenter.dialog();
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->isVisible());
        show(releaseNotes(std::nullopt));
        EXPECT_EQ(presenter.dialog(), dialog) << "a second dialog is never opened";
        const QWidgetList windows = QApplication::topLevelWidgets();
        EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                                [](QWidget* w) { return qobject_cast<ReleaseNotesDialog*>(w) && w->isVisible(); }),
                  1);
        leave(*dialog);
        presenter.close();
        presenter.close();
        EXPECT_FALSE(presenter.isOpen());
        EXPECT_EQ(closedCount, ++expectedClosed) << "every close is reported once";
        EXPECT_TRUE(!dialog || !dialog->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull());
    }
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(ReleaseNotesPresenterTest, InstallClosesOnlyWhenTheLinkOpened)
{
    openSucceeds = false;
    show(releaseNotes(release("1.2.0")));
    presenter.dialog()->findChild<QPushButton*>("install")->click();
    EXPECT_EQ(opened, QList<QUrl>({QUrl("https://updates.example.org/downloads/Quillor-1.2.0.AppImage")}));
    EXPECT_TRUE(presenter.isOpen());
    EXPECT_EQ(closedCount, 0);

    openSucceeds = true;
    presenter.dialog()->findChild<QPushButton*>("install")->click();
    EXPECT_FALSE(presenter.isOpen());
    EXPECT_EQ(closedCount, 1);

    show(releaseNotes(release("1.2.0"), true));
    presenter.dialog()->findChild<QPushButton*>("install")->click();
    EXPECT_EQ(opened.last(), storeUpdatesPage());
    EXPECT_FALSE(presenter.isOpen());
}

} // namespace
