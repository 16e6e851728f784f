"""The Debian package of make package: its fields and listing, then the
package unpacked into a temporary directory, its files checked like an
install tree and its binary run.

    tests/install/test_package.py PACKAGE_BUILD_DIR
"""

import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from layout import check_tree, expected_files, project_settings  # noqa: E402
from harness import Checks, fail  # noqa: E402

# Libraries the game links, which dpkg-shlibdeps must have turned into
# dependencies.
LINKED_PACKAGES = ("libc6", "libstdc++6", "libglut3", "libx11-6")


def dpkg_deb(*args):
    r = subprocess.run(["dpkg-deb"] + list(args), capture_output=True, text=True)
    if r.returncode != 0:
        fail(f"dpkg-deb {' '.join(args)}: {r.stderr.strip()}")
    return r.stdout


def find_package(build):
    version = project_settings()["version"]
    found = glob.glob(os.path.join(build, f"verlomba_{version}_*.deb"))
    if len(found) != 1:
        fail(f"expected one verlomba_{version}_*.deb in {build}, found {found}")
    return found[0]


def check_fields(deb, checks):
    fields = {}
    for name in ("Package", "Version", "Section", "Depends", "Description"):
        fields[name] = dpkg_deb("-f", deb, name).strip()
    print(f"{os.path.basename(deb)}: Depends: {fields['Depends']}")
    checks.check(fields["Package"] == "verlomba" and fields["Section"] == "games",
                 f"package {fields['Package']!r} in section {fields['Section']!r}")
    checks.check(fields["Version"] == project_settings()["version"], f"package version {fields['Version']!r}")
    depends = [d.strip().split()[0] for d in fields["Depends"].split(",") if d.strip()]
    missing = [p for p in LINKED_PACKAGES if not any(d.startswith(p) for d in depends)]
    checks.check(not missing, f"Depends ({fields['Depends']}) lacks {missing}")
    checks.check("\n " in fields["Description"], "the package has no long description")


def check_listing(deb, checks):
    listed = set()
    for line in dpkg_deb("-c", deb).splitlines():
        path = line.split()[-1]
        if not path.endswith("/"):
            listed.add(os.path.relpath(path, "./usr"))
    wanted = expected_files("games")
    checks.check(listed == wanted, f"package: missing {sorted(wanted - listed)}, unexpected {sorted(listed - wanted)}")


def check_unpacked(deb, checks):
    with tempfile.TemporaryDirectory(prefix="verlomba-deb-") as root:
        dpkg_deb("-x", deb, root)
        check_tree(checks, os.path.join(root, "usr"), "games", final_prefix="/usr")


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} PACKAGE_BUILD_DIR", file=sys.stderr)
        sys.exit(2)
    checks = Checks()
    deb = find_package(sys.argv[1])
    checks.run("package fields: name, section, version, computed dependencies", lambda: check_fields(deb, checks))
    checks.run("package listing: the game's files in their Debian places", lambda: check_listing(deb, checks))
    checks.run("package unpacked: validators, man page, texts, and the binary's --version",
               lambda: check_unpacked(deb, checks))
    checks.finish()


if __name__ == "__main__":
    main()
