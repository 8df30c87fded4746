#include "settings/ReleaseNotesDialog.h"

#include "core/L10n.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <utility>

namespace quillor {

namespace {

constexpr int spacing = 16;
constexpr int margin = 24;
constexpr int releaseSpacing = 20;
constexpr int noteSpacing = 8;
constexpr double titleScale = 1.4;

QLabel* textLabel(const QString& text, const QString& name)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void makeBold(QLabel* label, double scale = 1.0)
{
    QFont font = label->font();
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
}

void makeSecondary(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
}

QString titleText(const ReleaseNotes& notes)
{
    if (notes.update)
        return L10n::format(QStringLiteral("Quillor %@ est disponible."), {notes.update->version});
    return L10n::text(QStringLiteral("Nouveautés de Quillor"));
}

QString calloutText(const ReleaseNotes& notes)
{
    if (notes.storeDistribution)
        return L10n::text(QStringLiteral("Les mises à jour de cette application sont gérées par le Mac App Store."));
    return L10n::text(QStringLiteral("Télécharge l’installateur, puis quitte Quillor et ouvre le fichier .pkg. "
                                     "Tes réglages et brouillons seront conservés."));
}

QWidget* releaseBlock(const PublishedRelease& release)
{
    auto* block = new QWidget;
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(noteSpacing);
    const QString heading = release.version + QStringLiteral(" · ") + release.date;
    auto* headingLabel = textLabel(heading, QStringLiteral("heading"));
    makeBold(headingLabel);
    layout->addWidget(headingLabel);
    for (const QString& line : release.notes)
        layout->addWidget(textLabel(QStringLiteral("• ") + line, QStringLiteral("note")));
    for (auto* label : block->findChildren<QLabel*>())
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return block;
}

} // namespace

ReleaseNotesDialog::ReleaseNotesDialog(const ReleaseNotes& notes, OpenUrl openUrl, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , m_notes(notes)
    , m_openUrl(std::move(openUrl))
{
    setWindowTitle(L10n::text(QStringLiteral("Nouveautés de Quillor")));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(width, height);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(spacing);
    layout->setContentsMargins(margin, margin, margin, margin);

    auto* title = textLabel(titleText(m_notes), QStringLiteral("title"));
    makeBold(title, titleScale);
    layout->addWidget(title);

    auto* installed = textLabel(L10n::format(QStringLiteral("Version installée : %@"), {m_notes.installed}),
                                QStringLiteral("installed"));
    makeSecondary(installed);
    layout->addWidget(installed);

    layout->addWidget(releaseList(), 1);

    if (m_notes.update) {
        auto* callout = textLabel(calloutText(m_notes), QStringLiteral("callout"));
        makeSecondary(callout);
        layout->addWidget(callout);
    }
    layout->addWidget(buttonRow());
}

QWidget* ReleaseNotesDialog::releaseList() const
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(releaseSpacing);
    for (const PublishedRelease& release : m_notes.releases)
        layout->addWidget(releaseBlock(release));
    layout->addStretch(1);

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("releases"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setWidget(content);
    return scroll;
}

QWidget* ReleaseNotesDialog::buttonRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    // Escape reaches reject() through QDialog itself.
    auto* close = new QPushButton(L10n::text(QStringLiteral("Fermer")));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &ReleaseNotesDialog::reject);
    layout->addWidget(close, 0, Qt::AlignVCenter);
    layout->addStretch(1);

    if (m_notes.update) {
        const QString label = m_notes.storeDistribution ? L10n::text(QStringLiteral("Ouvrir le Mac App Store"))
                                                        : L10n::text(QStringLiteral("Mettre à jour Quillor"));
        auto* install = new QPushButton(label);
        install->setObjectName(QStringLiteral("install"));
        install->setAutoDefault(false);
        install->setEnabled(m_notes.installLink().has_value());
        connect(install, &QPushButton::clicked, this, &ReleaseNotesDialog::install);
        layout->addWidget(install, 0, Qt::AlignVCenter);
    }
    return row;
}

void ReleaseNotesDialog::install()
{
    const std::optional<QUrl> link = m_notes.installLink();
    // A link that could not be opened keeps the dialog, so the user can try
    // again or copy the notes.
    if (link && m_openUrl(*link))
        Q_EMIT closeRequested();
}

void ReleaseNotesDialog::reject() { Q_EMIT closeRequested(); }

void ReleaseNotesDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closeRequested();
}

ReleaseNotesDialogPresenter::ReleaseNotesDialogPresenter(OpenUrl openUrl)
    : m_openUrl(std::move(openUrl))
{
    if (!m_openUrl)
        m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

ReleaseNotesDialogPresenter::~ReleaseNotesDialogPresenter() { delete std::exchange(m_dialog, nullptr); }

void ReleaseNotesDialogPresenter::show(const ReleaseNotes& notes, std::function<void()> closed)
{
    if (m_dialog)
        return;
    m_dialog = new ReleaseNotesDialog(notes, m_openUrl);
    m_closed = std::move(closed);
    QObject::connect(m_dialog, &ReleaseNotesDialog::closeRequested, m_dialog, [this] { close(); });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_dialog->move(screen->availableGeometry().center() - m_dialog->rect().center());
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void ReleaseNotesDialogPresenter::close()
{
    ReleaseNotesDialog* dialog = std::exchange(m_dialog, nullptr);
    if (!dialog)
        return;
    dialog->hide();
    // The request may come from one of the dialog's own handlers.
    dialog->deleteLater();
    if (const auto closed = std::exchange(m_closed, {}))
        closed();
}

} // namespace quillor
