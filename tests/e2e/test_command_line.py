"""The command line, run for real: help, version, bad usage, no display,
--city and the per-user directory. (Their corners are unit tests.)"""

import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import (REPO_ROOT, Checks, GameSession, binary_from_argv,  # noqa: E402
                     environment_without_display, fail, project_settings)

# What --help must tell: the options, the files and the environment.
HELP_MENTIONS = ["--user-dir", "--city", "--version", "Verlomba.ini", "Verlomba-saved.ini", "Verlomba-city.txt",
                 "copyright.txt", "DISPLAY", "VERLOMBA_RENDERER", "VERLOMBA_SCALE", "--scale", "XDG_DATA_HOME",
                 "$HOME"]


def run(binary, args, env, timeout=10.0):
    try:
        return subprocess.run([binary] + args, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        fail(f"verlomba {' '.join(args)} still runs after {timeout:.0f}s")


def check_help_version_and_bad_usage(binary, checks):
    version = re.escape(project_settings()["version"])
    # With a display none of them may open a window: the about box would keep
    # the process waiting, and the run would time out.
    with GameSession(binary, launch=False) as session:
        for env, where in ((environment_without_display(), "without a display"), (session.env(), "with a display")):
            for args, status, output, errors in (
                    ("--help", 0, "Usage: verlomba .*", ""), ("--version", 0, f"verlomba {version}\n", ""),
                    ("--bogus", 2, "", "verlomba: unknown option '--bogus'\nUsage: verlomba .*")):
                r = run(binary, [args], env)
                missing = [m for m in HELP_MENTIONS if m not in r.stdout] if args == "--help" else []
                checks.check(r.returncode == status and re.fullmatch(output, r.stdout, re.S)
                             and re.fullmatch(errors, r.stderr, re.S) and not missing,
                             f"{args} {where}: status {r.returncode}, output {r.stdout[:60]!r} (lacking "
                             f"{missing}), errors {r.stderr[:80]!r}")
        windows = session.top_level_windows()
        checks.check(not windows, f"windows left open on the display: {windows}")


def check_no_display(binary, checks):
    # DISPLAY unset, and naming a server that is not there.
    for display in (None, ":4093"):
        env = environment_without_display()
        if display:
            env["DISPLAY"] = display
        r = run(binary, [], env)
        lines = r.stderr.splitlines()
        checks.check(r.returncode == 1 and len(lines) == 1 and not r.stdout
                     and lines[0].startswith("verlomba: cannot open the X display")
                     and "DISPLAY" in lines[0] and (display or "") in lines[0],
                     f"DISPLAY={display}: status {r.returncode}, said {r.stderr!r} (and {r.stdout!r} on standard "
                     "output), not 1 and one line naming the game, the display and DISPLAY")


def check_city_option(binary, checks):
    # A city saved in play (the city fuzzer's seed) starts the game.
    city = os.path.join(REPO_ROOT, "tests", "fuzz", "corpus", "city", "played.txt")
    with GameSession(binary, args=["--city", city]) as session:
        session.open_game()
        time.sleep(1.0)
        session.check_running()
        checks.check("cannot load" not in session.game_output(), f"--city {city}: {session.game_output()}")
    # Refused before the display is even looked for: one line, status 1.
    with tempfile.TemporaryDirectory(prefix="verlomba-city-") as scratch:
        cut = os.path.join(scratch, "cut.txt")
        with open(cut, "w") as f:
            f.write("verlomba-city 1\nclock 12\n")
        fifo = os.path.join(scratch, "fifo.txt")
        os.mkfifo(fifo)
        for path, reason in ((os.path.join(scratch, "none.txt"), "no such file"), (cut, "line 3: cut short"),
                             (fifo, "it is a FIFO")):
            r = run(binary, ["--city", path], environment_without_display())
            said = re.fullmatch(f"verlomba: cannot load {re.escape(path)}: {reason}[^\n]*\n", r.stderr)
            checks.check(r.returncode == 1 and said,
                         f"--city {path}: status {r.returncode}, said {r.stderr!r}")


def check_user_directory(binary, checks):
    with tempfile.TemporaryDirectory(prefix="verlomba-xdg-") as scratch:
        data_home = os.path.join(scratch, "data")  # not there yet
        user_dir = os.path.join(data_home, "verlomba")
        with GameSession(binary, args=["--user-dir"], env={"XDG_DATA_HOME": data_home}) as session:
            session.wait_for_window("^Verlomba$")
            playing_in = os.readlink(f"/proc/{session.game.pid}/cwd")
            checks.check(playing_in == user_dir, f"--user-dir plays in {playing_in}, not {user_dir}")
            with open(os.path.join(user_dir, "Verlomba.ini"), "rb") as made, \
                    open(os.path.join(REPO_ROOT, "Verlomba.ini"), "rb") as shipped:
                checks.check(made.read() == shipped.read(), "the per-user Verlomba.ini is not the commented one")

        # A file where the directory should be: a warning, and the game goes
        # on (here as far as the missing display).
        blocked = os.path.join(scratch, "file")
        open(blocked, "w").close()
        r = run(binary, ["--user-dir"], dict(environment_without_display(), XDG_DATA_HOME=blocked))
        checks.check(re.fullmatch(f"verlomba: cannot use {re.escape(blocked)}/verlomba: [^\n]*\nverlomba: [^\n]*\n",
                                  r.stderr), f"with its directory blocked the game says {r.stderr!r}")


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("--help, --version and bad usage need no display and open no window",
               lambda: check_help_version_and_bad_usage(binary, checks))
    checks.run("without a display: one line naming the game, status 1", lambda: check_no_display(binary, checks))
    checks.run("--city starts from a saved city; a file it refuses: one line naming it and why, status 1",
               lambda: check_city_option(binary, checks))
    checks.run("--user-dir plays in $XDG_DATA_HOME/verlomba, made with the tuning template",
               lambda: check_user_directory(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
