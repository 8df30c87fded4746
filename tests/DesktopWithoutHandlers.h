#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <vector>

namespace quillor::test {

// A desktop with nothing that opens files or web addresses and no session
// bus, for as long as it lives: nothing on the PATH, no browser named. The
// environment comes back as it was afterwards, for the tests that follow in
// the same process.
class DesktopWithoutHandlers {
public:
    DesktopWithoutHandlers()
    {
        for (const char* name : {"PATH", "BROWSER", "DEFAULT_BROWSER", "DBUS_SESSION_BUS_ADDRESS"}) {
            m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
            qunsetenv(name);
        }
        qputenv("PATH", "");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
    ~DesktopWithoutHandlers()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }
    DesktopWithoutHandlers(const DesktopWithoutHandlers&) = delete;
    DesktopWithoutHandlers& operator=(const DesktopWithoutHandlers&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

} // namespace quillor::test
