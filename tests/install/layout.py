"""What an install of the game holds, and the checks that apply to any
install tree (make install or the Debian package)."""

import gzip
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))

from harness import REPO_ROOT, project_settings  # noqa: E402,F401

ICON_SIZES = (16, 32, 48, 64, 128, 256)


def expected_files(bindir):
    """The files an install puts under its prefix, relative to it."""
    app_id = project_settings()["app_id"]
    files = {
        f"{bindir}/verlomba",
        f"share/applications/{app_id}.desktop",
        f"share/metainfo/{app_id}.metainfo.xml",
        f"share/icons/hicolor/scalable/apps/{app_id}.svg",
        "share/man/man6/verlomba.6.gz",
        "share/doc/verlomba/copyright",
        "share/doc/verlomba/examples/Verlomba.ini",
    }
    files |= {f"share/icons/hicolor/{s}x{s}/apps/{app_id}.png" for s in ICON_SIZES}
    return files


def files_under(root):
    found = set()
    for directory, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(directory, name), root))
    return found


def tool(args):
    """Runs a validator; (status, its output and errors together)."""
    r = subprocess.run(args, capture_output=True, text=True)
    return r.returncode, (r.stdout + r.stderr).strip()


def read(path, mode="r"):
    with open(path, mode) as f:
        return f.read()


def check_tree(checks, prefix, bindir, final_prefix=None):
    """Checks the installed files under prefix: validators, one version and
    one id everywhere, the shipped texts, the binary's --version. final_prefix
    is where the files will be used, when prefix only stages them."""
    settings = project_settings()
    app_id, version = settings["app_id"], settings["version"]
    binary = os.path.join(prefix, bindir, "verlomba")
    final_binary = os.path.join(final_prefix or prefix, bindir, "verlomba")

    desktop = os.path.join(prefix, "share/applications", f"{app_id}.desktop")
    status, out = tool(["desktop-file-validate", desktop])
    checks.check(status == 0 and not out, f"desktop-file-validate {desktop}: {out}")
    entry = dict(line.split("=", 1) for line in read(desktop).splitlines() if "=" in line)
    checks.check(entry.get("Exec") == f"{final_binary} --user-dir", f"the desktop entry runs {entry.get('Exec')!r}")
    checks.check(entry.get("Icon") == app_id and entry.get("StartupWMClass") == app_id,
                 f"the desktop entry's icon {entry.get('Icon')!r} or window class "
                 f"{entry.get('StartupWMClass')!r} is not {app_id}")

    metainfo = os.path.join(prefix, "share/metainfo", f"{app_id}.metainfo.xml")
    status, out = tool(["appstreamcli", "validate", "--no-net", metainfo])
    checks.check(status == 0, f"appstreamcli validate --no-net {metainfo}: {out}")
    text = read(metainfo)
    for wanted in (f"<id>{app_id}</id>", f'<release version="{version}"', "<project_license>MIT</project_license>",
                   f'<launchable type="desktop-id">{app_id}.desktop</launchable>', "docs/screenshot.png",
                   "<content_rating"):
        checks.check(wanted in text, f"the metainfo lacks {wanted}")

    page = gzip.decompress(read(os.path.join(prefix, "share/man/man6/verlomba.6.gz"), "rb")).decode()
    r = subprocess.run(["groff", "-man", "-ww", "-z", "-Tutf8"], input=page, capture_output=True, text=True)
    checks.check(r.returncode == 0 and not r.stderr, f"groff finds fault with the man page: {r.stderr.strip()}")
    checks.check(re.search(rf'^\.TH VERLOMBA 6 .*"Verlomba {re.escape(version)}"', page, re.M) is not None,
                 "the man page is not VERLOMBA(6) of this version")

    doc = os.path.join(prefix, "share/doc/verlomba")
    checks.check(read(os.path.join(doc, "copyright")) == read(os.path.join(REPO_ROOT, "LICENSE")),
                 "share/doc/verlomba/copyright is not the LICENSE")
    checks.check(read(os.path.join(doc, "examples/Verlomba.ini")) == read(os.path.join(REPO_ROOT, "Verlomba.ini")),
                 "the installed tuning template is not Verlomba.ini")

    r = subprocess.run([binary, "--version"], capture_output=True, text=True, timeout=10)
    checks.check(r.stdout == f"verlomba {version}\n", f"{binary} --version says {r.stdout!r} {r.stderr!r}")
    print(f"{binary} --version: {r.stdout.strip()}")
