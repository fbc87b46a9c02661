#!/usr/bin/python3
"""Packs an install tree into a release archive that is the same bytes
whoever makes it, wherever and whenever.

make-archive.py EPOCH TREE ARCHIVE

TREE's folder name becomes the archive's top folder. ARCHIVE ends in .zip
or .tar.gz. Every entry gets the time EPOCH (seconds since 1970, UTC; a ZIP
stores the broken-down time, taken in UTC whatever the zone), the mode 0755
when the file is executable by its owner and 0644 otherwise (directories
0755), owner root, and entries go in byte order of their names. The gzip
header carries no time and no file name."""
import gzip
import io
import os
import stat
import sys
import tarfile
import time
import zipfile

# The earliest time a ZIP entry can hold.
ZIP_EPOCH = (1980, 1, 1, 0, 0, 0)
COMPRESS_LEVEL = 9
UNIX_SYSTEM = 3
DOS_DIRECTORY = 0x10


def entries(tree):
    """(archive name, path, is_dir) of TREE and everything below it, by name."""
    top = os.path.basename(os.path.normpath(tree))
    found = [(top + "/", tree, True)]
    for root, dirs, files in os.walk(tree):
        rel = os.path.relpath(root, tree)
        prefix = top + "/" if rel == "." else f"{top}/{rel}/"
        found += [(prefix + d + "/", os.path.join(root, d), True) for d in dirs]
        found += [(prefix + f, os.path.join(root, f), False) for f in files]
    return sorted(found, key=lambda e: e[0].encode())


def mode_of(path, is_dir):
    if is_dir or os.stat(path).st_mode & stat.S_IXUSR:
        return 0o755
    return 0o644


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write_zip(tree, out, epoch):
    stamp = max(time.gmtime(epoch)[:6], ZIP_EPOCH)
    with zipfile.ZipFile(out, "w") as z:
        for name, path, is_dir in entries(tree):
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = UNIX_SYSTEM
            kind = stat.S_IFDIR if is_dir else stat.S_IFREG
            info.external_attr = (kind | mode_of(path, is_dir)) << 16
            if is_dir:
                info.external_attr |= DOS_DIRECTORY
                z.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                z.writestr(info, read(path), compresslevel=COMPRESS_LEVEL)


def write_tar_gz(tree, out, epoch):
    data = io.BytesIO()
    with tarfile.open(fileobj=data, mode="w", format=tarfile.PAX_FORMAT) as t:
        for name, path, is_dir in entries(tree):
            info = tarfile.TarInfo(name.rstrip("/"))
            info.type = tarfile.DIRTYPE if is_dir else tarfile.REGTYPE
            info.mode = mode_of(path, is_dir)
            info.mtime = epoch
            info.uid = info.gid = 0
            info.uname = info.gname = "root"
            if is_dir:
                t.addfile(info)
            else:
                content = read(path)
                info.size = len(content)
                t.addfile(info, io.BytesIO(content))
    with open(out, "wb") as f:
        with gzip.GzipFile(filename="", mode="wb", fileobj=f, mtime=0,
                           compresslevel=COMPRESS_LEVEL) as g:
            g.write(data.getvalue())


WRITERS = {".zip": write_zip, ".tar.gz": write_tar_gz}


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    epoch, tree, out = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    for ending, writer in WRITERS.items():
        if out.endswith(ending):
            writer(tree, out, epoch)
            return 0
    sys.exit(f"{out}: the archive must end in one of {', '.join(WRITERS)}")


if __name__ == "__main__":
    sys.exit(main())
