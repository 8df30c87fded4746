#include "panel/AttachmentStrip.h"

#include "core/L10n.h"
#include "model/EditorContent.h"
#include "panel/CaptureButtonFeedback.h"

#include <QAbstractButton>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QtConcurrent/QtConcurrentRun>

namespace quillor {

namespace {

constexpr int stripHeight = 68;
constexpr int sidePadding = 12;
constexpr int tileSpacing = 6;
constexpr int thumbnailSize = 48;
constexpr int frameWidth = 1;
// Room above and after the thumbnail for the overhanging badge, so the
// scroll area does not clip it.
constexpr int badgeOverhang = 6;
constexpr int badgeSize = 20;

// The image cropped to fill a square, with rounded corners on a grey frame;
// the frame alone for a null image. Safe on any thread.
QImage thumbnail(const QImage& image)
{
    const int outer = thumbnailSize + 2 * frameWidth;
    QImage framed(outer, outer, QImage::Format_ARGB32_Premultiplied);
    framed.fill(Qt::transparent);
    QPainter painter(&framed);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRoundedRect(QRectF(0, 0, outer, outer), 6, 6);
    if (image.isNull())
        return framed;

    const QImage filled = image.scaled(thumbnailSize, thumbnailSize, Qt::KeepAspectRatioByExpanding,
                                       Qt::SmoothTransformation);
    const QRect crop((filled.width() - thumbnailSize) / 2, (filled.height() - thumbnailSize) / 2, thumbnailSize,
                     thumbnailSize);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(frameWidth, frameWidth, thumbnailSize, thumbnailSize), 5, 5);
    painter.setClipPath(clip);
    painter.drawImage(QPoint(frameWidth, frameWidth), filled, crop);
    painter.end();
    return framed;
}

class ThumbnailButton : public QAbstractButton {
public:
    // The frame at once; the picture once decoded on a worker thread, since
    // a large photo takes longer than a frame to decode.
    ThumbnailButton(const QByteArray& imageData, QWidget* parent)
        : QAbstractButton(parent), m_pixmap(QPixmap::fromImage(thumbnail(QImage())))
    {
        setFixedSize(m_pixmap.size());
        setFocusPolicy(Qt::TabFocus);
        CaptureButtonFeedback::install(this);
        auto* decoding = new QFutureWatcher<QImage>(this);
        connect(decoding, &QFutureWatcherBase::finished, this, [this, decoding] {
            decoding->deleteLater();
            m_pixmap = QPixmap::fromImage(decoding->result());
            update();
        });
        decoding->setFuture(QtConcurrent::run([imageData] { return thumbnail(QImage::fromData(imageData)); }));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (!isEnabled())
            painter.setOpacity(0.45);
        painter.drawPixmap(0, 0, m_pixmap);
        if (isDown()) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, 30));
            painter.drawRoundedRect(QRectF(rect()), 6, 6);
        }
    }

private:
    QPixmap m_pixmap;
};

// A white disc with a thin dark rim and a bold cross.
class RemoveBadge : public QAbstractButton {
public:
    explicit RemoveBadge(QWidget* parent) : QAbstractButton(parent)
    {
        setFixedSize(badgeSize, badgeSize);
        setFocusPolicy(Qt::TabFocus);
        CaptureButtonFeedback::install(this);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (!isEnabled())
            painter.setOpacity(0.45);
        painter.setPen(QPen(QColor(0, 0, 0, 31), 1));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setPen(QPen(QColor(0, 0, 0, 204), 1.8, Qt::SolidLine, Qt::RoundCap));
        const QPointF centre = QRectF(rect()).center();
        constexpr qreal arm = 3.2;
        painter.drawLine(centre + QPointF(-arm, -arm), centre + QPointF(arm, arm));
        painter.drawLine(centre + QPointF(-arm, arm), centre + QPointF(arm, -arm));
    }
};

} // namespace

