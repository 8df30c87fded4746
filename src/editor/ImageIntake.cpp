#include "editor/ImageIntake.h"

#include "model/AppModel.h"
#include "model/EditorContent.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <array>
#include <utility>

namespace quillor {

namespace {

constexpr qsizetype limit = AppModel::maximumImageBytes;

// Pasted HTML is parsed here and nowhere else: images, style sheets and
// imports it names are never fetched, be they local files or on the network.
class ScratchDocument : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

CaptureAttachment attachment(const QByteArray& bytes, const QString& extension)
{
    return CaptureAttachment(QUuid::createUuid(), bytes, extension);
}

bool decodes(const QByteArray& bytes)
{
    return EditorContents::displaySize(bytes).has_value();
}

// A file too large to read whole: only its header says whether it is an image.
bool startsLikeAnImage(const QString& file)
{
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    return reader.canRead();
}

std::optional<QByteArray> encodedAsPng(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return std::nullopt;
    return png;
}

// Bytes of a file that decode as an image, kept or converted by extension.
enum class FileOutcome { skipped, added, tooLarge, gone };

FileOutcome collectFile(const QString& file, QList<CaptureAttachment>& attachments)
{
    const QFileInfo info(file);
    // Offered by a paste or a drop, then deleted or moved before its turn.
    if (!info.exists())
        return FileOutcome::gone;
    if (!info.isFile())
        return FileOutcome::skipped;
    if (info.size() > limit)
        return startsLikeAnImage(file) ? FileOutcome::tooLarge : FileOutcome::skipped;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return FileOutcome::skipped;
    // Never more than the limit and one byte, should the file have grown.
    const QByteArray bytes = in.read(limit + 1);
    if (bytes.size() > limit)
        return startsLikeAnImage(file) ? FileOutcome::tooLarge : FileOutcome::skipped;
    if (!decodes(bytes))
        return FileOutcome::skipped;
    const QString extension = info.suffix().toLower();
    if (ImageIntake::keepsFormat(extension)) {
        attachments.append(attachment(bytes, extension));
    } else if (const std::optional<QByteArray> png = ImageIntake::pngData(bytes)) {
        attachments.append(attachment(*png, QStringLiteral("png")));
    }
    return FileOutcome::added;
}

// The extension a data: picture's media type gives; empty when it must be
// converted to PNG.
QString extensionOf(const QString& mediaType)
{
    static const std::array<std::pair<const char*, const char*>, 7> kept{{{"image/png", "png"},
                                                                          {"image/jpeg", "jpg"},
                                                                          {"image/jpg", "jpg"},
                                                                          {"image/gif", "gif"},
                                                                          {"image/webp", "webp"},
                                                                          {"image/heic", "heic"},
                                                                          {"image/tiff", "tiff"}}};
    for (const auto& [type, extension] : kept) {
        if (mediaType.compare(QLatin1String(type), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(extension);
    }
    return {};
}

// A picture's attachment from its data: address; nothing when it is larger
// than the limit (told from its encoded length, before decoding) or does not
// decode.
std::optional<CaptureAttachment> pictureOf(const QString& address)
{
    const qsizetype comma = address.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    const QStringList header = address.mid(5, comma - 5).split(u';');
    const bool base64 = header.contains(QStringLiteral("base64"), Qt::CaseInsensitive);
    const qsizetype encoded = address.size() - comma - 1;
    const qsizetype padding = address.endsWith(QLatin1String("==")) ? 2 : address.endsWith(u'=') ? 1 : 0;
    if ((base64 ? encoded / 4 * 3 - padding : encoded / 3) > limit)
        return std::nullopt;
    const QByteArray payload = address.mid(comma + 1).toLatin1();
    const QByteArray bytes = base64 ? QByteArray::fromBase64(payload) : QByteArray::fromPercentEncoding(payload);
    if (bytes.size() > limit || !decodes(bytes))
        return std::nullopt;
    const QString extension = extensionOf(header.value(0));
    if (!extension.isEmpty())
        return attachment(bytes, extension);
    const std::optional<QByteArray> png = ImageIntake::pngData(bytes);
    return png ? std::optional(attachment(*png, QStringLiteral("png"))) : std::nullopt;
}

bool isDataPicture(const QString& source)
{
    return source.startsWith(QLatin1String("data:image/"), Qt::CaseInsensitive);
}

// Line and paragraph separators of the HTML become the editor's line breaks;
// object characters would be images without bytes.
QString plainText(QString text)
{
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace

// MARK: Sources

ImageSources ImageSources::from(const QMimeData& mime)
{
    ImageSources sources;
    for (const QUrl& url : mime.urls()) {
        if (url.isLocalFile())
            sources.files.append(url.toLocalFile());
    }
    sources.png = mime.data(QStringLiteral("image/png"));
    sources.tiff = mime.data(QStringLiteral("image/tiff"));
    if (sources.png.isEmpty() && sources.tiff.isEmpty() && mime.hasImage())
        sources.image = qvariant_cast<QImage>(mime.imageData());
    return sources;
}

std::optional<RichCapture> RichCapture::from(const QMimeData& mime)
{
    if (!mime.hasHtml())
        return std::nullopt;
    const QString html = mime.html();
    if (!html.contains(QLatin1String("data:image/"), Qt::CaseInsensitive))
        return std::nullopt;
    ScratchDocument document;
    document.setHtml(html);
    RichCapture capture;
    bool sawPicture = false;
    const auto addText = [&capture](const QString& text) {
        if (text.isEmpty())
            return;
        if (!capture.parts.isEmpty() && !capture.parts.last().picture)
            capture.parts.last().text += text;
        else
            capture.parts.append(Part{text, std::nullopt});
    };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            addText(QStringLiteral("\n"));
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            const QTextCharFormat format = piece.charFormat();
            if (!format.isImageFormat()) {
                addText(plainText(piece.text()));
                continue;
            }
            const QString source = format.toImageFormat().name();
            // Each object character of the fragment is one picture.
            for (qsizetype i = 0; isDataPicture(source) && i < piece.length(); ++i) {
                capture.parts.append(Part{QString(), source});
                sawPicture = true;
            }
        }
    }
    if (!sawPicture)
        return std::nullopt;
    return capture;
}

// MARK: Reading

namespace ImageIntake {

bool keepsFormat(const QString& extension)
{
    static const QStringList kept{QStringLiteral("png"),  QStringLiteral("jpg"),  QStringLiteral("jpeg"),
                                  QStringLiteral("gif"),  QStringLiteral("webp"), QStringLiteral("heic"),
                                  QStringLiteral("tiff")};
    return kept.contains(extension);
}

std::optional<QByteArray> pngData(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return encodedAsPng(reader.read());
}

Result collect(const ImageSources& sources)
{
    Result result;
    for (const QString& file : sources.files) {
        const FileOutcome outcome = collectFile(file, result.attachments);
        if (outcome == FileOutcome::tooLarge) {
            result.attachments.clear();
            result.tooLarge = true;
            return result;
        }
        if (outcome == FileOutcome::gone)
            ++result.filesGone;
    }
    if (result.attachments.isEmpty()) {
        std::optional<QByteArray> png;
        if (!sources.png.isEmpty())
            png = sources.png;
        else if (!sources.tiff.isEmpty())
            png = pngData(sources.tiff);
        else
            png = encodedAsPng(sources.image);
        if (png)
            result.attachments.append(attachment(*png, QStringLiteral("png")));
    }
    // Offered data are not files: only their bytes tell their size.
    if (std::any_of(result.attachments.cbegin(), result.attachments.cend(),
                    [](const CaptureAttachment& image) { return image.data.size() > limit; })) {
        result.attachments.clear();
        result.tooLarge = true;
    }
    return result;
}

Result collect(const RichCapture& capture)
{
    Result result;
    result.rich = true;
    for (const RichCapture::Part& part : capture.parts) {
        if (!part.picture) {
            result.parts.append(RichPart{part.text, std::nullopt});
            continue;
        }
        const std::optional<CaptureAttachment> picture = pictureOf(*part.picture);
        if (!picture) {
            result.parts.clear();
            result.failed = true;
            return result;
        }
        result.parts.append(RichPart{QString(), picture});
    }
    return result;
}

} // namespace ImageIntake

// MARK: Queue

ImageIntakeQueue::ImageIntakeQueue(std::function<void(const ImageIntake::Result&)> apply, QObject* parent)
    : QObject(parent), m_apply(std::move(apply))
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &ImageIntakeQueue::finished);
}

ImageIntakeQueue::~ImageIntakeQueue()
{
    // A read still running finishes on its own; its result goes nowhere.
    m_watcher.disconnect(this);
}

void ImageIntakeQueue::enqueue(Request request)
{
    m_waiting.append(std::move(request));
    if (!m_running)
        startNext();
}

void ImageIntakeQueue::startNext()
{
    if (m_waiting.isEmpty()) {
        m_running = false;
        Q_EMIT idle();
        return;
    }
    m_running = true;
    Request request = m_waiting.takeFirst();
    m_watcher.setFuture(QtConcurrent::run([request = std::move(request), reader = m_reader] {
        ImageIntake::Result result;
        try {
            result = reader(request);
        } catch (const std::exception&) {
            // Out of memory for the bytes: as if nothing were an image. An
            // exception would otherwise reach the UI thread with the result.
            result = ImageIntake::Result();
            result.failed = request.rich.has_value();
            result.rich = result.failed;
        }
        result.fallbackText = request.fallbackText;
        return result;
    }));
}

ImageIntake::Result ImageIntakeQueue::read(const Request& request)
{
    return request.rich ? ImageIntake::collect(*request.rich) : ImageIntake::collect(request.sources);
}

void ImageIntakeQueue::finished()
{
    const ImageIntake::Result result = m_watcher.future().result();
    m_apply(result);
    startNext();
}

} // namespace quillor
