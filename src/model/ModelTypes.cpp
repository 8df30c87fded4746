#include "model/ModelTypes.h"

#include "core/L10n.h"

#include <QRandomGenerator>

#include <array>
#include <random>

namespace quillor {

QString DraftState::label() const
{
    switch (m_kind) {
    case Kind::empty:
        return L10n::text(QStringLiteral("Brouillon vide"));
    case Kind::pending:
        return L10n::text(QStringLiteral("Sauvegarde en cours…"));
    case Kind::saved:
        return L10n::text(QStringLiteral("Sauvegardé localement"));
    case Kind::restored:
        return L10n::text(QStringLiteral("Brouillon restauré"));
    case Kind::failed:
        return m_message;
    }
    return {};
}

QString IndexState::label() const
{
    switch (m_kind) {
    case Kind::idle:
        return L10n::text(QStringLiteral("Choisis un dossier de notes"));
    case Kind::loading:
        return L10n::text(QStringLiteral("Indexation…"));
    case Kind::ready:
        // With notes, the label is only seen when the query matches none of them.
        return m_noteCount == 0 ? L10n::text(QStringLiteral("Dossier sans note Markdown"))
                                : L10n::text(QStringLiteral("Aucun résultat"));
    case Kind::failed:
        return L10n::format(QStringLiteral("Dossier inaccessible : %@"), {m_message});
    }
    return {};
}

namespace {

// A 64-bit generator of the thread's own, its whole state seeded from the
// system's entropy source.
std::mt19937_64 seededEngine()
{
    std::array<quint32, std::mt19937_64::state_size * 2> words;
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    std::seed_seq seeds(words.begin(), words.end());
    return std::mt19937_64(seeds);
}

// A random (version 4) identity from the thread's own generator: a list may
// hold a row for each of a vault's 100,000 notes, and neither the system's
// entropy source nor the shared generator (a lock for every number) keeps
// that within a frame.
QUuid freshRowID()
{
    thread_local std::mt19937_64 random = seededEngine();
    const quint64 high = random();
    const quint64 low = random();
    const auto byte = [&](int shift) { return uchar(low >> shift); };
    return QUuid(uint(high >> 32), ushort(high >> 16), ushort((high & 0x0FFF) | 0x4000), uchar((low >> 56 & 0x3F) | 0x80),
                 byte(48), byte(40), byte(32), byte(24), byte(16), byte(8), byte(0));
}

} // namespace

Completion::Completion(const QString& label, const QString& detail, const QString& insertion,
                       const std::optional<QUuid>& destinationID)
    : id(freshRowID()), label(label), detail(detail), insertion(insertion), destinationID(destinationID)
{
}

} // namespace quillor
