#pragma once

#include "core/Error.h"

namespace quillor {

// Why a catalog could not be used. Transport failures (no connection, time-out,
// TLS, an answer that is not HTTP) are not UpdateErrors: they come as a
// PlatformError of CatalogLoader::transferErrorDomain (see CatalogLoader.h).
class UpdateError : public Error {
public:
    enum class Kind {
        // The document decoded but its versions cannot be used: the installed
        // version or "latest" does not parse, or "latest" names no release.
        invalidCatalog,
        // The server's answer failed a check: status, final address, size.
        invalidResponse,
        // The program's network module is missing or cannot be loaded.
        networkUnavailable,
    };

    static UpdateError invalidCatalog() { return UpdateError(Kind::invalidCatalog); }
    static UpdateError invalidResponse() { return UpdateError(Kind::invalidResponse); }
    static UpdateError networkUnavailable() { return UpdateError(Kind::networkUnavailable); }

    Kind kind() const { return m_kind; }
    QString localizedDescription() const override;

    bool operator==(const UpdateError& other) const { return m_kind == other.m_kind; }

private:
    explicit UpdateError(Kind kind) : m_kind(kind) {}
    Kind m_kind;
};

} // namespace quillor
