#include "panel/CaptureChrome.h"

#include "core/L10n.h"
#include "model/AppModel.h"
#include "panel/AttachmentStrip.h"
#include "panel/CaptureButton.h"
#include "panel/CaptureNotice.h"
#include "panel/CaptureSendButton.h"
#include "panel/ChromeStyle.h"
#include "panel/DestinationMenuButton.h"

#include <QAccessible>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <cmath>

namespace quillor {

namespace {

constexpr int sidePadding = 12;
constexpr int rowPadding = 8;
constexpr int rowSpacing = 8;

// A hairline between the notice and the action row.
class Divider : public QWidget {
public:
    explicit Divider(QWidget* parent) : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QColor line = palette().color(QPalette::WindowText);
        line.setAlphaF(0.12 * 0.65);
        QPainter(this).fillRect(rect(), line);
    }
};

// The action row's ground: the window colour with a faint wash of the text
// colour. Presses that no button takes go on to the view, whose drag handle
// moves the panel.
class ActionRow : public QWidget {
public:
    explicit ActionRow(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        QColor wash = palette().color(QPalette::WindowText);
        wash.setAlphaF(0.055);
        painter.fillRect(rect(), wash);
    }
};

QPushButton* chromeButton(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* button = new CaptureButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

} // namespace

CaptureChrome::CaptureChrome(AppModel& model, QWidget* parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("captureChrome"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_strip = new AttachmentStrip(this);
    m_strip->preview = [this](const CaptureAttachment& attachment) {
        if (m_model.onPreviewImage)
            m_model.onPreviewImage(attachment);
    };
    m_strip->remove = [this](const QUuid& id) {
        if (m_model.onRemoveImage)
            m_model.onRemoveImage(id);
    };

    m_notice = new CaptureNotice;
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->repair = [this] { m_model.chooseCaptureFolder(); };
    m_noticeRow = new QWidget(this);
    auto* noticeLayout = new QVBoxLayout(m_noticeRow);
    noticeLayout->setContentsMargins(sidePadding, 0, sidePadding, rowPadding);
    noticeLayout->addWidget(m_notice);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip);
    layout->addWidget(makeIndexStatusLine());
    layout->addWidget(m_noticeRow);
    layout->addWidget(new Divider(this));
    layout->addWidget(makeActionRow());

    sync();
}

QWidget* CaptureChrome::makeIndexStatusLine()
{
    m_indexStatus = new QWidget(this);
    m_indexStatus->setObjectName(QStringLiteral("indexStatusLine"));
    m_indexLabel = new QLabel(m_indexStatus);
    m_indexLabel->setObjectName(QStringLiteral("indexStatusLabel"));
    ChromeStyle::setFont(m_indexLabel, 10);
    QPalette palette = m_indexLabel->palette();
    palette.setColor(QPalette::WindowText, ChromeStyle::secondaryText(palette));
    m_indexLabel->setPalette(palette);

    m_retry = chromeButton(L10n::text(QStringLiteral("Réessayer")), QStringLiteral("retryIndexButton"), m_indexStatus);
    connect(m_retry, &QPushButton::clicked, this, [this] { m_model.refreshIndex(true); });
    m_chooseFolder = chromeButton(L10n::text(QStringLiteral("Choisir le dossier")),
                                  QStringLiteral("chooseFolderButton"), m_indexStatus);
    connect(m_chooseFolder, &QPushButton::clicked, this, [this] {
        if (openSettings)
            openSettings();
    });

    auto* row = new QHBoxLayout(m_indexStatus);
    row->setContentsMargins(sidePadding, 0, sidePadding, 0);
    row->addWidget(m_indexLabel);
    row->addWidget(m_retry);
    row->addWidget(m_chooseFolder);
    row->addStretch(1);
    return m_indexStatus;
}

QWidget* CaptureChrome::makeActionRow()
{
    auto* actionRow = new ActionRow(this);
    actionRow->setObjectName(QStringLiteral("actionRow"));

    m_attach = chromeButton(QString(), QStringLiteral("attachButton"), actionRow);
    m_attach->setFixedWidth(30);
    m_attach->setIcon(ChromeStyle::paperclip(ChromeStyle::secondaryText(palette())));
    m_attach->setToolTip(L10n::text(QStringLiteral("Joindre des images")));
    m_attach->setAccessibleName(L10n::text(QStringLiteral("Joindre des images")));
    connect(m_attach, &QPushButton::clicked, this, [this] {
        if (m_model.onAttachImages)
            m_model.onAttachImages();
    });

    m_destination = new DestinationMenuButton(m_model, actionRow);
    m_destination->setObjectName(QStringLiteral("destinationButton"));
    m_destination->openSettings = [this] {
        if (openSettings)
            openSettings();
    };

    // An empty stretch, the first thing to shrink; dragging on it moves the panel.
    auto* spacer = new QWidget(actionRow);
    spacer->setObjectName(QStringLiteral("dragSpacer"));
    spacer->setFixedHeight(ChromeStyle::buttonHeight);
    spacer->setMinimumWidth(0);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_cancel = chromeButton(L10n::text(QStringLiteral("Annuler")), QStringLiteral("cancelButton"), actionRow);
    m_cancel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_cancel->setToolTip(L10n::text(QStringLiteral("Fermer et conserver le brouillon")));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (cancel)
            cancel();
    });

    m_send = new CaptureSendButton(actionRow);
    m_send->setObjectName(QStringLiteral("captureButton"));
    connect(m_send, &QPushButton::clicked, this, [this] { m_model.submit(); });

    auto* row = new QHBoxLayout(actionRow);
    row->setContentsMargins(sidePadding, rowPadding, sidePadding, rowPadding);
    row->setSpacing(rowSpacing);
    row->addWidget(m_attach);
    row->addWidget(m_destination);
    row->addWidget(spacer, 1);
    row->addWidget(m_cancel);
    row->addWidget(m_send);
    return actionRow;
}

