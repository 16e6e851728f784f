"""The Debian package of make package: its computed dependencies and its
listing, then the package unpacked into a temporary directory, its files
checked like an install tree and its binary run.

    tests/install/test_package.py PACKAGE_BUILD_DIR
"""

import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from layout import Checks, build_from_argv, check_tree, expected_files, fail, project_settings  # noqa: E402

# Libraries the game links, which dpkg-shlibdeps must have turned into
# dependencies.
LINKED_PACKAGES = ("libc6", "libstdc++6", "libglut3", "libx11-6")


def dpkg_deb(*args):
    r = subprocess.run(["dpkg-deb"] + list(args), capture_output=True, text=True)
    if r.returncode != 0:
        fail(f"dpkg-deb {' '.join(args)}: {r.stderr.strip()}")
    return r.stdout


def check_package(build, checks):
    name = f"verlomba_{project_settings()['version']}_*.deb"
    found = glob.glob(os.path.join(build, name))
    if len(found) != 1:
        fail(f"expected one {name} in {build}, found {found}")
    deb = found[0]
    depends = dpkg_deb("-f", deb, "Depends").strip()
    print(f"{os.path.basename(deb)}: Depends: {depends}")
    names = [d.strip().split()[0] for d in depends.split(",") if d.strip()]
    missing = [p for p in LINKED_PACKAGES if not any(n.startswith(p) for n in names)]
    checks.check(not missing, f"Depends ({depends}) lacks {missing}")

    paths = [line.split()[-1] for line in dpkg_deb("-c", deb).splitlines()]
    listed = {os.path.relpath(p, "./usr") for p in paths if not p.endswith("/")}
    wanted = expected_files("games")
    checks.check(listed == wanted, f"package: missing {sorted(wanted - listed)}, unexpected {sorted(listed - wanted)}")

    with tempfile.TemporaryDirectory(prefix="verlomba-deb-") as root:
        dpkg_deb("-x", deb, root)
        check_tree(checks, os.path.join(root, "usr"), "games", final_prefix="/usr")


def main():
    build = build_from_argv()
    checks = Checks()
    checks.run("package: computed dependencies, listing in Debian places, unpacked tree and its binary's "
               "--version", lambda: check_package(build, checks))
    checks.finish()


if __name__ == "__main__":
    main()
