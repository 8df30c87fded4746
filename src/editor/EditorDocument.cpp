#include "editor/EditorDocument.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>

namespace quillor::EditorDocument {

namespace {

constexpr char16_t paragraphSeparator = u'\u2029';
const QString resourceScheme = QStringLiteral("quillor-attachment:");

// Several images may share a file name (the same attachment twice, or pasted
// images named alike): equal bytes share one resource, different bytes get a
// name of their own, so that no image is ever shown as another.
QString registeredName(QTextDocument& document, const InlineImage& image)
{
    const QString base = resourceScheme + image.fileName;
    if (!image.contents)
        return base;
    for (int attempt = 1;; ++attempt) {
        const QString name = attempt == 1 ? base : base + u'#' + QString::number(attempt);
        const QVariant known = document.resource(QTextDocument::UserResource, QUrl(name));
        if (known.isValid() && known.toByteArray() == *image.contents)
            return name;
        if (!known.isValid()) {
            document.addResource(QTextDocument::UserResource, QUrl(name), *image.contents);
            document.addResource(QTextDocument::ImageResource, QUrl(name), QImage::fromData(*image.contents));
            return name;
        }
    }
}

QTextImageFormat imageFormat(QTextDocument& document, const InlineImage& image)
{
    QTextImageFormat format;
    format.setName(registeredName(document, image));
    format.setProperty(fileNameProperty, image.fileName);
    if (image.contents)
        format.setProperty(contentsProperty, *image.contents);
    if (image.displaySize) {
        format.setProperty(displaySizeProperty, *image.displaySize);
        format.setWidth(image.displaySize->width());
        format.setHeight(image.displaySize->height());
    }
    return format;
}

} // namespace

QString normalizedLineEnds(const QString& text)
{
    if (!text.contains(u'\r') && !text.contains(QChar(paragraphSeparator)))
        return text;
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(u'\r', u'\n');
    result.replace(QChar(paragraphSeparator), u'\n');
    return result;
}

EditorContent normalizedLineEnds(const EditorContent& content)
{
    if (!content.text.contains(u'\r') && !content.text.contains(QChar(paragraphSeparator)))
        return content;
    EditorContent result;
    qsizetype done = 0;
    for (const InlineImage& image : content.images) {
        result.append(normalizedLineEnds(content.text.mid(done, image.position - done)));
        result.append(image);
        done = image.position + 1;
    }
    result.append(normalizedLineEnds(content.text.mid(done)));
    return result;
}

QString engineText(const QTextDocument& document)
{
    QString text = document.toRawText();
    text.replace(QChar(paragraphSeparator), u'\n');
    return text;
}

EditorContent extract(const QTextDocument& document, TextRange range)
{
    EditorContent content;
    const qsizetype end = range.end();
    for (QTextBlock block = document.findBlock(int(range.location)); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const qsizetype from = std::max<qsizetype>(fragment.position(), range.location);
            const qsizetype to = std::min<qsizetype>(fragment.position() + fragment.length(), end);
            if (from >= to)
                continue;
            const QString text = fragment.text().mid(from - fragment.position(), to - from);
            const std::optional<InlineImage> image = inlineImage(fragment.charFormat());
            if (!image) {
                content.append(text);
                continue;
            }
            for (QChar c : text) {
                if (c == QChar(EditorContent::objectReplacementCharacter))
                    content.append(*image);
                else
                    content.append(QString(c));
            }
        }
        const qsizetype separator = block.position() + block.length() - 1;
        if (separator >= range.location && separator < end && block.next().isValid())
            content.append(QStringLiteral("\n"));
    }
    return content;
}

void insert(QTextCursor& cursor, const EditorContent& content)
{
    QTextDocument& document = *cursor.document();
    const QTextCharFormat plain;
    qsizetype done = 0;
    for (const InlineImage& image : content.images) {
        if (image.position > done)
            cursor.insertText(content.text.mid(done, image.position - done), plain);
        cursor.insertImage(imageFormat(document, image));
        done = image.position + 1;
    }
    if (done < content.text.size())
        cursor.insertText(content.text.mid(done), plain);
    cursor.setCharFormat(plain);
}

std::optional<InlineImage> inlineImage(const QTextFormat& format)
{
    if (!format.isImageFormat())
        return std::nullopt;
    InlineImage image;
    const QVariant fileName = format.property(fileNameProperty);
    image.fileName = fileName.isValid() ? fileName.toString() : format.toImageFormat().name();
    const QVariant contents = format.property(contentsProperty);
    if (contents.isValid())
        image.contents = contents.toByteArray();
    const QVariant displaySize = format.property(displaySizeProperty);
    if (displaySize.isValid())
        image.displaySize = displaySize.toSizeF();
    return image;
}

EditorContent slice(const EditorContent& content, TextRange range)
{
    EditorContent part{content.text.mid(range.location, range.length), {}};
    for (const InlineImage& image : content.images) {
        if (image.position >= range.location && image.position < range.end()) {
            InlineImage placed = image;
            placed.position -= range.location;
            part.images.append(placed);
        }
    }
    return part;
}

} // namespace quillor::EditorDocument
