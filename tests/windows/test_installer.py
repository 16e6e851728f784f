"""The program needs no DLL beside it and opens no console; the zip holds the program, the tuning file, the licence and the read-me;
the installer run silently (/S) under Wine installs them with a Start-menu
entry and an Apps & features entry, the game starts from the installed
path, and the uninstaller leaves nothing behind."""

import os
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from harness import Checks, project_settings  # noqa: E402
from wine import ensure_prefix, run  # noqa: E402

KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Verlomba"
INSTALLED = ["LICENSE.txt", "README.txt", "Verlomba.ini", "uninstall.exe", "verlomba.exe"]


def files_under(root):
    """Every file and folder of the prefix's drive C but the temporary ones,
    which an uninstaller's copy of itself lives in until the next start."""
    found = set()
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d.lower() not in ("temp", "tmp")]
        found.update(os.path.join(folder, name) for name in dirs + files)
    return found


def registry(build_dir, name):
    _, out, _ = run(build_dir, ["reg", "query", KEY, "/v", name])
    line = next((line for line in out.splitlines() if line.strip().startswith(name)), "")
    return line.split(None, 2)[2].strip() if line.count(" ") >= 2 else None


def unix_path(build_dir, path):
    return subprocess.run(["winepath", "-u", path], env=ensure_prefix(build_dir), stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, check=True).stdout.decode().strip()


# What every Windows has: nothing needs to be shipped beside the program.
SYSTEM_DLLS = {"gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "shcore.dll", "shell32.dll", "user32.dll",
               "winmm.dll"}


def check_program(build_dir, checks):
    headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", os.path.join(build_dir, "verlomba.exe")],
                             stdout=subprocess.PIPE, check=True).stdout.decode()
    dlls = {line.split(":", 1)[1].strip().lower() for line in headers.splitlines() if "DLL Name:" in line}
    checks.check(dlls <= SYSTEM_DLLS, f"verlomba.exe needs DLLs Windows lacks: {sorted(dlls - SYSTEM_DLLS)}")
    # A start from Explorer opens no console window.
    checks.check("(Windows GUI)" in headers, "verlomba.exe is not a program of the GUI subsystem")


def check_zip(build_dir, version, checks):
    with zipfile.ZipFile(os.path.join(build_dir, f"verlomba-{version}-windows-x64.zip")) as z:
        names = sorted(n for n in z.namelist() if not n.endswith("/"))
    want = sorted(f"verlomba-{version}/{n}" for n in INSTALLED if n != "uninstall.exe")
    checks.check(names == want, f"the zip holds {names}, not {want}")


def check_installer(build_dir, version, checks):
    env = ensure_prefix(build_dir)
    drive = os.path.join(env["WINEPREFIX"], "drive_c")
    before = files_under(drive)
    status, _, err = run(build_dir, [os.path.join(build_dir, f"verlomba-{version}-setup.exe"), "/S"], timeout=300)
    subprocess.run(["wineserver", "-w"], env=env, timeout=120)
    checks.check(status == 0, f"the installer failed ({status}): {err}")
    location = registry(build_dir, "InstallLocation")
    checks.check(location is not None, "no Apps & features entry")
    if location is None:
        return
    checks.check(registry(build_dir, "DisplayVersion") == version and registry(build_dir, "Publisher"),
                 "the Apps & features entry lacks the version or the publisher")
    folder = unix_path(build_dir, location)
    checks.check(sorted(os.listdir(folder)) == INSTALLED, f"installed: {sorted(os.listdir(folder))}")
    added = files_under(drive) - before
    checks.check(any(p.endswith(os.path.join("Programs", "Verlomba City.lnk")) for p in added),
                 "no Start-menu entry")
    status, out, _ = run(build_dir, [location + "\\verlomba.exe", "--version"])
    checks.check(status == 0 and out == f"verlomba {version}\n", f"the installed game: {status}, {out!r}")

    status, _, err = run(build_dir, [location + "\\uninstall.exe", "/S"])
    subprocess.run(["wineserver", "-w"], env=env, timeout=120)
    left = sorted(files_under(drive) - before)
    checks.check(status == 0 and not left, f"the uninstaller ({status}) left {left[:5]}")
    checks.check(registry(build_dir, "DisplayName") is None, "the Apps & features entry is still there")


def main():
    build_dir = os.path.abspath(sys.argv[1])
    version = project_settings()["version"]
    checks = Checks()
    checks.run("program: system DLLs only, GUI subsystem", lambda: check_program(build_dir, checks))
    checks.run("zip: the program, tuning, licence and read-me", lambda: check_zip(build_dir, version, checks))
    checks.run("installer: silent install, the game from its folder, uninstall leaves nothing",
               lambda: check_installer(build_dir, version, checks))
    checks.finish()


if __name__ == "__main__":
    main()
