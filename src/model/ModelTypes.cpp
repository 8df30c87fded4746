#include "model/ModelTypes.h"

#include "core/L10n.h"

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

Completion::Completion(const QString& label, const QString& detail, const QString& insertion,
                       const std::optional<QUuid>& destinationID)
    : id(QUuid::createUuid()), label(label), detail(detail), insertion(insertion), destinationID(destinationID)
{
}

} // namespace quillor
