"""The Debian package: dependencies, files checked like an install tree,
lintian, hardening-check, and a clean rebuild packing the same bytes.
Usage: test_package.py PACKAGE_BUILD_DIR"""

import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from layout import Checks, build_from_argv, check_tree, expected_files, fail, project_settings, read  # noqa: E402

# Libraries dpkg-shlibdeps must have made dependencies of.
LINKED_PACKAGES = ("libc6", "libstdc++6", "libglut3", "libx11-6")


def dpkg_deb(*args):
    r = subprocess.run(["dpkg-deb"] + list(args), capture_output=True, text=True)
    if r.returncode != 0:
        fail(f"dpkg-deb {' '.join(args)}: {r.stderr.strip()}")
    return r.stdout


def find_package(build):
    name = f"verlomba_{project_settings()['version']}_*.deb"
    found = glob.glob(os.path.join(build, name))
    if len(found) != 1:
        fail(f"expected one {name} in {build}, found {found}")
    return found[0]


def check_package(deb, checks):
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
        r = subprocess.run(["hardening-check", os.path.join(root, "usr", "games", "verlomba")],
                           capture_output=True, text=True)
        print(r.stdout.strip())
        for feature in ("Position Independent Executable", "Stack protected", "Fortify Source functions",
                        "Read-only relocations", "Immediate binding"):
            checks.check(f" {feature}: yes" in r.stdout, f"hardening-check: {feature} is not yes")


def check_lintian(deb, checks):
    # --pedantic shows the informational tags too; only errors and warnings fail.
    r = subprocess.run(["lintian", "--pedantic", "--display-info", deb], capture_output=True, text=True)
    tags = [line for line in r.stdout.splitlines() if line[:2] in ("E:", "W:", "I:", "P:")]
    print("lintian:", *tags or ["no tags"], sep="\n  ")
    bad = [line for line in tags if line[:2] in ("E:", "W:")]
    checks.check(r.returncode == 0 and not bad, f"lintian ({r.returncode}): {bad or r.stderr.strip()}")


def check_reproducible(build, deb, checks):
    """The program linked again and the tree packed again: byte for byte the
    same package. The objects are not compiled again: Debian's flags make
    __DATE__ and __TIME__ warnings (-Wdate-time), which the build turns into
    errors, so what varies between builds comes from the link and the
    packing."""
    first = read(deb, "rb")
    os.unlink(os.path.join(build, "verlomba"))
    subprocess.run(["cmake", "--build", build, "-j", str(os.cpu_count() or 2)], check=True,
                   stdout=subprocess.DEVNULL)
    with tempfile.TemporaryDirectory(prefix="verlomba-deb-again-") as again:
        subprocess.run(["cpack", "-B", again], cwd=build, check=True, stdout=subprocess.DEVNULL)
        second = read(os.path.join(again, os.path.basename(deb)), "rb")
    checks.check(first == second, f"a second build of the tree packs other bytes than {deb}")


def main():
    build = build_from_argv()
    checks = Checks()
    deb = find_package(build)
    checks.run("package: computed dependencies, listing in Debian places, unpacked tree, its binary's "
               "--version and hardening", lambda: check_package(deb, checks))
    checks.run("package: no lintian error or warning", lambda: check_lintian(deb, checks))
    checks.run("package: a second build of the tree is the same bytes", lambda: check_reproducible(build, deb, checks))
    checks.finish()


if __name__ == "__main__":
    main()
