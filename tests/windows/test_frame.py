"""A frame of the same scripted game drawn by the software renderer built
for Windows (under Wine) and for Linux: the same pixels, every one."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wine import run  # noqa: E402

SCRIPT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "golden", "economy.script")


def main():
    build_dir, linux_tool = sys.argv[1], sys.argv[2]
    out = tempfile.mkdtemp(prefix="verlomba-frame-")
    linux, windows = os.path.join(out, "linux.ppm"), os.path.join(out, "windows.ppm")
    if os.spawnv(os.P_WAIT, linux_tool, [linux_tool, SCRIPT, linux]) != 0:
        sys.exit(f"FAIL: {linux_tool} failed")
    status, _, err = run(build_dir, [os.path.join(build_dir, "verlomba-frame.exe"), SCRIPT, windows], timeout=300)
    if status != 0:
        sys.exit(f"FAIL: verlomba-frame.exe: status {status}: {err}")
    with open(linux, "rb") as a, open(windows, "rb") as b:
        left, right = a.read(), b.read()
    if left != right:
        differing = sum(left[i:i + 3] != right[i:i + 3] for i in range(15, min(len(left), len(right)), 3))
        sys.exit(f"FAIL: the frames differ in about {differing} pixels; both kept in {out}")
    for path in (linux, windows):
        os.unlink(path)
    os.rmdir(out)
    print("ok: the Windows frame equals the Linux frame")


if __name__ == "__main__":
    main()
