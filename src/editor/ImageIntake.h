#pragma once

#include "core/Capture.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QMimeData;

namespace quillor {

// What a paste, a drop or a choice of files offers as images, copied out of
// its QMimeData on the UI thread so that the files are read and the images
// decoded on another.
struct ImageSources {
    QStringList files;   // local files, in the order given
    QByteArray png;
    QByteArray tiff;
    QImage image;        // an image offered only decoded

    static ImageSources from(const QMimeData& mime);
    bool isEmpty() const { return files.isEmpty() && png.isEmpty() && tiff.isEmpty() && image.isNull(); }
};

// Pasted HTML holding pictures as data: addresses, as browsers and office
// suites copy them: its text and those pictures in order. Every other picture
// is left out, so that a paste never reads a local file or the network.
struct RichCapture {
    struct Part {
        QString text;
        std::optional<QString> picture;   // the picture's data: address
    };
    QList<Part> parts;

    // Nothing when the HTML holds no data: picture (it then pastes as text).
    static std::optional<RichCapture> from(const QMimeData& mime);
};

// Turning what was pasted into attachments, off the UI thread.
namespace ImageIntake {

// One part of a rich capture once read: text, or a picture's attachment.
struct RichPart {
    QString text;
    std::optional<CaptureAttachment> picture;
};

// What one paste, drop or choice gave.
struct Result {
    bool rich = false;
    QList<CaptureAttachment> attachments;   // images, in order
    QList<RichPart> parts;                  // a rich capture's parts, in order
    bool tooLarge = false;                  // an image is over the limit: nothing goes in
    bool failed = false;                    // a rich capture's picture is unusable: nothing goes in
    int filesGone = 0;                      // files offered that were no longer there to be read
    std::optional<QString> fallbackText;    // pasted instead when no image came
};

// The extensions an image keeps as it is; any other image becomes PNG.
bool keepsFormat(const QString& extension);

// The image re-encoded as PNG; nothing when it does not decode.
std::optional<QByteArray> pngData(const QByteArray& bytes);

// The files that decode as images (each file's size checked against the
// limit before it is read), else the PNG, TIFF or decoded image offered.
// Blocking; meant for a worker thread.
Result collect(const ImageSources& sources);
Result collect(const RichCapture& capture);

} // namespace ImageIntake

// Reads what each paste offers on a worker thread, one paste at a time, and
// hands the results back on this thread in the order the pastes came.
class ImageIntakeQueue : public QObject {
    Q_OBJECT

public:
    struct Request {
        std::optional<RichCapture> rich;   // when set, the sources are not looked at
        ImageSources sources;
        std::optional<QString> fallbackText;
    };
    // Reads one request; runs on a worker thread.
    using Reader = std::function<ImageIntake::Result(const Request&)>;

    ImageIntakeQueue(std::function<void(const ImageIntake::Result&)> apply, QObject* parent);
    ~ImageIntakeQueue() override;

    // The files read and the images decoded, ImageIntake::collect's way.
    static ImageIntake::Result read(const Request& request);
    // For the reads that start from now on.
    void setReader(Reader reader) { m_reader = std::move(reader); }

    void enqueue(Request request);
    bool isBusy() const { return m_running; }

Q_SIGNALS:
    // Every result was applied.
    void idle();

private:
    void startNext();
    void finished();

    std::function<void(const ImageIntake::Result&)> m_apply;
    Reader m_reader = &ImageIntakeQueue::read;
    QFutureWatcher<ImageIntake::Result> m_watcher;
    QList<Request> m_waiting;
    bool m_running = false;
};

} // namespace quillor
