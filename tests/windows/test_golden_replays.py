"""The golden replays with the replay tool built for Windows, under Wine:
the simulation gives the same worlds as on Linux, bit for bit."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wine import run  # noqa: E402

GOLDEN = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "golden")


def main():
    build_dir = sys.argv[1]
    failed = 0
    for script in sorted(f for f in os.listdir(GOLDEN) if f.endswith(".script")):
        name = script[:-len(".script")]
        status, out, err = run(build_dir, [os.path.join(build_dir, "verlomba-replay.exe"), "--golden", name,
                                           os.path.join(GOLDEN, script)], timeout=600)
        with open(os.path.join(GOLDEN, name + ".digest")) as f:
            expected = f.read()
        if status != 0 or out != expected:
            failed += 1
            print(f"FAIL: {name}: status {status}\n{err}--- expected\n{expected}--- got\n{out}", file=sys.stderr)
        else:
            print(f"ok: {name}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
