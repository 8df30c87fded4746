#pragma once

#include <QString>

#include <optional>

namespace quillor {

// The one folder that holds all of the application's own files:
// preferences.json, draft.json, capture-position.json, update-check.json and
// the folders Receipts, History, Backups and Recovered. Choosing it never
// creates it; the model does that at start-up.
namespace DataDirectory {

// Names of the entries inside the data directory.
inline QString preferencesFileName() { return QStringLiteral("preferences.json"); }
inline QString draftFileName() { return QStringLiteral("draft.json"); }
inline QString capturePositionFileName() { return QStringLiteral("capture-position.json"); }
inline QString updateCheckFileName() { return QStringLiteral("update-check.json"); }
inline QString receiptsFolderName() { return QStringLiteral("Receipts"); }
inline QString historyFolderName() { return QStringLiteral("History"); }
inline QString backupsFolderName() { return QStringLiteral("Backups"); }
inline QString recoveredFolderName() { return QStringLiteral("Recovered"); }

// The environment variable that overrides every other choice. The shell also
// sets it when it relaunches the program, so the new instance keeps the folder.
inline QString environmentVariable() { return QStringLiteral("QUILLOR_DATA_DIR"); }

// Everything the choice depends on, gathered once so that the rule itself is
// a pure function.
struct Inputs {
    // QUILLOR_DATA_DIR; nullopt when the variable is not set at all. An empty
    // value is still a value: it names the current directory, so a variable
    // exported empty makes the program keep its files wherever it was started.
    std::optional<QString> environmentValue;
    // Build information: sandbox testing, and a folder compiled in for tests.
    bool sandboxQA = false;
    QString testDataDirectory;
    // The process's current directory, against which relative paths resolve.
    QString currentDirectory;
    // The system's temporary folder. On Linux it is shared between users,
    // unlike a per-user temporary folder: acceptable for sandbox testing only.
    QString temporaryFolder;
    // The user's data folder ($XDG_DATA_HOME, usually ~/.local/share).
    QString userDataFolder;
};

// The process's own inputs: the environment, BuildInfo, the current and
// temporary directories and the generic data location (which, unlike the
// application data location, needs no application object or names).
Inputs currentInputs();

// First match wins: QUILLOR_DATA_DIR (made absolute, otherwise unchanged);
// sandbox testing → <temporary>/QuillorSandboxQA; a compiled-in test folder
// (made absolute); else <user data>/Quillor.
QString choose(const Inputs& inputs);

// choose(currentInputs()), computed on first use; later changes to the
// environment have no effect during the run.
QString support();

} // namespace DataDirectory
} // namespace quillor
