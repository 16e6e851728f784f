"""The command line: help, version and bad usage without a display or a
window, one line of error when no display opens, and the per-user directory
the desktop entry starts the game in."""

import os
import stat
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import (REPO_ROOT, Checks, GameSession, binary_from_argv,  # noqa: E402
                     environment_without_display, fail, project_settings)

ABOUT_TITLE = "^Verlomba$"
# What --help must tell: the options, the files and the environment.
HELP_MENTIONS = ["--user-dir", "--help", "--version", "Verlomba.ini", "Verlomba-saved.ini", "copyright.txt",
                 "DISPLAY", "VERLOMBA_RENDERER", "gl or software", "XDG_DATA_HOME", "$HOME"]


def run(binary, args, env, timeout=10.0):
    try:
        return subprocess.run([binary] + args, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        fail(f"verlomba {' '.join(args)} still runs after {timeout:.0f}s")


def check_help_version_and_bad_usage(binary, checks):
    version = project_settings()["version"]

    def check_runs(run_binary, where):
        for args in (["--help"], ["-h"]):
            r = run_binary(args)
            checks.check(r.returncode == 0 and r.stdout.startswith("Usage: verlomba") and not r.stderr,
                         f"{args[0]} {where}: status {r.returncode}, output {r.stdout[:60]!r}, errors {r.stderr!r}")
            missing = [m for m in HELP_MENTIONS if m not in r.stdout]
            checks.check(not missing, f"{args[0]} {where} does not mention {missing}")
        for args in (["--version"], ["-V"]):
            r = run_binary(args)
            checks.check((r.returncode, r.stdout, r.stderr) == (0, f"verlomba {version}\n", ""),
                         f"{args[0]} {where}: status {r.returncode}, output {r.stdout!r}, errors {r.stderr!r}")
        for args, problem in ((["--bogus"], "unknown option '--bogus'"), (["level2"], "unexpected argument")):
            r = run_binary(args)
            first = r.stderr.splitlines()[0] if r.stderr else ""
            checks.check(r.returncode == 2 and first.startswith(f"verlomba: {problem}")
                         and "Usage: verlomba" in r.stderr and not r.stdout,
                         f"{args[0]} {where}: status {r.returncode}, output {r.stdout!r}, errors {r.stderr[:80]!r}")

    check_runs(lambda args: run(binary, args, environment_without_display()), "without a display")
    # With a display none of them may open a window: the about box would keep
    # the process waiting, and run_binary would time out.
    with GameSession(binary, launch=False) as session:
        check_runs(session.run_binary, "with a display")
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


def working_directory(session):
    return os.readlink(f"/proc/{session.game.pid}/cwd")


def check_user_directory(binary, checks):
    with open(os.path.join(REPO_ROOT, "Verlomba.ini"), "rb") as f:
        template = f.read()
    with tempfile.TemporaryDirectory(prefix="verlomba-xdg-") as scratch:
        data_home = os.path.join(scratch, "data")  # not there yet
        user_dir = os.path.join(data_home, "verlomba")
        tuning = os.path.join(user_dir, "Verlomba.ini")
        env = {"XDG_DATA_HOME": data_home}

        with GameSession(binary, args=["--user-dir"], env=env) as session:
            session.wait_for_window(ABOUT_TITLE)
            checks.check(working_directory(session) == user_dir,
                         f"--user-dir plays in {working_directory(session)}, not {user_dir}")
            checks.check(stat.S_IMODE(os.stat(data_home).st_mode) == 0o700,
                         f"{data_home} was made with mode {stat.S_IMODE(os.stat(data_home).st_mode):o}, not 700")
            with open(tuning, "rb") as f:
                checks.check(f.read() == template, f"{tuning} is not a copy of the commented Verlomba.ini")

        with open(tuning, "w") as f:
            f.write("kStartWithMoney = 0.9\n")
        with GameSession(binary, args=["--user-dir"], env=env) as session:
            session.wait_for_window(ABOUT_TITLE)
            with open(tuning) as f:
                checks.check(f.read() == "kStartWithMoney = 0.9\n", "a second start replaced the player's tuning")

        # A file where the directory should be: a warning, and the game plays
        # where it was started.
        blocked = os.path.join(scratch, "file")
        with open(blocked, "w"):
            pass
        with GameSession(binary, args=["--user-dir"], env={"XDG_DATA_HOME": blocked}) as session:
            session.wait_for_window(ABOUT_TITLE)
            checks.check(working_directory(session) == session.workdir,
                         f"with its directory blocked the game plays in {working_directory(session)}")
            checks.check(session.game_output().startswith("verlomba: cannot use "),
                         f"no warning about the blocked directory: {session.game_output()!r}")

    # Started from a shell, without the option, it stays where it was started.
    with GameSession(binary) as session:
        session.wait_for_window(ABOUT_TITLE)
        checks.check(working_directory(session) == session.workdir,
                     f"without --user-dir the game plays in {working_directory(session)}, not {session.workdir}")


def main():
    binary = binary_from_argv()
    checks = Checks()
    checks.run("--help, --version and bad usage need no display and open no window",
               lambda: check_help_version_and_bad_usage(binary, checks))
    checks.run("without a display: one line naming the game, status 1", lambda: check_no_display(binary, checks))
    checks.run("--user-dir plays in $XDG_DATA_HOME/verlomba, made with the tuning template",
               lambda: check_user_directory(binary, checks))
    checks.finish()


if __name__ == "__main__":
    main()
