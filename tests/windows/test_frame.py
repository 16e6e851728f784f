"""A frame of the same scripted game drawn by the software renderer built
for Windows (under Wine) and for Linux: the same pixels, every one, at a
scale of 1 and at 2, where Linux rasterizes its text at run time and
Windows has it compiled in."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wine import run  # noqa: E402

SCRIPT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "golden", "economy.script")


def main():
    build_dir, linux_tool = sys.argv[1], sys.argv[2]
    out = tempfile.mkdtemp(prefix="verlomba-frame-")
    for scale in ("1", "2"):
        linux, windows = os.path.join(out, f"linux-{scale}.ppm"), os.path.join(out, f"windows-{scale}.ppm")
        if os.spawnv(os.P_WAIT, linux_tool, [linux_tool, SCRIPT, linux, scale]) != 0:
            sys.exit(f"FAIL: {linux_tool} failed at a scale of {scale}")
        status, _, err = run(build_dir, [os.path.join(build_dir, "verlomba-frame.exe"), SCRIPT, windows, scale],
                             timeout=300)
        if status != 0:
            sys.exit(f"FAIL: verlomba-frame.exe: status {status} at a scale of {scale}: {err}")
        with open(linux, "rb") as a, open(windows, "rb") as b:
            left, right = a.read(), b.read()
        if left != right:
            differing = sum(left[i:i + 3] != right[i:i + 3] for i in range(15, min(len(left), len(right)), 3))
            sys.exit(f"FAIL: the frames at a scale of {scale} differ in about {differing} pixels; "
                     f"both kept in {out}")
        for path in (linux, windows):
            os.unlink(path)
        print(f"ok: the Windows frame equals the Linux frame at a scale of {scale}")
    os.rmdir(out)

if __name__ == "__main__":
    main()
