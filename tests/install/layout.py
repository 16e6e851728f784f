"""What an install holds, and the checks of any install tree."""

import gzip
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))

from harness import REPO_ROOT, Checks, fail, project_settings  # noqa: E402,F401

ICON_SIZES = (16, 32, 48, 64, 128, 256)


def build_from_argv():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} BUILD_DIR", file=sys.stderr)
        sys.exit(2)
    return os.path.abspath(sys.argv[1])


def expected_files(bindir):
    app_id = project_settings()["app_id"]
    icons = {f"share/icons/hicolor/{s}x{s}/apps/{app_id}.png" for s in ICON_SIZES}
    return icons | {f"{bindir}/verlomba", f"share/applications/{app_id}.desktop",
                    f"share/metainfo/{app_id}.metainfo.xml", f"share/icons/hicolor/scalable/apps/{app_id}.svg",
                    "share/man/man6/verlomba.6.gz", "share/doc/verlomba/copyright",
                    "share/doc/verlomba/changelog.gz", "share/doc/verlomba/examples/Verlomba.ini"}


def files_under(root, with_directories=False):
    found = set()
    for directory, dirs, names in os.walk(root):
        for name in names + (dirs if with_directories else []):
            found.add(os.path.relpath(os.path.join(directory, name), root))
    return found


def read(path, mode="r"):
    with open(path, mode) as f:
        return f.read()


def check_tree(checks, prefix, bindir, final_prefix=None):
    """final_prefix is where the files will be used when prefix stages them."""
    settings = project_settings()
    app_id, version = settings["app_id"], settings["version"]
    binary = os.path.join(prefix, bindir, "verlomba")

    desktop = os.path.join(prefix, "share/applications", f"{app_id}.desktop")
    metainfo = os.path.join(prefix, "share/metainfo", f"{app_id}.metainfo.xml")
    # desktop-file-validate passes some faults with a warning; none is wanted.
    for validator, quiet in ((["desktop-file-validate", desktop], True),
                             (["appstreamcli", "validate", "--no-net", metainfo], False)):
        r = subprocess.run(validator, capture_output=True, text=True)
        out = (r.stdout + r.stderr).strip()
        checks.check(r.returncode == 0 and not (quiet and out), f"{' '.join(validator)}: {out}")
    entry = dict(line.split("=", 1) for line in read(desktop).splitlines() if "=" in line)
    wanted = {"Exec": os.path.join(final_prefix or prefix, bindir, "verlomba") + " --user-dir", "Icon": app_id,
              "StartupWMClass": app_id}
    got = {key: entry.get(key) for key in wanted}
    checks.check(got == wanted, f"the desktop entry has {got}, not {wanted}")
    text = read(metainfo)
    for wanted in (f"<id>{app_id}</id>", f'<release version="{version}"',
                   f'<launchable type="desktop-id">{app_id}.desktop</launchable>'):
        checks.check(wanted in text, f"the metainfo lacks {wanted}")

    page = gzip.decompress(read(os.path.join(prefix, "share/man/man6/verlomba.6.gz"), "rb")).decode()
    r = subprocess.run(["groff", "-man", "-ww", "-z", "-Tutf8"], input=page, capture_output=True, text=True)
    checks.check(r.returncode == 0 and not r.stderr, f"groff finds fault with the man page: {r.stderr.strip()}")
    checks.check(re.search(rf'^\.TH VERLOMBA 6 .*"Verlomba {re.escape(version)}"', page, re.M) is not None,
                 "the man page is not VERLOMBA(6) of this version")

    docs = os.path.join(prefix, "share/doc/verlomba")
    checks.check(read(os.path.join(docs, "examples/Verlomba.ini")) == read(os.path.join(REPO_ROOT, "Verlomba.ini")),
                 "share/doc/verlomba/examples/Verlomba.ini is not Verlomba.ini")
    # The copyright file in Debian's machine-readable format, with LICENSE's terms.
    copyright = read(os.path.join(docs, "copyright")).splitlines()
    unfolded = "\n".join("" if line == " ." else line[1:] for line in copyright if line.startswith(" "))
    terms = read(os.path.join(REPO_ROOT, "LICENSE")).split("\n\n", 2)[2].strip()
    checks.check(copyright[0] == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
                 and "License: Expat" in copyright and terms in unfolded,
                 "share/doc/verlomba/copyright is not LICENSE in Debian's copyright format")
    changelog = gzip.decompress(read(os.path.join(docs, "changelog.gz"), "rb")).decode()
    checks.check(changelog.startswith(f"verlomba ({version}) "), f"the changelog starts {changelog[:40]!r}")

    r = subprocess.run([binary, "--version"], capture_output=True, text=True, timeout=10)
    checks.check(r.stdout == f"verlomba {version}\n", f"{binary} --version says {r.stdout!r} {r.stderr!r}")
    print(f"{binary} --version: {r.stdout.strip()}")
