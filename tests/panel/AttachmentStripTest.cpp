#include "PanelTestSupport.h"

#include "panel/AttachmentStrip.h"

namespace quillor {
namespace {

using namespace test;

// The tile comes at once; its picture once decoded on a worker thread.
TEST(AttachmentStripTest, ATilesPictureArrivesOnceDecoded)
{
    AttachmentStrip strip;
    strip.resize(300, 68);
    strip.show();
    const CaptureAttachment red(QUuid::createUuid(), imageBytes(qRgb(220, 0, 0)), QStringLiteral("png"));
    const CaptureAttachment notAnImage(QUuid::createUuid(), "texte", QStringLiteral("png"));
    strip.setAttachments({notAnImage, red}, {});
    EXPECT_EQ(strip.tileIDs(), QList<QUuid>{red.id});
    auto* thumbnail = strip.findChild<QAbstractButton*>(QStringLiteral("attachmentThumbnail"));
    ASSERT_NE(thumbnail, nullptr);
    const auto middle = [&] {
        const QImage shown = thumbnail->grab().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    };
    EXPECT_TRUE(waitUntil([&] { return middle() == QColor(220, 0, 0); })) << middle().name().toStdString();
}

} // namespace
} // namespace quillor
