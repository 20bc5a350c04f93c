#!/usr/bin/env python3
"""Checks the release archive that scripts/release made.

    check_archive.py REPO

In REPO/build/release: Zumbara-<version>-win32.zip, the version being the
one in the project() line of REPO/CMakeLists.txt, holds exactly the folder
"Zumbara" with Zumbara.exe, byte for byte the exe the audit passed in
REPO/build/win32/src, and readme.txt, UTF-8 with a byte-order mark and
CR LF line ends; the .sha256 beside it names the archive and its hash.
Prints ok/FAIL lines; exit status 0 only when all hold."""

import hashlib
import os
import re
import sys
import zipfile

repo = sys.argv[1]
failures = []


def check(cond, what):
    print(("ok    " if cond else "FAIL  ") + what)
    if not cond:
        failures.append(what)


top = open(os.path.join(repo, "CMakeLists.txt"), encoding="utf-8").read()
version = re.search(r"project\(Zumbara VERSION ([0-9.]+)", top).group(1)
name = "Zumbara-%s-win32.zip" % version
release = os.path.join(repo, "build", "release")
archive = os.path.join(release, name)
check(sorted(os.listdir(release)) == [name, name + ".sha256"],
      "build/release holds %s and its .sha256: %r" % (name, sorted(os.listdir(release))))

with zipfile.ZipFile(archive) as z:
    files = sorted(i.filename for i in z.infolist() if not i.is_dir())
    folders = sorted(i.filename for i in z.infolist() if i.is_dir())
    check(files == ["Zumbara/Zumbara.exe", "Zumbara/readme.txt"] and folders in ([], ["Zumbara/"]),
          "the archive holds Zumbara/Zumbara.exe and Zumbara/readme.txt only: %r" % (folders + files))
    exe = z.read("Zumbara/Zumbara.exe")
    readme = z.read("Zumbara/readme.txt")

audited = open(os.path.join(repo, "build", "win32", "src", "Zumbara.exe"), "rb").read()
check(exe == audited, "its Zumbara.exe is the audited build/win32/src/Zumbara.exe")

check(readme.startswith(b"\xef\xbb\xbf"), "readme.txt begins with the UTF-8 byte-order mark")
check(readme.count(b"\n") > 100 and readme.count(b"\n") == readme.count(b"\r\n")
      and readme.count(b"\r") == readme.count(b"\r\n"), "readme.txt has CR LF line ends only")
try:
    text = readme.decode("utf-8")
except UnicodeDecodeError as e:
    text = ""
    check(False, "readme.txt is UTF-8: %s" % e)
check("Версия %s" % version in text and "@" + "PROJECT_VERSION@" not in text,
      "readme.txt names the version %s" % version)

digest = hashlib.sha256(open(archive, "rb").read()).hexdigest()
line = open(archive + ".sha256", encoding="ascii").read().split()
check(line == [digest, name], "the .sha256 file: %r" % line)

print("%d failed" % len(failures))
sys.exit(1 if failures else 0)