void CaptureChrome::sync()
{
    const bool saving = m_model.saving();

    const QList<CaptureAttachment> attachments = m_model.currentAttachments();
    m_strip->setAttachments(attachments, m_model.imageReferences());
    m_strip->setTilesEnabled(!saving);
    m_strip->setVisible(!attachments.isEmpty());

    syncIndexStatus();
    syncNotice();

    m_attach->setEnabled(!saving);
    m_destination->sync();
    m_cancel->setEnabled(!saving);
    m_send->setSaving(saving);
    m_send->setEnabled(!saving && m_model.hasContent() && m_model.routeResolution().route().has_value());
}

void CaptureChrome::syncIndexStatus()
{
    const std::optional<CompletionContext>& context = m_model.completionContext();
    const bool shown = context && context->kind != CompletionKind::destination && m_model.completions().isEmpty();
    m_indexStatus->setVisible(shown);
    if (!shown)
        return;
    const IndexState& state = m_model.indexState();
    m_indexLabel->setText(state.label());
    const bool failed = state.kind() == IndexState::Kind::failed;
    m_retry->setVisible(failed);
    m_chooseFolder->setVisible(failed);
}

void CaptureChrome::syncNotice()
{
    const std::optional<QString>& draftError = m_model.draftPersistenceError();
    const std::optional<QString>& error = m_model.error();
    std::optional<QString> notice = draftError ? draftError : error;
    if (!notice)
        notice = m_model.captureDestinationError();

    m_noticeRow->setVisible(notice.has_value());
    if (notice) {
        CaptureNotice::State state;
        state.message = *notice;
        state.isRoutingWarning = !draftError && !error;
        state.offersFolderRepair = !draftError && m_model.canRepairCaptureFolder();
        state.repairDisabled = m_model.saving() || m_model.choosingVault();
        m_notice->setState(state);
    }
    announce(notice);
}

void CaptureChrome::announce(const std::optional<QString>& notice)
{
    const bool changed = notice != m_lastNotice;
    m_lastNotice = notice;
    const bool firstLook = !m_synced;
    m_synced = true;
    if (firstLook || !changed || !notice)
        return;
    QAccessibleEvent alert(m_notice, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    Q_EMIT noticeAnnounced(*notice);
}

int CaptureChrome::idealHeight(int width) const
{
    return hasHeightForWidth() ? heightForWidth(width) : sizeHint().height();
}

bool CaptureChrome::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest)
        Q_EMIT heightMayHaveChanged();
    return handled;
}

void CaptureChrome::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The folders are looked at again, off the UI thread, and followed while
    // the notice can be seen.
    m_model.setPanelShown(true);
}

void CaptureChrome::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_model.setPanelShown(false);
}

void CaptureChrome::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (std::abs(event->size().height() - event->oldSize().height()) > 0)
        Q_EMIT heightMayHaveChanged();
}

} // namespace quillor
