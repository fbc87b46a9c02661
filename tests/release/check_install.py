#!/usr/bin/python3
"""Installs a build tree component by component and as a whole, makes its
release archive, and compares every file list with what a release of that
preset must hold.

check_install.py PRESET BUILD_DIR SOURCE_DIR WORK_DIR CMAKE CPACK VERSION
Prints each difference and exits 1 when there is any."""
import os
import shutil
import subprocess
import sys
import tarfile
import zipfile

LAUNCHER = {"linux": ["zindle"], "win32": ["Zindle.exe"], "win64": ["Zindle64.exe"]}
BRIDGE = {"linux": "libVelmora.so", "win64": "Velmora.dll"}
SOLVER = {"linux": "libQuarnel.so", "win64": "Quarnel.dll"}


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
    if preset == "linux":
        archive = os.path.join(packages, name + ".tar.gz")
        with tarfile.open(archive) as t:
            listed = [m.name for m in t.getmembers() if m.isfile()]
    else:
        archive = os.path.join(packages, name + ".zip")
        with zipfile.ZipFile(archive) as z:
            listed = [n for n in z.namelist() if not n.endswith("/")]
    compare(f"archive {os.path.basename(archive)}", sorted(listed),
            sorted(f"{name}/{f}" for f in shipped))

    for p in problems:
        print("FAIL: " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
