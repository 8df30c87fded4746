#pragma once

#include "core/DeliveryReceipt.h"
#include "platform/ShortcutCombination.h"

#include <QKeySequence>
#include <QString>

#include <optional>

namespace quillor {

// The texts and key hints of the program's menus, decided apart from the
// menus themselves.
namespace AppMenuPresentation {

// The disabled first line of the status menu: "0.1.0 (42) · Application".
// A missing version part reads "—"; the kind tells a test build (a data
// directory compiled in) and a store build apart from the ordinary one.
QString versionTitle(const QString& shortVersion, const QString& buildNumber, const QString& testDataDirectory,
                     bool sandboxed);
// The same from the running build.
QString versionTitle();

// What "Nouvelle capture" shows of the hot key: its keys as the item's
// shortcut hint, or, with no hot key in force, a tooltip saying the menu
// still works.
struct CaptureItem {
    QKeySequence keys;
    QString toolTip;

    bool operator==(const CaptureItem&) const = default;
};
CaptureItem captureItem(const std::optional<ShortcutCombination>& live);

// The latest-capture line: where the last capture went and when.
QString latestTitle(const std::optional<DeliveryReceipt>& latest);

} // namespace AppMenuPresentation
} // namespace quillor
