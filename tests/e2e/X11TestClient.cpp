// Another X application for the end-to-end tests, with two roles:
//   X11TestClient window <title>   a small titled window that stays mapped;
//                                  prints its window id (decimal) once mapped
//   X11TestClient grab-control-space
//                                  takes Control+Space on the root window and
//                                  holds it; prints "grabbed" once it has it
// Either way it runs until killed, handling its events so the server never
// waits on it. Uses $DISPLAY.

#include "X11Probe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using quillor::e2e::X11Probe;

namespace {

int usage()
{
    fprintf(stderr, "usage: X11TestClient window <title> | grab-control-space\n");
    return 2;
}

[[noreturn]] void serveForever(const X11Probe& probe)
{
    while (xcb_generic_event_t* event = xcb_wait_for_event(probe.connection()))
        free(event);
    // The server went away: nothing left to hold.
    exit(0);
}

} // namespace

int main(int argc, char* argv[])
{
    const char* display = getenv("DISPLAY");
    if (argc < 2 || !display)
        return usage();
    X11Probe probe(display);
    if (!probe.connected()) {
        fprintf(stderr, "cannot connect to %s\n", display);
        return 1;
    }

    if (strcmp(argv[1], "window") == 0 && argc == 3) {
        const xcb_window_t window = probe.createWindow(argv[2]);
        probe.sync();
        printf("%u\n", window);
        fflush(stdout);
        serveForever(probe);
    }
    if (strcmp(argv[1], "grab-control-space") == 0 && argc == 2) {
        const auto space = probe.keycode(quillor::e2e::spaceKeysym);
        if (!space || !probe.grabKey(*space, XCB_MOD_MASK_CONTROL)) {
            fprintf(stderr, "cannot grab Control+Space\n");
            return 1;
        }
        printf("grabbed\n");
        fflush(stdout);
        serveForever(probe);
    }
    return usage();
}
