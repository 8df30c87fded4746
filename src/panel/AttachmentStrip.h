#pragma once

#include "core/Capture.h"
#include "core/ImageReference.h"

#include <QList>
#include <QScrollArea>
#include <QUuid>

#include <functional>

class QMimeData;

namespace quillor {

// The images attached to the capture, as a horizontal row of thumbnails,
// each with a badge that removes it. An attachment whose bytes are not an
// image has no tile.
class AttachmentStrip : public QScrollArea {
    Q_OBJECT

public:
    explicit AttachmentStrip(QWidget* parent = nullptr);

    // Rebuilds the tiles only when the attachments or their names changed.
    void setAttachments(const QList<CaptureAttachment>& attachments, const QList<ImageReference>& references);
    void setTilesEnabled(bool enabled);

    // The thumbnail and the remove badge of a tile.
    std::function<void(const CaptureAttachment&)> preview;
    std::function<void(const QUuid&)> remove;
    // A drop onto the strip: whether it would be taken, and taking it (true
    // when it was). Without them the strip takes no drop.
    std::function<bool(const QMimeData&)> acceptsDrop;
    std::function<bool(const QMimeData&)> drop;

    // The attachments that have a tile, in order.
    QList<QUuid> tileIDs() const;

    // What assistive technologies call an image: its path in the vault, else
    // its id.
    static QString name(const QUuid& attachmentID, const QList<ImageReference>& references);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Shown {
        QUuid id;
        QString name;
        bool operator==(const Shown&) const = default;
    };

    QWidget* makeTile(const CaptureAttachment& attachment, const QString& name);

    QWidget* m_row = nullptr;
    QList<Shown> m_shown;
    QList<QUuid> m_tileIDs;
    bool m_tilesEnabled = true;
};

} // namespace quillor
