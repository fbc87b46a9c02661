#!/usr/bin/python3
"""Installs a build tree component by component and as a whole, makes its
archive with cpack and with scripts/make-archive.py (which the release
uses), and compares every file list with what a release of that preset must
hold. The release archive must come out the same bytes when made again from
a copy with other file times and modes in another time zone, with every
entry at the given time, mode 0755 or 0644, owner root, in name order.

check_install.py PRESET BUILD_DIR SOURCE_DIR WORK_DIR CMAKE CPACK VERSION
Prints each difference and exits 1 when there is any."""
import calendar
import os
import shutil
import subprocess
import sys
import tarfile
import zipfile

LAUNCHER = {"linux": ["zindle"], "win32": ["Zindle.exe"], "win64": ["Zindle64.exe"]}
BRIDGE = {"linux": "libVelmora.so", "win64": "Velmora.dll"}
SOLVER = {"linux": "libQuarnel.so", "win64": "Quarnel.dll"}
EPOCH = 1765000000


def expected_components(preset, source):
    docs = []
    for top, under in (("docs", "docs"), ("examples/model", "examples/model")):
        for root, _, files in os.walk(os.path.join(source, top)):
            rel = os.path.relpath(root, os.path.join(source, top))
            docs += [os.path.normpath(os.path.join(under, rel, f)) for f in files]
    parts = {"launcher": LAUNCHER[preset], "docs": docs}
    if preset in BRIDGE:
        parts["bridge"] = ["native/" + BRIDGE[preset],
                           "java/qel/surface/Native2DSolver.java"]
        parts["standin"] = ["native/" + SOLVER[preset], "native/standin-README.md"]
    return {k: sorted(v) for k, v in parts.items()}


def tree(prefix):
    return sorted(os.path.relpath(os.path.join(r, f), prefix)
                  for r, _, files in os.walk(prefix) for f in files)


def install(cmake, build, prefix, component=None):
    shutil.rmtree(prefix, ignore_errors=True)
    command = [cmake, "--install", build, "--prefix", prefix]
    if component:
        command += ["--component", component]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return tree(prefix)


def runpath(library):
    dump = subprocess.run(["readelf", "-d", library], check=True,
                          capture_output=True, text=True).stdout
    return [line.split("[", 1)[1].rstrip("]") for line in dump.splitlines()
            if "(RUNPATH)" in line or "(RPATH)" in line]


def entries(archive):
    """(name, time, mode, owner) of each entry of a .zip or .tar.gz in
    order, directories ending in "/", and the gzip header's time."""
    if archive.endswith(".zip"):
        with zipfile.ZipFile(archive) as z:
            return [(i.filename, calendar.timegm(i.date_time), i.external_attr >> 16 & 0o7777,
                     0) for i in z.infolist()], 0
    with open(archive, "rb") as f:
        stamp = int.from_bytes(f.read(8)[4:], "little")
    with tarfile.open(archive) as t:
        return [(m.name + "/" * m.isdir(), m.mtime, m.mode, (m.uid, m.gid))
                for m in t.getmembers()], stamp


def files_of(listed):
    return [e[0] for e in listed if not e[0].endswith("/")]


def pack_twice(source, installed, work, name, ending):
    """The release archive of the installed tree, made twice: the second
    time from a copy with the modes of umask 077, other times, another zone."""
    made = []
    for run, zone in enumerate(("UTC", "Pacific/Auckland")):
        tree = os.path.join(work, f"pack{run}", name)
        shutil.rmtree(os.path.dirname(tree), ignore_errors=True)
        shutil.copytree(installed, tree)
        for root, dirs, files in os.walk(tree) if run else ():
            for path in (os.path.join(root, p) for p in dirs + files):
                os.chmod(path, os.stat(path).st_mode & 0o700)
                os.utime(path, (run * 1e9, run * 1e9))
        made.append(tree + ending)
        subprocess.run([sys.executable, os.path.join(source, "scripts", "make-archive.py"),
                        str(EPOCH), tree, made[-1]], check=True, env=dict(os.environ, TZ=zone))
    return made


def main():
    preset, build, source, work, cmake, cpack, version = sys.argv[1:8]
    problems = []

    def compare(what, actual, wanted):
        if actual != wanted:
            missing = sorted(set(wanted) - set(actual))
            extra = sorted(set(actual) - set(wanted))
            problems.append(f"{what}: missing {missing}, unexpected {extra}")
        else:
            print(f"{what}: {len(actual)} files")

    parts = expected_components(preset, source)
    for component, wanted in parts.items():
        compare(f"component {component}",
                install(cmake, build, os.path.join(work, component), component), wanted)
    shipped = sorted(sum((v for k, v in parts.items() if k != "standin"), []))
    whole = os.path.join(work, "default")
    compare("default install", install(cmake, build, whole), shipped)
    if preset == "linux":
        library = os.path.join(work, "bridge", "native", BRIDGE[preset])
        found = runpath(library)
        if found != ["$ORIGIN"]:
            problems.append(f"installed {BRIDGE[preset]} RUNPATH {found}, expected $ORIGIN only")

    name = f"Zindle-{version}-{preset}"
    packages = os.path.join(work, "release")
    shutil.rmtree(packages, ignore_errors=True)
    subprocess.run([cpack, "--config", os.path.join(build, "CPackConfig.cmake"),
                    "-B", packages], check=True, stdout=subprocess.DEVNULL)
    ending = ".tar.gz" if preset == "linux" else ".zip"
    archive = os.path.join(packages, name + ending)
    wanted = sorted(f"{name}/{f}" for f in shipped)
    compare(f"archive {os.path.basename(archive)}", sorted(files_of(entries(archive)[0])),
            wanted)

    first, second = pack_twice(source, whole, work, name, ending)
    if open(first, "rb").read() != open(second, "rb").read():
        problems.append(f"{name}{ending} made twice differs")
    listed, stamp = entries(first)
    compare(f"release archive {name}{ending}", files_of(listed), sorted(wanted, key=str.encode))
    if stamp:
        problems.append(f"{name}{ending}: gzip header time {stamp}")
    owner = 0 if ending == ".zip" else (0, 0)
    for entry in listed:
        path = os.path.join(whole, entry[0].partition("/")[2])
        mode = 0o755 if os.path.isdir(path) or os.access(path, os.X_OK) else 0o644
        if entry[1:] != (EPOCH, mode, owner):
            problems.append(f"release archive entry {entry}: not {EPOCH}, {mode:o}, {owner}")

    for p in problems:
        print("FAIL: " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
