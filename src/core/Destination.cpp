#include "core/Destination.h"

#include "core/Json.h"
#include "core/L10n.h"
#include "core/TextFolding.h"
#include "core/TextLines.h"

#include <QHash>

#include <algorithm>

namespace quillor {

// MARK: DeliveryMode

namespace DeliveryModes {

QList<DeliveryMode> allCases()
{
    return {DeliveryMode::newNote, DeliveryMode::appendNote, DeliveryMode::dailyNote};
}

QString rawValue(DeliveryMode mode)
{
    switch (mode) {
    case DeliveryMode::newNote: return QStringLiteral("newNote");
    case DeliveryMode::appendNote: return QStringLiteral("appendNote");
    case DeliveryMode::dailyNote: return QStringLiteral("dailyNote");
    }
    Q_UNREACHABLE();
}

std::optional<DeliveryMode> fromRawValue(const QString& raw)
{
    for (const DeliveryMode mode : allCases()) {
        if (rawValue(mode) == raw)
            return mode;
    }
    return std::nullopt;
}

QString label(DeliveryMode mode)
{
    switch (mode) {
    case DeliveryMode::newNote: return L10n::text(QStringLiteral("Nouvelle note"));
    case DeliveryMode::appendNote: return L10n::text(QStringLiteral("Ajouter à une note"));
    case DeliveryMode::dailyNote: return L10n::text(QStringLiteral("Note du jour"));
    }
    Q_UNREACHABLE();
}

} // namespace DeliveryModes

// MARK: Paths

namespace {

QString withoutTrailingSlashes(QString path)
{
    while (path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// "Journal/Captures.md" gives "Journal"; a single component gives "".
QString parentFolder(const QString& path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    const qsizetype slash = trimmed.lastIndexOf(u'/');
    return slash < 0 ? QString() : withoutTrailingSlashes(trimmed.left(slash));
}

QString lastComponent(const QString& path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

bool continuesRun(char32_t firstCodePoint)
{
    return QChar::isLetterOrNumber(firstCodePoint) || firstCodePoint == U'_' || firstCodePoint == U'-';
}

QString trimmedHyphens(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u'-')
        ++start;
    while (end > start && text[end - 1] == u'-')
        --end;
    return text.mid(start, end - start);
}

} // namespace

// MARK: Destination

Destination::Destination(const QUuid& id, const QString& name, const QString& alias, const QString& vaultPath,
                         DeliveryMode mode, const QString& path, const QString& attachmentFolder)
    : id(id), name(name), alias(alias), vaultPath(vaultPath), mode(mode), path(path),
      attachmentFolder(attachmentFolder)
{
}

QString Destination::noteFolder() const
{
    return mode == DeliveryMode::appendNote ? parentFolder(path) : path;
}

QString Destination::folderPath() const
{
    const QString relative = noteFolder();
    if (relative.isEmpty())
        return vaultPath;
    // Joined as text on purpose: "." and ".." stay visible to the safe-path
    // checks instead of being resolved away here.
    return withoutTrailingSlashes(withoutTrailingSlashes(vaultPath) + u'/' + relative);
}

QString Destination::routingName(const QString& text)
{
    const QString folded = TextFolding::foldDiacriticsAndWidth(text);
    QStringList runs;
    QString run;
    for (const Graphemes::Grapheme& grapheme : Graphemes::split(folded)) {
        if (continuesRun(grapheme.firstCodePoint)) {
            run += QStringView(folded).mid(grapheme.range.location, grapheme.range.length);
        } else if (!run.isEmpty()) {
            runs.append(run);
            run.clear();
        }
    }
    if (!run.isEmpty())
        runs.append(run);
    return trimmedHyphens(runs.join(u'-'));
}

QString Destination::routingName() const
{
    QString folder = noteFolder();
    if (folder.isEmpty())
        folder = vaultPath;
    const QString slug = routingName(lastComponent(folder));
    return slug.isEmpty() ? routingName(name) : slug;
}

QStringList Destination::routingTokens() const
{
    QStringList tokens;
    if (const QString slug = routingName(); !slug.isEmpty())
        tokens.append(slug);
    if (!alias.isEmpty())
        tokens.append(alias);
    return tokens;
}

QString Destination::displayName() const
{
    QString base = routingName();
    if (base.isEmpty())
        base = name;
    if (alias.isEmpty() || TextFolding::equalsIgnoringCase(alias, base))
        return base;
    return base + QStringLiteral(" \u00B7 ") + alias;
}

bool Destination::matchesDestination(const QString& query) const
{
    if (query.isEmpty())
        return true;
    const QStringList tokens = routingTokens();
    return std::any_of(tokens.begin(), tokens.end(), [&](const QString& token) {
        return TextFolding::localizedContainsIgnoringCase(token, query);
    });
}

// MARK: JSON

QJsonObject Destination::toJson() const
{
    return Json::Writer()
        .set(QStringLiteral("id"), id)
        .set(QStringLiteral("name"), name)
        .set(QStringLiteral("alias"), alias)
        .setOptional(QStringLiteral("vaultBookmark"), vaultBookmark)
        .set(QStringLiteral("vaultPath"), vaultPath)
        .set(QStringLiteral("mode"), DeliveryModes::rawValue(mode))
        .set(QStringLiteral("path"), path)
        .set(QStringLiteral("attachmentFolder"), attachmentFolder)
        .setOptional(QStringLiteral("attachmentPolicy"),
                     attachmentPolicy ? std::optional(attachmentPolicy->toJson()) : std::nullopt)
        .setOptional(QStringLiteral("useObsidianAttachments"), useObsidianAttachments)
        .object();
}

Destination Destination::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    const QString rawMode = reader.string(QStringLiteral("mode"));
    const auto mode = DeliveryModes::fromRawValue(rawMode);
    if (!mode)
        throw JsonDecodingError(QStringLiteral("mode: unknown value \"%1\"").arg(rawMode));

    Destination destination(reader.uuid(QStringLiteral("id")), reader.string(QStringLiteral("name")),
                            reader.string(QStringLiteral("alias")), reader.string(QStringLiteral("vaultPath")), *mode,
                            reader.string(QStringLiteral("path")), reader.string(QStringLiteral("attachmentFolder")));
    destination.vaultBookmark = reader.optionalBytes(QStringLiteral("vaultBookmark"));
    if (const auto policy = reader.optionalObject(QStringLiteral("attachmentPolicy")))
        destination.attachmentPolicy = AttachmentPolicy::fromJson(*policy);
    destination.useObsidianAttachments = reader.optionalBoolean(QStringLiteral("useObsidianAttachments"));
    return destination;
}

size_t qHash(const Destination& d, size_t seed) noexcept
{
    // Fields that rarely differ between two destinations are left out; equal
    // values still hash equally, which is all a hash must promise.
    return qHashMulti(seed, d.id, d.name, d.alias, d.vaultPath, int(d.mode), d.path, d.attachmentFolder);
}

} // namespace quillor
