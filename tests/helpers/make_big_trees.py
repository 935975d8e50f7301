#!/usr/bin/env python3
"""Makes the big folder trees of the end-to-end tests and benchmarks, once, with empty files.

    make_big_trees.py FOLDER [tree ...]

Trees (tree400k, clips100k and dirs100k when none is named):
  tree400k   400 folders of 1,000 files: a source of 400,000 files to count
  clips100k  one folder of 100,000 clips (clip000000.mp4 ...), video.mp4x (which the media
             mask's *.MP4 takes by its 8.3 name) and three files the mask leaves out
             (notas.doc, leia-me, imagem.jpeg2)
  dirs100k   one folder of 100,000 empty subfolders (d000000 ...)
  tree1m     1,000 folders of 1,000 files (benchmarks only)

Each tree is made under a temporary name and renamed when complete, so an interrupted run
leaves no half tree behind, and a tree that is already there is left alone.
"""
import os
import shutil
import stat
import sys


def empty_file(path):
    os.mknod(path, stat.S_IFREG | 0o644)


def folders_of_files(root, folders, files):
    for d in range(folders):
        folder = os.path.join(root, "d%04d" % d)
        os.mkdir(folder)
        for f in range(files):
            empty_file(os.path.join(folder, "f%04d.dat" % f))


def clips(root):
    for f in range(100_000):
        empty_file(os.path.join(root, "clip%06d.mp4" % f))
    for name in ("video.mp4x", "notas.doc", "leia-me", "imagem.jpeg2"):
        empty_file(os.path.join(root, name))


def subfolders(root):
    for d in range(100_000):
        os.mkdir(os.path.join(root, "d%06d" % d))


TREES = {
    "tree400k": lambda root: folders_of_files(root, 400, 1000),
    "clips100k": clips,
    "dirs100k": subfolders,
    "tree1m": lambda root: folders_of_files(root, 1000, 1000),
}


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    base = sys.argv[1]
    names = sys.argv[2:] or ["tree400k", "clips100k", "dirs100k"]
    os.makedirs(base, exist_ok=True)
    for name in names:
        if name not in TREES:
            sys.exit("unknown tree %s (known: %s)" % (name, ", ".join(TREES)))
        final = os.path.join(base, name)
        if os.path.isdir(final):
            continue
        partial = final + ".partial"
        shutil.rmtree(partial, ignore_errors=True)
        os.mkdir(partial)
        TREES[name](partial)
        os.rename(partial, final)


if __name__ == "__main__":
    main()
