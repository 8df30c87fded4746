#pragma once

#include <QString>

namespace quillor {

// Opening the program when the user logs in, as an XDG autostart entry:
// $XDG_CONFIG_HOME/autostart/quillor.desktop (~/.config/autostart). The entry
// is the only state: present and not switched off means enabled.
namespace LoginItem {

// Where the entry lives.
QString path();

// The entry exists, reads as a desktop entry, and neither "Hidden=true" nor
// "X-GNOME-Autostart-enabled=false" switches it off.
bool isEnabled();

// Writes the entry (creating its folder) so that the session starts
// `program`, which defaults to the AppImage the program runs from, else the
// program itself. Throws PlatformError with a French message.
void registerItem(const QString& program = {});

// Removes the entry; one that is not there counts as removed. Throws
// PlatformError with a French message.
void unregisterItem();

// The Exec value that runs `program` with no argument: quoted as desktop
// entries require, so spaces, quotes, "$" and "%" reach the program intact.
QString execValue(const QString& program);

} // namespace LoginItem
} // namespace quillor
