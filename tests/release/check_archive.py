#!/usr/bin/python3
"""Packs the same tree twice with scripts/make-archive.py, from two folders
made under different umasks, file times and time zones, for each kind of
archive, and checks that the two archives are the same bytes and that
their entries have the fixed times, modes, owners and order.

check_archive.py SOURCE_DIR WORK_DIR
Prints each problem and exits 1 when there is any."""
import gzip
import os
import shutil
import subprocess
import sys
import tarfile
import time
import zipfile

EPOCH = 1765000000
TOP = "Zindle-0.0.0-test"
# name in the tree -> (content, executable)
FILES = {
    "Zindle.exe": (b"MZ launcher", True),
    "native/Velmora.dll": (b"MZ bridge", True),
    "docs/configuration.md": (b"# Configuration\n" * 50, False),
    "docs/a-first.md": (b"first\n", False),
}
# (umask, executable mode, file time, time zone) of each of the two runs
RUNS = [(0o022, 0o755, 1000000000, "UTC"),
        (0o077, 0o700, 2000000000, "Pacific/Auckland")]
WANTED_NAMES = sorted([TOP + "/", TOP + "/docs/", TOP + "/native/"] +
                      [f"{TOP}/{n}" for n in FILES], key=str.encode)


def make_tree(parent, mask, exe_mode, mtime):
    old = os.umask(mask)
    try:
        for name, (content, executable) in FILES.items():
            path = os.path.join(parent, TOP, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(content)
            if executable:
                os.chmod(path, exe_mode)
            os.utime(path, (mtime, mtime))
    finally:
        os.umask(old)
    return os.path.join(parent, TOP)


def zip_entries(path):
    with zipfile.ZipFile(path) as z:
        return [(i.filename, i.date_time, i.external_attr >> 16 & 0o7777, 0)
                for i in z.infolist()]


def tar_entries(path):
    with open(path, "rb") as f:
        header = f.read(10)
    entries = [("gzip header", header[3], int.from_bytes(header[4:8], "little"), 0)]
    with tarfile.open(path) as t:
        entries += [(m.name + ("/" if m.isdir() else ""), m.mtime, m.mode,
                     (m.uid, m.gid)) for m in t.getmembers()]
    return entries


def wanted_zip(name):
    mode = 0o755 if name.endswith("/") or FILES[name[len(TOP) + 1:]][1] else 0o644
    return (name, time.gmtime(EPOCH)[:6], mode, 0)


def wanted_tar(name):
    _, _, mode, _ = wanted_zip(name)
    return (name, EPOCH, mode, (0, 0))


# ending -> (entries of an archive, expected entries)
KINDS = {
    ".zip": (zip_entries, [wanted_zip(n) for n in WANTED_NAMES]),
    ".tar.gz": (tar_entries, [("gzip header", 0, 0, 0)] +
                [wanted_tar(n) for n in WANTED_NAMES]),
}


def main():
    source, work = sys.argv[1:3]
    maker = os.path.join(source, "scripts", "make-archive.py")
    problems = []
    for ending, (read_entries, wanted) in KINDS.items():
        archives = []
        for i, (mask, exe_mode, mtime, zone) in enumerate(RUNS):
            parent = os.path.join(work, ending.strip("."), "run" + "-longer" * i)
            shutil.rmtree(parent, ignore_errors=True)
            tree = make_tree(parent, mask, exe_mode, mtime)
            archive = os.path.join(parent, TOP + ending)
            subprocess.run([sys.executable, maker, str(EPOCH), tree, archive],
                           check=True, env=dict(os.environ, TZ=zone))
            archives.append(archive)
        first, second = (open(a, "rb").read() for a in archives)
        if first != second:
            problems.append(f"{ending}: the two archives differ")
        for archive in archives:
            found = read_entries(archive)
            if found != wanted:
                problems.append(f"{archive}:\n  found  {found}\n  wanted {wanted}")
        print(f"{ending}: {len(wanted)} entries checked")
    for p in problems:
        print("FAIL: " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
