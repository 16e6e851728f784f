"""make install and make uninstall in temporary prefixes: what is installed,
checked with the desktop validators; icons rendered from the SVG; and an
uninstall that removes exactly its own install, leaving no file and no empty
directory behind and no other prefix touched.

    tests/install/test_install_tree.py BUILD_DIR
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from layout import (ICON_SIZES, REPO_ROOT, check_tree, expected_files, files_under,  # noqa: E402
                    project_settings, read)

sys.path.insert(0, os.path.join(REPO_ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(REPO_ROOT, "scripts"))

from harness import Checks, fail  # noqa: E402
from window_icon_source import read_png  # noqa: E402

INSTALL = os.path.join(REPO_ROOT, "scripts", "install-tree.sh")
# Largest difference of a channel allowed between an icon and a fresh
# rendering, for another librsvg's rounding.
ICON_TOLERANCE = 16


def install_tree(build, action, prefix, destdir=""):
    r = subprocess.run([INSTALL, action, build, prefix, destdir], capture_output=True, text=True)
    if r.returncode != 0:
        fail(f"{action} to {destdir}{prefix} failed: {r.stderr.strip()}")
    return r.stdout


def everything_under(root):
    """Every file and directory under root, relative to it."""
    found = set()
    for directory, dirs, names in os.walk(root):
        for name in dirs + names:
            found.add(os.path.relpath(os.path.join(directory, name), root))
    return found


def check_install(build, checks):
    with tempfile.TemporaryDirectory(prefix="verlomba-install-") as scratch:
        prefix = os.path.join(scratch, "home", ".local")
        install_tree(build, "install", prefix)
        listed = files_under(prefix)
        wanted = expected_files("bin")
        checks.check(listed == wanted, f"install tree: missing {sorted(wanted - listed)}, "
                                       f"unexpected {sorted(listed - wanted)}")
        check_tree(checks, prefix, "bin")
        install_tree(build, "uninstall", prefix)  # leaves no record behind


def check_icons(checks):
    app_svg = os.path.join(REPO_ROOT, "data", "verlomba.svg")
    with tempfile.TemporaryDirectory(prefix="verlomba-icons-") as scratch:
        for size in ICON_SIZES:
            shipped = os.path.join(REPO_ROOT, "data", "icons", f"verlomba-{size}.png")
            fresh = os.path.join(scratch, f"{size}.png")
            subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), app_svg, "-o", fresh], check=True)
            width, height, rows = read_png(shipped)
            _, _, fresh_rows = read_png(fresh)
            worst = max(abs(a - b) for row, fresh_row in zip(rows, fresh_rows) for a, b in zip(row, fresh_row))
            checks.check((width, height) == (size, size) and worst <= ICON_TOLERANCE,
                         f"{shipped} ({width}x{height}) is not the SVG rendered at {size} px "
                         f"(channels differ by up to {worst}): run make icons")
    source = os.path.join(REPO_ROOT, "src", "app", "WindowIconPixels.cpp")
    pngs = [os.path.join(REPO_ROOT, "data", "icons", f"verlomba-{s}.png") for s in (16, 32, 48)]
    generated = subprocess.run([sys.executable, os.path.join(REPO_ROOT, "scripts", "window_icon_source.py")] + pngs,
                               capture_output=True, text=True, check=True).stdout
    checks.check(generated == read(source), f"{source} is not made from the icons: run make icons")


def check_uninstall(build, checks):
    with tempfile.TemporaryDirectory(prefix="verlomba-uninstall-") as scratch:
        fresh = os.path.join(scratch, "fresh", "prefix")  # made by the install
        shared = os.path.join(scratch, "shared")  # holds another program's files
        stage = os.path.join(scratch, "stage")  # a staged install for /usr
        other_entry = os.path.join(shared, "share", "applications", "other.desktop")
        os.makedirs(os.path.dirname(other_entry))
        with open(other_entry, "w") as f:
            f.write("[Desktop Entry]\n")
        shared_before = everything_under(shared)

        install_tree(build, "install", fresh)
        install_tree(build, "install", fresh)  # again: still one install to undo
        install_tree(build, "install", shared)
        install_tree(build, "install", "/usr", stage)
        staged = everything_under(stage)

        install_tree(build, "uninstall", fresh)
        checks.check(not os.path.exists(os.path.join(scratch, "fresh")),
                     f"uninstall left {sorted(everything_under(os.path.join(scratch, 'fresh')))}")
        checks.check(everything_under(stage) == staged, "uninstalling one prefix touched the staged install")
        said = install_tree(build, "uninstall", fresh)
        checks.check(said.startswith("nothing installed"), f"a second uninstall said {said!r}")

        install_tree(build, "uninstall", shared)
        checks.check(everything_under(shared) == shared_before,
                     f"uninstall from a shared prefix left {sorted(everything_under(shared) - shared_before)} "
                     f"and took {sorted(shared_before - everything_under(shared))}")

        install_tree(build, "uninstall", "/usr", stage)
        checks.check(not os.path.exists(stage), f"uninstall left {sorted(everything_under(stage))} staged")


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} BUILD_DIR", file=sys.stderr)
        sys.exit(2)
    build = os.path.abspath(sys.argv[1])
    checks = Checks()
    print(f"version {project_settings()['version']}, id {project_settings()['app_id']}")
    checks.run("install tree: files in place, desktop-file-validate, appstreamcli, man page, one version",
               lambda: check_install(build, checks))
    checks.run("icons: PNGs and the window icon rendered from the SVG", lambda: check_icons(checks))
    checks.run("uninstall: exactly its own install, no empty directory left, no other prefix touched",
               lambda: check_uninstall(build, checks))
    checks.finish()


if __name__ == "__main__":
    main()
