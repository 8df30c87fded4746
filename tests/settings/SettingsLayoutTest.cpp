// The settings window's sections at its default size and at its smallest:
// nothing cut, nothing squeezed, no room left unused that a list could fill.

#include "SettingsTestSupport.h"

#include "core/Json.h"
#include "core/L10n.h"
#include "settings/AttachmentSettings.h"
#include "settings/HistorySettingsPage.h"
#include "settings/HistoryView.h"
#include "settings/ReferenceSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTextLayout>

namespace quillor::test {
namespace {

const QSize defaultSize(1000, 700);
const QSize smallestSize(880, 640);

class SettingsLayoutTest : public SettingsViewTest {
protected:
    void openAt(const QSize& size, SettingsSection section, const Preferences& preferences)
    {
        // The window of an earlier size goes before the model it shows.
        window.reset();
        navigation.setSection(section);
        open(preferences);
        window->resize(size);
        turn();
    }
    Preferences withVault() const
    {
        Preferences preferences = preferencesWith({makeDestination("Carnet", "ca", session.data.folder("Vault"))});
        preferences.automaticallyCheckUpdates = false;
        return preferences;
    }
    // One delivered capture in the history, its note in the vault.
    void deliverOne() const
    {
        const Capture capture(QUuid::createUuid(), ReferenceDate{1000}, QStringLiteral("Corps"), {}, {});
        const QString id = Json::uuidText(capture.id);
        const QString note = session.data.folder("Vault") + QStringLiteral("/Note.md");
        session.data.put("History/" + id + ".json", bytesOf(capture));
        const DeliveryReceipt receipt{id, note, "2026-01-02T10:00:00Z", QStringLiteral("Carnet")};
        session.data.put("Receipts/" + id + ".json", Json::serialize(receipt.toJson()));
    }
};

TEST_F(SettingsLayoutTest, TheHistoryFillsItsSectionAndItsButtonsKeepTheirTitles)
{
    deliverOne();
    for (const QSize size : {defaultSize, smallestSize}) {
        SCOPED_TRACE(size.width());
        openAt(size, SettingsSection::history, withVault());
        auto* page = qobject_cast<HistorySettingsPage*>(view->form()->page());
        ASSERT_NE(page, nullptr);
        HistoryView* history = page->history();
        ASSERT_TRUE(waitUntil([&] { return history->list()->model()->rowCount() == 1; }));
        history->list()->setCurrentIndex(history->list()->model()->index(0, 0));
        turn();

        // Down to the form's bottom margin.
        QWidget* viewport = view->form()->viewport();
        const int bottom = history->mapTo(viewport, QPoint(0, history->height())).y();
        EXPECT_GE(bottom, viewport->height() - 24 - 1);
        EXPECT_LE(bottom, viewport->height());

        for (QPushButton* button : page->findChildren<QPushButton*>()) {
            if (!button->isVisibleTo(window.get()))
                continue;
            SCOPED_TRACE(button->text().toStdString());
            EXPECT_GE(button->width(), button->sizeHint().width()) << "a squeezed button";
        }
    }
}

// "Lokale Erfassungen" beside "Aktualisieren" is wider than the list.
TEST_F(SettingsLayoutTest, TheHistoryListsTitleAndButtonFitInEveryLanguage)
{
    const QStringList languages = L10n::availableLanguages();
    ASSERT_GE(languages.size(), 5);
    for (const QString& language : languages) {
        SCOPED_TRACE(language.toStdString());
        L10n::configure(language);
        openAt(smallestSize, SettingsSection::history, withVault());
        L10n::configure(QStringLiteral("fr"));
        auto* page = qobject_cast<HistorySettingsPage*>(view->form()->page());
        ASSERT_NE(page, nullptr);
        QPushButton* refresh = page->history()->refreshButton();
        EXPECT_GE(refresh->width(), refresh->sizeHint().width());
        const QList<QLabel*> titles = refresh->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(titles.size(), 1);
        QLabel* title = titles.first();
        EXPECT_GE(title->width(), title->fontMetrics().horizontalAdvance(title->text())) << "a cut title";
        EXPECT_LT(title->geometry().right() + 4, refresh->geometry().left()) << "a title against the button";
        EXPECT_LE(refresh->geometry().right(), refresh->parentWidget()->width());
    }
}

TEST_F(SettingsLayoutTest, GesturesTakeTheRoomTheyNeedAndBreakOnlyBetweenGestures)
{
    for (const QSize size : {defaultSize, smallestSize}) {
        for (const SettingsSection section : {SettingsSection::shortcuts, SettingsSection::guide}) {
            SCOPED_TRACE(std::to_string(size.width()) + " " + section.rawValue().toStdString());
            openAt(size, section, withVault());
            auto* page = qobject_cast<ReferenceSettingsPage*>(view->form()->page());
            ASSERT_NE(page, nullptr);
            const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            for (QLabel* gesture : page->findChildren<QLabel*>()) {
                if (!gesture->isVisibleTo(window.get()) || gesture->font() != fixed)
                    continue;
                SCOPED_TRACE(gesture->text().toStdString());
                // Every gesture list of the French texts fits on one line there.
                EXPECT_GE(gesture->width(), gesture->fontMetrics().horizontalAdvance(gesture->text()));
                EXPECT_LT(gesture->height(), 2 * gesture->fontMetrics().lineSpacing());
            }
        }
    }

    // Narrower than its gestures, a row breaks its line between two of them.
    auto* last = qobject_cast<ReferenceSettingsPage*>(view->form()->page());
    ASSERT_NE(last, nullptr);
    QLabel* links = last->gesture(QStringLiteral("guide-url"));
    ASSERT_NE(links, nullptr);
    for (const int width : {60, 120, 200}) {
        SCOPED_TRACE(width);
        QTextLayout layout(links->text(), links->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);   // as a word-wrapped label lays it out
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            const int start = line.textStart();
            if (start > 0) {
                EXPECT_EQ(links->text().mid(start - 2, 2), QStringLiteral("\u00B7 ")) << "a break at " << start;
            }
        }
        layout.endLayout();
    }
}

TEST_F(SettingsLayoutTest, TheAttachmentLocationShownByUntickingObsidianIsNotCut)
{
    const QString vault = session.data.folder(QStringLiteral("Vault"));
    QDir().mkpath(vault + QStringLiteral("/.obsidian"));
    DataFolder::write(vault + QStringLiteral("/.obsidian/app.json"), R"({"attachmentFolderPath": "Assets"})");
    for (const QSize size : {defaultSize, smallestSize}) {
        SCOPED_TRACE(size.width());
        Destination destination = makeDestination("Carnet", "ca", vault);
        Preferences preferences = preferencesWith({destination});
        preferences.automaticallyCheckUpdates = false;
        openAt(size, SettingsSection::destinations, preferences);
        AttachmentSettings* block = destinations()->row(destination.id)->attachments();
        ASSERT_TRUE(block->obsidianToggle()->isChecked());
        block->obsidianToggle()->click();
        turn();
        QComboBox* picker = block->locationPicker();
        ASSERT_TRUE(picker->isVisibleTo(window.get()));
        QStyleOptionComboBox option;
        option.initFrom(picker);
        option.rect = picker->rect();
        const QRect field = picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                             QStyle::SC_ComboBoxEditField, picker);
        for (int i = 0; i < picker->count(); ++i)
            EXPECT_GE(field.width(), picker->fontMetrics().horizontalAdvance(picker->itemText(i)))
                << picker->itemText(i).toStdString();
    }
}

} // namespace
} // namespace quillor::test
