#include "settings/ReferenceSettingsPage.h"

#include "core/L10n.h"
#include "model/AppModel.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsRow.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsView.h"
#include "settings/WrappingLabel.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

namespace quillor {

namespace {

// A row's gestures as shown: a line may end only after the dot between two
// gestures, never inside one ("[libellé](https://…)" stays whole), so a word
// joiner holds together what Unicode would allow to break inside a gesture,
// and the dot keeps to the gesture before it.
QString unbreakableGestures(const QString& gestures)
{
    static const QString separator = QStringLiteral(" \u00B7 ");
    QStringList parts = gestures.split(separator);
    for (QString& part : parts) {
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, part);
        QString joined;
        qsizetype from = 0;
        for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < part.size(); at = breaks.toNextBoundary()) {
            joined += QStringView(part).mid(from, at - from);
            joined += QChar(0x2060);
            from = at;
        }
        joined += QStringView(part).mid(from);
        part = joined;
    }
    return parts.join(QStringLiteral("\u00A0\u00B7 "));
}

} // namespace

ReferenceSettingsPage::ReferenceSettingsPage(SettingsView& view, SettingsForm& form, bool isGuide)
    : m_view(view), m_isGuide(isGuide), m_language(L10n::currentLanguage())
{
    const QList<ShortcutGroup> shown =
        isGuide ? QList<ShortcutGroup>{ShortcutGroup::editing, ShortcutGroup::suggestions} : ShortcutGroups::allCases();
    const QList<SettingsEntry> all = entries();
    m_gestureFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const ShortcutGroup group : shown) {
        auto* box = new SettingsGroup(view.navigation(), {}, ShortcutGroups::header(group), this);
        for (const SettingsEntry& entry : all) {
            if (entry.shortcutGroup() != group)
                continue;
            SettingsRow* row = buildRow(entry);
            box->body()->addWidget(row);
            form.registerRow(entry.id, row);
        }
        groups()->addWidget(box);
    }
}

QList<SettingsEntry> ReferenceSettingsPage::entries() const
{
    const QString& hotkey = m_view.model().hotkeyLabel();
    const QString& prefix = m_view.state().candidate().routePrefix;
    return m_isGuide ? SettingsCatalog::guide(hotkey, prefix) : SettingsCatalog::shortcuts(hotkey, prefix);
}

SettingsRow* ReferenceSettingsPage::buildRow(const SettingsEntry& entry)
{
    auto* row = new SettingsRow(m_view.navigation(), entry.id);
    auto* lines = new QVBoxLayout(row);
    lines->setContentsMargins(6, 6, 6, 6);
    lines->setSpacing(5);

    auto* first = new QHBoxLayout;
    first->setSpacing(16);
    auto* title = new QLabel(entry.title);
    QFont medium = title->font();
    medium.setWeight(QFont::Medium);
    title->setFont(medium);
    first->addWidget(title, 0, Qt::AlignBaseline);
    // The gestures take all the room the title leaves, aligned right: they
    // wrap only when their whole line does not fit there.
    auto* gesture = new WrappingLabel;
    gesture->setFont(m_gestureFont);
    gesture->setTextInteractionFlags(Qt::TextSelectableByMouse);
    gesture->setAlignment(Qt::AlignRight | Qt::AlignTop);
    first->addWidget(gesture, 1, Qt::AlignBaseline);
    lines->addLayout(first);
    m_gestures.insert(entry.id, gesture);

    if (!entry.detail.isEmpty()) {
        auto* detail = new WrappingLabel(entry.detail);
        SettingsStyle::makeCaption(detail);
        lines->addWidget(detail);
    }
    if (entry.id == QLatin1String("key-open")) {
        m_configure = new QPushButton(L10n::text(QStringLiteral("Configurer le raccourci…")));
        connect(m_configure, &QPushButton::clicked, this, [this] {
            // The target first: the general form, made on the section
            // change, then scrolls to it as it appears.
            m_view.navigation().setTarget(QStringLiteral("capture"));
            m_view.navigation().setSection(SettingsSection::general);
        });
        lines->addWidget(m_configure, 0, Qt::AlignLeft);
    }
    m_rows.insert(entry.id, row);
    showGesture(entry);
    return row;
}

void ReferenceSettingsPage::showGesture(const SettingsEntry& entry)
{
    QLabel* gesture = m_gestures.value(entry.id);
    if (const QString shown = unbreakableGestures(entry.gesture); gesture->text() != shown)
        gesture->setText(shown);
    gesture->setVisible(!entry.gesture.isEmpty());
    const QString name = entry.gesture.isEmpty() ? entry.title : entry.title + QStringLiteral(", ") + entry.gesture;
    if (SettingsRow* row = m_rows.value(entry.id); row->accessibleName() != name)
        row->setAccessibleName(name);
}

void ReferenceSettingsPage::sync()
{
    for (const SettingsEntry& entry : entries())
        showGesture(entry);
}

bool ReferenceSettingsPage::reusable() const
{
    return m_language == L10n::currentLanguage();
}

void ReferenceSettingsPage::hideEvent(QHideEvent* event)
{
    // Put away while another section shows (not hidden with its window), the
    // page comes back without a selection, as a new one would.
    if (!isVisibleTo(window())) {
        for (QLabel* gesture : std::as_const(m_gestures)) {
            if (gesture->hasSelectedText())
                gesture->setSelection(0, 0);
        }
    }
    SettingsPage::hideEvent(event);
}

} // namespace quillor
