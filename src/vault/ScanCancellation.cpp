#include "vault/ScanCancellation.h"

#include "core/L10n.h"

namespace quillor {

QString ScanCancelled::localizedDescription() const
{
    return L10n::text(QStringLiteral("L’indexation du dossier a été annulée."));
}

void throwIfCancelled(const CancellationCheck& isCancelled)
{
    if (isCancelled && isCancelled())
        throw ScanCancelled();
}

} // namespace quillor