AttachmentStrip::AttachmentStrip(QWidget* parent) : QScrollArea(parent), m_row(new QWidget)
{
    setObjectName(QStringLiteral("attachmentStrip"));
    setFixedHeight(stripHeight);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    viewport()->setAutoFillBackground(false);
    // Drops anywhere on the strip, tiles included, reach the viewport.
    viewport()->setAcceptDrops(true);
    m_row->setAutoFillBackground(false);
    auto* layout = new QHBoxLayout(m_row);
    layout->setContentsMargins(sidePadding, 0, sidePadding, 0);
    layout->setSpacing(tileSpacing);
    layout->addStretch(1);
    setWidget(m_row);
}

QString AttachmentStrip::name(const QUuid& attachmentID, const QList<ImageReference>& references)
{
    for (const ImageReference& reference : references) {
        if (reference.attachmentID == attachmentID)
            return reference.path;
    }
    return attachmentID.toString(QUuid::WithoutBraces).toUpper();
}

void AttachmentStrip::setAttachments(const QList<CaptureAttachment>& attachments,
                                     const QList<ImageReference>& references)
{
    QList<Shown> shown;
    for (const CaptureAttachment& attachment : attachments)
        shown.append({attachment.id, name(attachment.id, references)});
    if (shown == m_shown)
        return;
    m_shown = shown;

    auto* layout = static_cast<QHBoxLayout*>(m_row->layout());
    while (layout->count() > 1) {
        QLayoutItem* item = layout->takeAt(0);
        // A badge's click may be what removed its tile: it is still running.
        item->widget()->hide();
        item->widget()->deleteLater();
        delete item;
    }
    m_tileIDs.clear();
    for (qsizetype i = 0; i < attachments.size(); ++i) {
        // The header tells an image, without decoding it.
        if (!EditorContents::displaySize(attachments[i].data))
            continue;
        layout->insertWidget(layout->count() - 1, makeTile(attachments[i], shown[i].name), 0, Qt::AlignVCenter);
        m_tileIDs.append(attachments[i].id);
    }
    setTilesEnabled(m_tilesEnabled);
}

QWidget* AttachmentStrip::makeTile(const CaptureAttachment& attachment, const QString& name)
{
    auto* tile = new QWidget(m_row);
    tile->setObjectName(QStringLiteral("attachmentTile"));
    auto* thumb = new ThumbnailButton(attachment.data, tile);
    thumb->setObjectName(QStringLiteral("attachmentThumbnail"));
    thumb->move(0, badgeOverhang);
    thumb->setToolTip(L10n::text(QStringLiteral("Voir l’image en grand")));
    thumb->setAccessibleName(L10n::format(QStringLiteral("Agrandir l’image %@"), {name}));
    connect(thumb, &QAbstractButton::clicked, this, [this, attachment] {
        if (preview)
            preview(attachment);
    });

    auto* badge = new RemoveBadge(tile);
    badge->setObjectName(QStringLiteral("attachmentRemoveBadge"));
    badge->move(thumb->width() + badgeOverhang - badgeSize, 0);
    badge->raise();
    badge->setToolTip(L10n::text(QStringLiteral("Supprimer l’image")));
    badge->setAccessibleName(L10n::format(QStringLiteral("Supprimer l’image %@"), {name}));
    const QUuid id = attachment.id;
    connect(badge, &QAbstractButton::clicked, this, [this, id] {
        if (remove)
            remove(id);
    });

    tile->setFixedSize(thumb->width() + badgeOverhang, thumb->height() + badgeOverhang);
    return tile;
}

void AttachmentStrip::setTilesEnabled(bool enabled)
{
    m_tilesEnabled = enabled;
    QLayout* layout = m_row->layout();
    for (int i = 0; i < layout->count(); ++i) {
        if (QWidget* tile = layout->itemAt(i)->widget())
            tile->setEnabled(enabled);
    }
}

QList<QUuid> AttachmentStrip::tileIDs() const { return m_tileIDs; }

void AttachmentStrip::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

// Drops copy, as onto the editor.
void AttachmentStrip::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData() || !acceptsDrop || !acceptsDrop(*event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void AttachmentStrip::dropEvent(QDropEvent* event)
{
    if (!event->mimeData() || !drop || !drop(*event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

} // namespace quillor
