#include "updates/UpdateError.h"

#include "core/L10n.h"

namespace quillor {

QString UpdateError::localizedDescription() const
{
    switch (m_kind) {
    case Kind::invalidCatalog:
        return L10n::text(QStringLiteral("Le catalogue des versions publiées est inutilisable."));
    case Kind::invalidResponse:
        return L10n::text(QStringLiteral("Le serveur des mises à jour a renvoyé une réponse invalide."));
    case Kind::networkUnavailable:
        return L10n::text(QStringLiteral("Le module réseau de Quillor est introuvable : réinstalle Quillor."));
    }
    return {};
}

} // namespace quillor
