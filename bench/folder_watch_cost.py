#!/usr/bin/env python3
"""What files made and removed in a folder above the vault cost the program's
GUI thread, panel hidden and shown.

Runs the program under an Xvfb of its own (Openbox as the window manager, as
the end-to-end tests do) with its vault at <scratch>/Haut/Chemin/Coffre, then,
for each rate, makes and removes that many files a second for the given time
first in <scratch>/Ailleurs (watched by nobody: the baseline) and then in
<scratch>/Haut (above the vault), and reads the GUI thread's CPU time from
/proc/<pid>/task/<pid>/schedstat (or stat). Prints each figure in milliseconds
of CPU and as a ratio to the baseline of the same rate and panel, measured in
the same run (a baseline under 1 ms counts as 1 ms).

    bench/folder_watch_cost.py build/src/app/quillor [--seconds 10] [--rates 1000,10000]
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import uuid

TICKS = os.sysconf("SC_CLK_TCK")


def gui_thread_cpu_ms(pid):
    # In nanoseconds where the kernel keeps scheduler statistics, else in ticks.
    try:
        with open(f"/proc/{pid}/task/{pid}/schedstat") as schedstat:
            return int(schedstat.read().split()[0]) / 1e6
    except OSError:
        pass
    with open(f"/proc/{pid}/task/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15, counted from the state (field 3).
    return (int(fields[11]) + int(fields[12])) * 1000.0 / TICKS


def churn(folder, rate, seconds):
    """Makes and removes `rate` files a second in `folder`, in steps of 10 ms."""
    step = 0.01
    per_step = max(1, int(rate * step))
    start = time.monotonic()
    made = 0
    while True:
        now = time.monotonic() - start
        if now >= seconds:
            break
        due = int(now / step + 1) * per_step
        while made < due:
            name = os.path.join(folder, f"f{made % 1000}.tmp")
            os.close(os.open(name, os.O_CREAT | os.O_WRONLY, 0o644))
            os.unlink(name)
            made += 1
        time.sleep(max(0.0, (made / per_step) * step - (time.monotonic() - start)))
    return made


def measure(pid, folder, rate, seconds):
    before = gui_thread_cpu_ms(pid)
    if rate:
        churn(folder, rate, seconds)
    else:
        time.sleep(seconds)
    return gui_thread_cpu_ms(pid) - before


def visible_panel(environment):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quillor$"], env=environment,
                           capture_output=True, text=True)
    return found.returncode == 0 and found.stdout.strip() != ""


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("--rates", default="1000,10000")
    parser.add_argument("--scratch", help="folder to work in (default: a new one in the temporary folder)")
    arguments = parser.parse_args()
    for tool in ("Xvfb", "openbox", "xdotool"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is not installed (scripts/install-deps.sh)")
    rates = [int(rate) for rate in arguments.rates.split(",")]

    scratch = tempfile.mkdtemp(prefix="quillor-watch-", dir=arguments.scratch)
    for folder in ("data", "home", "runtime", "Ailleurs", "Haut/Chemin/Coffre"):
        os.makedirs(os.path.join(scratch, folder), exist_ok=True)
    os.chmod(os.path.join(scratch, "runtime"), 0o700)
    vault = os.path.join(scratch, "Haut/Chemin/Coffre")
    destination = str(uuid.uuid4()).upper()
    with open(os.path.join(scratch, "data/preferences.json"), "w") as preferences:
        json.dump({
            "destinations": [{"id": destination, "name": "Inbox", "alias": "inbox", "vaultPath": vault,
                              "mode": "newNote", "path": "Inbox", "attachmentFolder": "Attachments"}],
            "defaultDestinationID": destination, "language": "fr", "automaticallyCheckUpdates": False,
            "routePrefix": "@", "hotkeyCode": 49, "hotkeyModifiers": 4096, "hotkeyDisplay": "⌃Space",
            "attachmentSettingsVersion": 1,
        }, preferences)

    display = f":{200 + os.getpid() % 500}"
    home = os.path.join(scratch, "home")
    environment = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=home + "/.config",
                       XDG_DATA_HOME=home + "/.local/share", XDG_CACHE_HOME=home + "/.cache",
                       XDG_RUNTIME_DIR=os.path.join(scratch, "runtime"), QUILLOR_DATA_DIR=os.path.join(scratch, "data"),
                       QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8", TZ="UTC", DBUS_SESSION_BUS_ADDRESS="disabled:")
    for name in ("WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "SESSION_MANAGER", "QUILLOR_EXIT_WHEN_IDLE"):
        environment.pop(name, None)
    quiet = subprocess.DEVNULL
    children = [subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                 stdout=quiet, stderr=quiet)]
    try:
        time.sleep(1)
        children.append(subprocess.Popen(["openbox", "--sm-disable"], env=environment, stdout=quiet, stderr=quiet))
        time.sleep(1)
        program = subprocess.Popen([arguments.program], env=environment, stdout=quiet, stderr=quiet)
        children.append(program)
        # Start-up (draft, index, first look) is over.
        time.sleep(3)
        print(f"{'panel':<7}{'rate/s':>8}{'baseline ms':>13}{'above ms':>10}{'ratio':>8}")
        for shown in (False, True):
            if shown:
                for _ in range(20):
                    subprocess.run(["xdotool", "key", "ctrl+space"], env=environment)
                    time.sleep(1)
                    if visible_panel(environment):
                        break
                else:
                    sys.exit("the panel did not show")
                time.sleep(1)
            for rate in rates:
                baseline = measure(program.pid, os.path.join(scratch, "Ailleurs"), rate, arguments.seconds)
                above = measure(program.pid, os.path.join(scratch, "Haut"), rate, arguments.seconds)
                ratio = above / max(baseline, 1.0)
                print(f"{'shown' if shown else 'hidden':<7}{rate:>8}{baseline:>13.1f}{above:>10.1f}{ratio:>8.2f}",
                      flush=True)
    finally:
        for child in reversed(children):
            child.terminate()
            try:
                child.wait(10)
            except subprocess.TimeoutExpired:
                child.kill()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
