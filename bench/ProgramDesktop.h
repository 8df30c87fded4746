#pragma once

// The desktop a benchmark runs the whole program on: an Xvfb of its own,
// Openbox as the window manager, and the environment the program starts in.

#include "ChildProcess.h"
#include "X11Probe.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace quillor::bench {

struct ProgramDesktop {
    std::unique_ptr<e2e::XvfbServer> server;
    std::unique_ptr<e2e::X11Probe> probe;
    e2e::Environment environment = e2e::Environment::inherited();
    std::unique_ptr<e2e::ChildProcess> windowManager;

    // Null, the reason printed, when a tool is missing or does not come up.
    // `runtime` becomes the program's XDG_RUNTIME_DIR.
    static std::unique_ptr<ProgramDesktop> start(const std::string& logs, const std::string& runtime)
    {
        using namespace std::chrono_literals;
        for (const char* tool : {"Xvfb", "openbox", "xdotool"}) {
            if (!e2e::onPath(tool)) {
                std::fprintf(stderr, "%s is not installed (scripts/install-deps.sh)\n", tool);
                return nullptr;
            }
        }
        auto desktop = std::make_unique<ProgramDesktop>();
        desktop->server = e2e::XvfbServer::start(logs + "/xvfb.err");
        if (!desktop->server) {
            std::fprintf(stderr, "Xvfb did not start\n");
            return nullptr;
        }
        desktop->probe = std::make_unique<e2e::X11Probe>(desktop->server->display());
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        desktop->environment = e2e::Environment::inherited()
                                   .set("DISPLAY", desktop->server->display())
                                   .set("XDG_RUNTIME_DIR", runtime)
                                   .set("QT_QPA_PLATFORM", "xcb")
                                   .set("LC_ALL", "C.UTF-8")
                                   .unset("WAYLAND_DISPLAY")
                                   .unset("XDG_SESSION_TYPE")
                                   .set("DBUS_SESSION_BUS_ADDRESS", "disabled:")
                                   .unset("SESSION_MANAGER")
                                   .unset("QUILLOR_EXIT_WHEN_IDLE");
        desktop->windowManager = e2e::ChildProcess::start(
            {{"openbox", "--sm-disable"}, desktop->environment.entries(), "/dev/null", logs + "/openbox.err"});
        const e2e::X11Probe& probe = *desktop->probe;
        if (!probe.connected() || !e2e::waitUntil([&] { return probe.windowManagerRunning(); }, 10s)) {
            std::fprintf(stderr, "Openbox did not start\n");
            return nullptr;
        }
        return desktop;
    }
};

} // namespace quillor::bench
