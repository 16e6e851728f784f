"""make install and uninstall in temporary prefixes, and the icons rendered
from the SVG. Usage: test_install_tree.py BUILD_DIR"""

import hashlib
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from layout import (ICON_SIZES, REPO_ROOT, Checks, build_from_argv, check_tree, expected_files,  # noqa: E402
                    fail, files_under)

sys.path.insert(0, os.path.join(REPO_ROOT, "scripts"))

from window_icon_data import read_png, window_icon_data  # noqa: E402

# Another librsvg may round a channel differently by this much.
ICON_TOLERANCE = 16


def install_tree(build, action, prefix, destdir=""):
    r = subprocess.run([os.path.join(REPO_ROOT, "scripts", "install-tree.sh"), action, build, prefix, destdir],
                       capture_output=True, text=True)
    if r.returncode != 0:
        fail(f"{action} to {destdir}{prefix} failed: {r.stderr.strip()}")
    return r.stdout


def check_install_and_uninstall(build, checks):
    with tempfile.TemporaryDirectory(prefix="verlomba-install-") as scratch:
        fresh = os.path.join(scratch, "fresh")  # made by the install
        shared = os.path.join(scratch, "shared")  # holds another program's files
        stage = os.path.join(scratch, "stage")  # a staged install to the fresh prefix
        os.makedirs(os.path.join(shared, "share", "man", "man6"))  # empty, yet not the install's to remove
        os.makedirs(os.path.join(shared, "share", "applications"))
        with open(os.path.join(shared, "share", "applications", "other.desktop"), "w") as f:
            f.write("[Desktop Entry]\n")
        victim = os.path.join(scratch, "victim")
        os.makedirs(os.path.join(victim, "empty"))
        with open(os.path.join(victim, "keep.txt"), "w") as f:
            f.write("not the install's\n")
        os.symlink(victim, os.path.join(shared, "linked"))
        os.symlink(os.path.join(victim, "keep.txt"), os.path.join(shared, "keep-link"))
        shared_before = files_under(shared, True)

        install_tree(build, "install", fresh)
        listed, wanted = files_under(fresh), expected_files("bin")
        checks.check(listed == wanted, f"install tree: missing {sorted(wanted - listed)}, "
                                       f"unexpected {sorted(listed - wanted)}")
        check_tree(checks, fresh, "bin")
        install_tree(build, "install", fresh)  # again: still one install to undo
        install_tree(build, "install", shared)
        install_tree(build, "install", fresh, stage)
        staged = files_under(stage, True)

        install_tree(build, "uninstall", fresh)
        checks.check(not os.path.exists(fresh), f"uninstall left {sorted(files_under(fresh, True))}")
        checks.check(files_under(stage, True) == staged, "uninstalling one prefix touched the staged install")
        said = install_tree(build, "uninstall", fresh)
        checks.check(said.startswith("nothing installed"), f"a second uninstall said {said!r}")

        # A record anyone could have written to: what it names outside the
        # prefix, through "..", through a link or not a plain file is left.
        record = os.path.join(build, "installs", hashlib.md5(shared.encode()).hexdigest() + ".txt")
        with open(record, "a") as f:
            for line in (f"f {victim}/keep.txt", f"f {shared}/../victim/keep.txt", f"f {shared}/linked/keep.txt",
                         f"f {shared}/keep-link", f"f {shared}/share", f"d {victim}/empty", f"d {shared}/linked"):
                f.write(line + "\n")
        r = subprocess.run([os.path.join(REPO_ROOT, "scripts", "install-tree.sh"), "uninstall", build, shared],
                           capture_output=True, text=True)
        checks.check(r.returncode == 0 and r.stderr.count("skipped") == 7, f"uninstall with a doctored record "
                     f"({r.returncode}) said {r.stderr!r}")
        checks.check(files_under(victim, True) == {"keep.txt", "empty"}, "uninstall removed files outside the prefix")
        shared_after = files_under(shared, True)
        checks.check(shared_after == shared_before, f"uninstall from a shared prefix left "
                                                    f"{sorted(shared_after - shared_before)} and took "
                                                    f"{sorted(shared_before - shared_after)}")
        install_tree(build, "uninstall", fresh, stage)
        checks.check(not os.path.exists(stage), f"uninstall left {sorted(files_under(stage, True))} staged")


def check_icons(checks):
    icons = os.path.join(REPO_ROOT, "data", "icons")
    with tempfile.TemporaryDirectory(prefix="verlomba-icons-") as scratch:
        for size in ICON_SIZES:
            shipped, fresh = os.path.join(icons, f"verlomba-{size}.png"), os.path.join(scratch, f"{size}.png")
            subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size),
                            os.path.join(REPO_ROOT, "data", "verlomba.svg"), "-o", fresh], check=True)
            width, height, rows = read_png(shipped)
            worst = max(abs(a - b) for row, fresh_row in zip(rows, read_png(fresh)[2])
                        for a, b in zip(row, fresh_row))
            checks.check((width, height) == (size, size) and worst <= ICON_TOLERANCE,
                         f"{shipped} ({width}x{height}) is not the SVG rendered at {size} px "
                         f"(channels differ by up to {worst}): run make icons")
    data = os.path.join(icons, "window-icon.argb")
    pngs = [os.path.join(icons, f"verlomba-{s}.png") for s in (16, 32, 48, 64, 128)]
    with open(data, "rb") as f:
        checks.check(window_icon_data(pngs) == f.read(), f"{data} is not made from the icons: run make icons")


def main():
    build = build_from_argv()
    checks = Checks()
    checks.run("install tree: files in place, validators, man page, one version; uninstall: exactly its own "
               "install, no empty directory left, no other prefix touched",
               lambda: check_install_and_uninstall(build, checks))
    checks.run("icons: PNGs and the window icon rendered from the SVG", lambda: check_icons(checks))
    checks.finish()


if __name__ == "__main__":
    main()
