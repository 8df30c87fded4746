#include "vault/NoteFiles.h"

#include "core/CaptureError.h"
#include "core/FileSystem.h"
#include "core/FileSystemError.h"
#include "core/ImageReferences.h"
#include "core/Json.h"
#include "core/Regex.h"
#include "core/SafePath.h"
#include "editing/EditorSyntax.h"
#include "core/RangeIndex.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QHash>

#include <cerrno>
#include <sys/stat.h>

namespace quillor {
namespace NoteFiles {

namespace {

using Operation = FileSystemError::Operation;

const QString attachmentFolder = QStringLiteral("Attachments/Quillor/");

// Group 1: the target of "![[target]]"; group 2: that of "![alt](target)".
const Regex& embedPattern()
{
    static const Regex pattern(QStringLiteral("!\\[\\[([^\\]\\n]+)\\]\\]|!\\[[^\\]\\n]*\\]\\(([^\\)\\n]+)\\)"));
    return pattern;
}

struct stat statOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        throw FileSystemError(Operation::inspect, path, errno);
    return info;
}

QString parentFolder(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// The last extension of the file name, lower-cased ("a.tar.GZ" gives "gz").
QString lowerExtension(const QString& path)
{
    const QString name = path.section(QLatin1Char('/'), -1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? QString() : name.mid(dot + 1).toLower();
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Strict: a "%" without two hex digits after it, or escapes that do not spell
// UTF-8, give nothing (QUrl's decoder would guess instead of failing).
std::optional<QString> percentDecoded(const QString& text)
{
    if (!text.contains(QLatin1Char('%')))
        return text;
    QByteArray bytes;
    const QByteArray utf8 = text.toUtf8();
    bytes.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '%') {
            bytes.append(utf8[i]);
            continue;
        }
        const int high = i + 2 < utf8.size() ? hexDigit(QLatin1Char(utf8[i + 1])) : -1;
        const int low = high >= 0 ? hexDigit(QLatin1Char(utf8[i + 2])) : -1;
        if (low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    if (!QByteArrayView(bytes).isValidUtf8())
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

// The first non-empty piece before a "|" (a size or alias follows it).
QString withoutAlias(const QString& raw)
{
    const QStringList pieces = raw.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    return pieces.isEmpty() ? QString() : pieces.first();
}

struct Replacement {
    TextRange range;
    QString text;
};

// Turns the embeds of one note into attachments, one per distinct image file.
class Recoverer {
public:
    Recoverer(const QString& file, const QString& root, qint64 imageLimit, qint64 totalLimit)
        : m_noteFolder(parentFolder(file)), m_root(root), m_imageLimit(imageLimit), m_totalLimit(totalLimit)
    {
    }

    Recovery run(const QString& text)
    {
        m_result.capture = Capture(QUuid::createUuid(), ReferenceDate::now(), text, {}, std::nullopt);
        const RangeIndex code(EditorSyntax::codeRanges(text));
        QList<Replacement> replacements;
        const QList<RegexMatch> embeds = embedPattern().matches(text);
        for (const RegexMatch& embed : embeds) {
            if (code.overlaps(embed.range()))
                continue;
            const bool isWiki = embed.hasGroup(1);
            const QString target = withoutAlias(embed.captured(isWiki ? 1 : 2));
            const QString name = percentDecoded(target).value_or(target);
            try {
                replacements.append({embed.range(), reference(name, isWiki).source()});
            } catch (const Error&) {
                // The embed keeps its text; the caller learns which ones failed.
                m_result.unavailable.append(name);
            }
        }
        m_result.capture.body = replaced(text, replacements);
        return std::move(m_result);
    }

private:
    // The attachment's reference for the image the embed names, made on first
    // sight of the file.
    ImageReference reference(const QString& name, bool isWiki)
    {
        const QString file = chosenFile(name, isWiki);
        if (const auto known = m_known.constFind(file); known != m_known.cend())
            return *known;
        const QByteArray bytes = imageBytes(file);
        const QString extension = lowerExtension(file);
        if (!ImageReferences::imageExtensions().contains(extension) || bytes.isEmpty())
            throw CaptureError::invalidAttachment();
        return attach(file, bytes, extension);
    }

    // A wiki embed names a file from the root or beside the note; a Markdown
    // image only beside the note. Every candidate must be safe, even the ones
    // not used, so a name that escapes through one of them is refused.
    QString chosenFile(const QString& name, bool isWiki) const
    {
        if (name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':')) || name.contains(QLatin1Char('\\')))
            throw CaptureError::invalidPath();
        QStringList candidates;
        if (isWiki)
            candidates.append(joined(m_root, name));
        candidates.append(joined(m_noteFolder, name));
        QStringList resolved;
        for (const QString& candidate : std::as_const(candidates))
            resolved.append(SafePath::resolve(m_root, relativePath(candidate, m_root)));
        for (const QString& file : std::as_const(resolved)) {
            if (FileSystem::exists(file))
                return file;
        }
        throw FileSystemError(Operation::read, resolved.first(), ENOENT);
    }

    // Both limits are tested on the size the file system reports, so a file
    // too large is never read, and again on the bytes read, in case the file
    // grew in between.
    QByteArray imageBytes(const QString& file) const
    {
        if (!fitsLimits(statOf(file).st_size))
            throw CaptureError::invalidAttachment();
        QByteArray bytes = FileSystem::read(file);
        if (!fitsLimits(bytes.size()))
            throw CaptureError::invalidAttachment();
        return bytes;
    }

    bool fitsLimits(qint64 size) const { return size <= m_imageLimit && size <= m_totalLimit - m_usedBytes; }

    ImageReference attach(const QString& file, const QByteArray& bytes, const QString& extension)
    {
        const CaptureAttachment attachment(QUuid::createUuid(), bytes, extension);
        const ImageReference reference{attachment.id,
                                       attachmentFolder + Json::uuidText(attachment.id) + QLatin1Char('.') + extension,
                                       std::nullopt};
        m_result.capture.attachments.append(attachment);
        if (!m_result.capture.imageReferences)
            m_result.capture.imageReferences = QList<ImageReference>();
        m_result.capture.imageReferences->append(reference);
        m_usedBytes += bytes.size();
        m_known.insert(file, reference);
        return reference;
    }

    // The replacements come in text order and never overlap, so one pass from
    // the front gives what applying them from the last to the first would.
    static QString replaced(const QString& text, const QList<Replacement>& replacements)
    {
        if (replacements.isEmpty())
            return text;
        QString result;
        result.reserve(text.size());
        qsizetype position = 0;
        for (const Replacement& replacement : replacements) {
            result += QStringView(text).mid(position, replacement.range.location - position);
            result += replacement.text;
            position = replacement.range.end();
        }
        result += QStringView(text).mid(position);
        return result;
    }

    QString m_noteFolder;
    QString m_root;
    qint64 m_imageLimit;
    qint64 m_totalLimit;
    qint64 m_usedBytes = 0;
    QHash<QString, ImageReference> m_known;
    Recovery m_result;
};

} // namespace

QString read(const QString& file)
{
    if (!S_ISREG(statOf(file).st_mode))
        throw CaptureError::invalidPath();
    const QByteArray bytes = FileSystem::read(file);
    if (!QByteArrayView(bytes).isValidUtf8())
        throw CaptureError::invalidUTF8();
    // fromUtf8 drops a leading byte-order mark, which has no place in a text.
    return QString::fromUtf8(bytes);
}

QString relativePath(const QString& file, const QString& root)
{
    const QString resolvedRoot = FileSystem::resolveExistingPrefix(QDir::cleanPath(root));
    const QString resolvedFile = FileSystem::resolveExistingPrefix(QDir::cleanPath(file));
    const QString prefix = resolvedRoot.endsWith(QLatin1Char('/')) ? resolvedRoot : resolvedRoot + QLatin1Char('/');
    if (!resolvedFile.startsWith(prefix) || resolvedFile.size() == prefix.size())
        throw CaptureError::invalidPath();
    const QString relative = resolvedFile.mid(prefix.size());
    SafePath::resolve(resolvedRoot, relative);
    return relative;
}

Recovery recover(const QString& file, const QString& root, qint64 imageLimit, qint64 totalLimit)
{
    relativePath(file, root);
    const QString text = read(file);
    return Recoverer(file, root, imageLimit, totalLimit).run(text);
}

} // namespace NoteFiles
} // namespace quillor
