#pragma once

#include "core/Error.h"

namespace quillor {

// The one error of the capture core. Its description is the French text,
// localised through L10n when asked for.
class CaptureError : public Error {
public:
    enum class Kind {
        unknownDestination,
        invalidPath,
        missingVault,
        empty,
        invalidAttachment,
        modifiedDuringWrite,
        invalidUTF8,
        // The note holds the capture's marker with another text: a send of
        // it that was never confirmed, the draft changed since.
        deliveredWithOtherText,
    };

    static CaptureError unknownDestination(const QString& word);
    static CaptureError invalidPath();
    static CaptureError missingVault();
    static CaptureError empty();
    static CaptureError invalidAttachment();
    static CaptureError modifiedDuringWrite();
    static CaptureError invalidUTF8();
    static CaptureError deliveredWithOtherText();

    Kind kind() const { return m_kind; }
    // The typed word of unknownDestination; empty for every other kind.
    QString payload() const { return m_payload; }

    QString errorDescription() const;
    QString localizedDescription() const override { return errorDescription(); }

    bool operator==(const CaptureError& other) const
    {
        return m_kind == other.m_kind && m_payload == other.m_payload;
    }

private:
    CaptureError(Kind kind, QString payload = {}) : m_kind(kind), m_payload(std::move(payload)) {}
    Kind m_kind;
    QString m_payload;
};

} // namespace quillor
