#pragma once

// Starting the program and knowing when its hot key is live. X has no request
// that lists passive grabs, so the only way to tell is to try the same grab
// and be refused. That probe holds the combination between two requests the
// server handles back to back, and a program grabbing in that instant would be
// refused in turn: the probe comes only every so often, and a program that
// reports the combination taken when no rival exists is started again.

#include "ChildProcess.h"
#include "X11Probe.h"

#include <string>
#include <utility>

namespace quillor::e2e {

struct LaunchedProgram {
    std::unique_ptr<ChildProcess> process;
    std::string errorLog;
};

struct HotKeyLaunch {
    LaunchedProgram program; // empty on failure
    std::string failure;
};

// `start(attempt)` launches the program with a fresh error log per attempt.
template <typename Start>
HotKeyLaunch startHoldingHotKey(const X11Probe& probe, Start start, int attempts = 3)
{
    const auto space = probe.keycode(spaceKeysym);
    if (!space)
        return {{}, "no Space key in the keyboard map"};
    std::string failure;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        LaunchedProgram program = start(attempt);
        if (!program.process)
            return {{}, "the program could not be started"};
        ChildProcess& process = *program.process;
        bool held = false;
        const auto refused = [&] {
            return readWholeFile(program.errorLog).find("Ce raccourci est déjà réservé") != std::string::npos;
        };
        waitUntil(
            [&] {
                held = probe.keyHeldElsewhere(*space, XCB_MOD_MASK_CONTROL);
                return held || refused() || !process.running();
            },
            Milliseconds(30000), Milliseconds(150));
        if (held)
            return {std::move(program), {}};
        if (!process.running())
            return {{}, "the program ended (exit code " + std::to_string(process.exitCode()) + ")"};
        if (!refused())
            return {{}, "the hot key was never grabbed"};
        failure = "the probe and the program met on the hot key every time";
        process.stop();
    }
    return {{}, failure};
}

} // namespace quillor::e2e
