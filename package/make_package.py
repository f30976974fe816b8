#!/usr/bin/env python3
"""Builds the product package installpack.zip and the damaged packages the installer's tests need.

The package holds the built programs, the content folder and uninstall.lst, the list of every file in the
package (UTF-8, one path relative to the install folder per line, backslash separators), which the
uninstaller follows. It is packed by the host's 7-Zip as a plain deflate ZIP with UTF-8 names.

Next to it, in FAULT_DIR:
  corrupt.zip   the package with bytes in the middle of its largest member's data inverted (CRC fails)
  dotdot.zip    the package's members and then an entry "../escaped.txt"
  absolute.zip  the package's members and then an entry with a drive path, "C:/vexo-absolute.txt"

Usage: make_package.py --seven-zip 7ZZ --content DIR --program EXE... --stage DIR --output ZIP --fault-dir DIR
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import zipfile
import zlib

LIST_NAME = "uninstall.lst"
CORRUPT_SPAN = 64
LOCAL_HEADER = struct.Struct("<4s5H3I2H")


def stage_package(content_dir, programs, stage_dir):
    """Copies everything into a fresh stage folder and writes the list; returns the members, '/'-separated."""
    shutil.rmtree(stage_dir, ignore_errors=True)
    shutil.copytree(content_dir, stage_dir)
    for program in programs:
        shutil.copy2(program, stage_dir)
    members = [LIST_NAME]
    for folder, _, files in os.walk(stage_dir):
        for name in files:
            members.append(os.path.relpath(os.path.join(folder, name), stage_dir).replace(os.sep, "/"))
    members = sorted(set(members))
    lines = "".join(member.replace("/", "\\") + "\r\n" for member in members)
    with open(os.path.join(stage_dir, LIST_NAME), "w", encoding="utf-8", newline="") as listing:
        listing.write(lines)
    return members


def pack(seven_zip, stage_dir, members, output):
    if os.path.exists(output):
        os.remove(output)
    # 7-Zip reads the file names through the locale: a UTF-8 one keeps Chinese names intact.
    environment = dict(os.environ, LC_ALL="C.UTF-8")
    subprocess.run([seven_zip, "a", "-tzip", "-mm=Deflate", "-mcu=on", "-bso0", "-bsp0", os.path.abspath(output),
                    "--"] + members, cwd=stage_dir, env=environment, check=True)
    with zipfile.ZipFile(output) as package:
        names = sorted(info.filename for info in package.infolist() if not info.is_dir())
        if names != members:
            sys.exit(f"make_package: {output} holds {names}, expected {members}")
        if package.testzip() is not None:
            sys.exit(f"make_package: {output} does not read back whole")


def is_damaged(path):
    try:
        with zipfile.ZipFile(path) as package:
            return package.testzip() is not None
    except (zipfile.BadZipFile, zlib.error):
        return True


def write_corrupt(package_path, output):
    with open(package_path, "rb") as source:
        data = bytearray(source.read())
    with zipfile.ZipFile(package_path) as package:
        largest = max(package.infolist(), key=lambda info: info.compress_size)
    fields = LOCAL_HEADER.unpack_from(data, largest.header_offset)
    name_length, extra_length = fields[-2], fields[-1]
    start = largest.header_offset + LOCAL_HEADER.size + name_length + extra_length
    middle = start + largest.compress_size // 2 - CORRUPT_SPAN // 2
    for offset in range(middle, middle + CORRUPT_SPAN):
        data[offset] ^= 0xFF
    with open(output, "wb") as target:
        target.write(data)
    if not is_damaged(output):
        sys.exit(f"make_package: {output} still reads back whole")


def write_with_extra_entry(package_path, output, entry_name):
    """The package's members followed by one more entry whose name is written exactly as given."""
    with zipfile.ZipFile(package_path) as package, \
            zipfile.ZipFile(output, "w", compression=zipfile.ZIP_DEFLATED) as target:
        for info in package.infolist():
            target.writestr(info, package.read(info))
        target.writestr(zipfile.ZipInfo(entry_name), "This file must never be written.\r\n")
    with zipfile.ZipFile(output) as check:
        if check.namelist()[-1] != entry_name:
            sys.exit(f"make_package: {output} does not end with the entry {entry_name}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seven-zip", required=True)
    parser.add_argument("--content", required=True)
    parser.add_argument("--program", action="append", required=True)
    parser.add_argument("--stage", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--fault-dir", required=True)
    args = parser.parse_args()

    members = stage_package(args.content, args.program, args.stage)
    pack(args.seven_zip, args.stage, members, args.output)
    os.makedirs(args.fault_dir, exist_ok=True)
    write_corrupt(args.output, os.path.join(args.fault_dir, "corrupt.zip"))
    write_with_extra_entry(args.output, os.path.join(args.fault_dir, "dotdot.zip"), "../escaped.txt")
    write_with_extra_entry(args.output, os.path.join(args.fault_dir, "absolute.zip"), "C:/vexo-absolute.txt")


if __name__ == "__main__":
    main()
