#pragma once

#include <QString>

namespace quillor {

// What the build was configured with (CMake options, compiled in): the values
// another platform keeps in its application bundle's Info keys.
namespace BuildInfo {

QString shortVersion();    // "0.1.0"
QString buildNumber();
// The store flavour: destination folders are reached only through bookmarks,
// and updates come from the store.
bool sandboxed();
// Sandbox testing: the data directory lives in the temporary folder.
bool sandboxQA();
// A data directory fixed at build time for testing; empty when none.
QString testDataDirectory();
QString updateHost();

} // namespace BuildInfo
} // namespace quillor
