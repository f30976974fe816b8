#!/usr/bin/env python3
"""Makes the installer benchmark's product packages: installpack-<N>MB.zip of about N MB (10^6 bytes) each,
packed like the sample package (package/make_package.py: the same staging, list and 7-Zip settings) and
holding its client and uninstaller, so that an install of them succeeds.

A package of N MB holds, besides the two programs and uninstall.lst:
  data/large.bin           one incompressible file of N/3 MB (100 MB in the 300 MB package)
  bin/<folder>/*.dat       180 incompressible files of mixed sizes, N/2 MB together
  docs/<folder>/*.txt      120 text files (lines of words, some Chinese names) that deflate to about N/6 MB
The content is the same on every run (fixed seeds). A package is made again only when it is missing or this
script or the programs changed (a stamp next to it records them).

Usage: make_packages.py --seven-zip 7ZZ --program EXE... --output-dir DIR N...
"""
import argparse
import hashlib
import os
import random
import shutil
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "package"))
import make_package  # noqa: E402  (the sample package's staging and packing)

MB = 1000 * 1000
BINARY_FILES = 180
TEXT_FILES = 120
FOLDERS = 6
CHINESE_WORDS = ["安装", "客户端", "代理", "节点", "配置", "网络", "更新", "设置"]
SYLLABLES = [c + v for c in "bcdfghklmnprstvwz" for v in "aeiou"]


def split(total, count, rng):
    """`count` sizes of mixed magnitude (log-uniform over three decades) that add up to `total`."""
    weights = [10 ** rng.uniform(0, 3) for _ in range(count)]
    scale = total / sum(weights)
    sizes = [max(1, int(w * scale)) for w in weights]
    sizes[0] += total - sum(sizes)
    return sizes


def text_lines(rng, count):
    """A pool of lines of words, reused in random order by every text file."""
    words = CHINESE_WORDS + ["".join(rng.choices(SYLLABLES, k=rng.randint(1, 4))) for _ in range(1500)]
    return [(" ".join(rng.choices(words, k=rng.randint(4, 16))) + "\r\n").encode("utf-8") for _ in range(count)]


def text_body(rng, pool, size):
    pieces, length = [], 0
    while length < size:
        line = rng.choice(pool)
        pieces.append(line)
        length += len(line)
    return b"".join(pieces)[:size]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def make_content(content_dir, size_mb):
    rng = random.Random(size_mb)
    total = size_mb * MB
    shutil.rmtree(content_dir, ignore_errors=True)
    write(os.path.join(content_dir, "data", "large.bin"), rng.randbytes(total // 3))
    for i, size in enumerate(split(total // 2, BINARY_FILES, rng)):
        write(os.path.join(content_dir, "bin", f"part{i % FOLDERS}", f"block-{i:03d}.dat"), rng.randbytes(size))
    pool = text_lines(rng, 20000)
    sample = text_body(rng, pool, MB)
    ratio = len(sample) / len(zlib.compress(sample, 6))
    for i, size in enumerate(split(int(total / 6 * ratio), TEXT_FILES, rng)):
        name = f"说明-{i:03d}.txt" if i % 10 == 0 else f"notes-{i:03d}.txt"
        write(os.path.join(content_dir, "docs", f"section{i % FOLDERS}", name), text_body(rng, pool, size))


def stamp_of(programs):
    digest = hashlib.sha1()
    for path in [os.path.abspath(__file__)] + programs:
        with open(path, "rb") as f:
            digest.update(f.read())
    return digest.hexdigest()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seven-zip", required=True)
    parser.add_argument("--program", action="append", required=True)
    parser.add_argument("--output-dir", required=True)
    parser.add_argument("sizes", nargs="+", type=int)
    args = parser.parse_args()

    os.makedirs(args.output_dir, exist_ok=True)
    stamp = stamp_of(args.program)
    for size_mb in args.sizes:
        output = os.path.join(args.output_dir, f"installpack-{size_mb}MB.zip")
        stamp_path = output + ".stamp"
        if os.path.exists(output) and os.path.exists(stamp_path) and open(stamp_path).read() == stamp:
            continue
        print(f"make_packages: making {output}", flush=True)
        work = os.path.join(args.output_dir, f"work-{size_mb}MB")
        content, stage = os.path.join(work, "content"), os.path.join(work, "stage")
        make_content(content, size_mb)
        members = make_package.stage_package(content, args.program, stage)
        make_package.pack(args.seven_zip, stage, members, output)
        shutil.rmtree(work)
        with open(stamp_path, "w") as f:
            f.write(stamp)


if __name__ == "__main__":
    main()
