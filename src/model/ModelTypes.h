#pragma once

#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// Persistence state of the draft, as the settings window shows it.
class DraftState {
public:
    enum class Kind { empty, pending, saved, restored, failed };

    DraftState() = default;   // empty

    static DraftState empty() { return DraftState(Kind::empty); }
    static DraftState pending() { return DraftState(Kind::pending); }
    static DraftState saved() { return DraftState(Kind::saved); }
    static DraftState restored() { return DraftState(Kind::restored); }
    static DraftState failed(const QString& message) { return DraftState(Kind::failed, message); }

    Kind kind() const { return m_kind; }
    // The failure's message; empty for every other case.
    QString message() const { return m_message; }

    // "Brouillon vide", "Sauvegarde en cours…", "Sauvegardé localement",
    // "Brouillon restauré", or the failure's message.
    QString label() const;

    bool operator==(const DraftState&) const = default;

private:
    explicit DraftState(Kind kind, const QString& message = {}) : m_kind(kind), m_message(message) {}

    Kind m_kind = Kind::empty;
    QString m_message;
};

// State of the vault index behind the completions.
class IndexState {
public:
    enum class Kind { idle, loading, ready, failed };

    IndexState() = default;   // idle

    static IndexState idle() { return IndexState(Kind::idle); }
    static IndexState loading() { return IndexState(Kind::loading); }
    static IndexState ready(int noteCount) { return IndexState(Kind::ready, noteCount); }
    static IndexState failed(const QString& message) { return IndexState(Kind::failed, 0, message); }

    Kind kind() const { return m_kind; }
    // The number of notes of a ready index; 0 otherwise.
    int noteCount() const { return m_noteCount; }
    // The failure's message; empty otherwise.
    QString message() const { return m_message; }

    // What the capture panel shows where a completion list would be.
    QString label() const;

    bool operator==(const IndexState&) const = default;

private:
    explicit IndexState(Kind kind, int noteCount = 0, const QString& message = {})
        : m_kind(kind), m_noteCount(noteCount), m_message(message)
    {
    }

    Kind m_kind = Kind::idle;
    int m_noteCount = 0;
    QString m_message;
};

// One indexed note as completion offers it.
struct NoteSuggestion {
    QString title;   // file name without extension
    QString path;    // vault-relative

    QString id() const { return path; }

    bool operator==(const NoteSuggestion&) const = default;
};

// A destination choice made in the editor; undo records carry the previous one.
struct DestinationSelection {
    std::optional<QUuid> id;           // absent clears the choice
    std::optional<bool> isExplicit;    // "explicit" is a C++ keyword

    bool operator==(const DestinationSelection&) const = default;
};

// One row of the completion list.
struct Completion {
    QUuid id;                               // fresh for every computation of the list
    QString label;
    QString detail;
    QString insertion;                      // empty for destination rows
    std::optional<QUuid> destinationID;     // destination rows only

    Completion() = default;
    // Gives the row a new random id.
    Completion(const QString& label, const QString& detail, const QString& insertion,
               const std::optional<QUuid>& destinationID = std::nullopt);

    bool operator==(const Completion&) const = default;
};

} // namespace quillor
