#!/usr/bin/env python3
"""Keeps the floors of the source tree (src/floors.txt).

Every file under src/<folder>/ may include, by a quoted name, a header of its
own folder (by its bare name or as "folder/name.h") or a header of a folder
on a lower floor ("folder/name.h"); a folder of its own floor only where the
floors file has "uses <folder> <other>". No other quoted include is allowed:
not upwards, not sideways, not a path that leaves the tree, not a header that
does not exist. No file may pass 500 lines. Prints one line per fault and
exits 1 when there is any, 0 otherwise.

    check_floors.py SRC_DIR
"""
import os
import re
import sys

MAX_LINES = 500
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_ENDINGS = ('.h', '.c', '.cpp', '.rc', '.in')


def read_floors(path):
    floor_of, uses = {}, set()
    number = 0
    for lineno, line in enumerate(open(path, encoding='utf-8'), 1):
        words = line.split('#', 1)[0].split()
        if not words:
            continue
        if words[0] == 'floor' and len(words) > 1:
            for folder in words[1:]:
                if folder in floor_of:
                    raise SystemExit(f'{path}:{lineno}: {folder} is on two floors')
                floor_of[folder] = number
            number += 1
        elif words[0] == 'uses' and len(words) == 3:
            uses.add((words[1], words[2]))
        else:
            raise SystemExit(f'{path}:{lineno}: neither "floor FOLDER..." nor "uses FOLDER OTHER"')
    for a, b in uses:
        if a not in floor_of or b not in floor_of or floor_of[a] != floor_of[b]:
            raise SystemExit(f'{path}: "uses {a} {b}" names folders that do not share a floor')
    return floor_of, uses


def check(src):
    floor_of, uses = read_floors(os.path.join(src, 'floors.txt'))
    faults = []
    for folder in sorted(os.listdir(src)):
        top = os.path.join(src, folder)
        if not os.path.isdir(top):
            continue
        if folder not in floor_of:
            faults.append(f'{folder}/: a folder on no floor of floors.txt')
            continue
        for dirpath, _, files in sorted(os.walk(top)):
            for name in sorted(files):
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, src).replace(os.sep, '/')
                if not name.endswith(SOURCE_ENDINGS):
                    continue
                lines = open(path, encoding='utf-8', errors='replace').read().splitlines()
                if len(lines) > MAX_LINES:
                    faults.append(f'{rel}: {len(lines)} lines, more than {MAX_LINES}')
                for lineno, line in enumerate(lines, 1):
                    m = INCLUDE.match(line)
                    if m:
                        fault = judge(src, folder, dirpath, m.group(1), floor_of, uses)
                        if fault:
                            faults.append(f'{rel}:{lineno}: includes "{m.group(1)}": {fault}')
    return faults


def judge(src, folder, dirpath, name, floor_of, uses):
    if '/' not in name:
        # A bare name: a header beside the file, or one the build makes.
        if os.path.exists(os.path.join(dirpath, name)) or name.endswith('.h.in') or name == 'zumbara_version.h':
            return None
        return 'no such header beside it (name the folder)'
    target = name.split('/', 1)[0]
    if '..' in name.split('/') or target not in floor_of:
        return 'not a folder of the tree'
    if not os.path.exists(os.path.join(src, name)):
        return 'no such header'
    if target == folder:
        return None
    if floor_of[target] < floor_of[folder]:
        return None
    if floor_of[target] == floor_of[folder]:
        if (folder, target) in uses:
            return None
        return f'{target} is on the floor of {folder}, and floors.txt does not let {folder} use it'
    return f'{target} is on a higher floor than {folder}'


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    faults = check(sys.argv[1])
    for f in faults:
        print(f)
    if faults:
        print(f'{len(faults)} fault(s) in the floors of {sys.argv[1]}')
        return 1
    print('The floors hold.')
    return 0


if __name__ == '__main__':
    sys.exit(main())
