#!/usr/bin/env python3
"""Compatibility audit of a 32-bit Windows executable.

Checks that an exe can be loaded by Windows 98 and behaves there the way it
does on later systems:

  * PE32 image for i386, GUI subsystem, subsystem and OS version 4.0;
  * the C and C++ runtimes linked in, not imported from their DLLs;
  * imports only from the system DLLs Windows 98 ships (ADVAPI32 is let
    through with a warning, WS2_32 is rejected with its own message);
  * no wide ("...W") entry points apart from those on wide-allowlist.txt;
  * none of the functions listed in forbidden.txt (names or '*' patterns);
  * ordinal imports only from COMCTL32, whose ordinals are fixed;
  * an application manifest (resource type 24, id 1) that is well-formed
    XML and asks for asInvoker in the asm.v2 form (Windows XP before SP3
    refuses to start an exe whose manifest has the asm.v3 one, and every XP
    one whose trustInfo is in any other namespace or none);
  * in that manifest, per-monitor DPI awareness: a windowsSettings element in
    an asm.v3 application element (Windows reads the settings nowhere else)
    with dpiAware "true/pm" and dpiAwareness "PerMonitorV2, PerMonitor".

Both the import directory and the delay-import directory are read.

Usage:
  pe_audit.py FILE [--allow-dir DIR] [-v]
  pe_audit.py --expect-fail REGEX FILE    exit 0 only if FILE is rejected
                                          cleanly with a FAIL line matching REGEX
  pe_audit.py --expect-warn REGEX FILE    exit 0 only if FILE passes with a
                                          WARN line matching REGEX

Exit status of the plain audit: 0 clean, 1 problems found, 2 unreadable file
or not a well-formed PE image.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

EXIT_CLEAN = 0
EXIT_PROBLEMS = 1
EXIT_BAD_INPUT = 2

MACHINE_I386 = 0x14C
MACHINE_NAMES = {0x14C: "i386", 0x8664: "x86-64", 0x1C0: "ARM", 0x1C4: "ARMv7 Thumb-2",
                 0xAA64: "ARM64", 0x200: "IA-64"}
MAGIC_PE32 = 0x10B
MAGIC_PE32_PLUS = 0x20B
SUBSYSTEM_GUI = 2
SUBSYSTEM_NAMES = {1: "native", 2: "Windows GUI", 3: "Windows console", 7: "POSIX",
                   9: "Windows CE GUI", 10: "EFI application"}
REQUIRED_VERSION = (4, 0)

DIR_IMPORT = 1
DIR_RESOURCE = 2
DIR_DELAY_IMPORT = 13
RT_MANIFEST = 24
MANIFEST_ID = 1
ASM_V2 = "urn:schemas-microsoft-com:asm.v2"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SETTINGS_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"
DPI_SETTINGS = (("{%s}dpiAware" % SETTINGS_2005, "true/pm"),
                ("{%s}dpiAwareness" % SETTINGS_2016, "PerMonitorV2, PerMonitor"))

ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll",
                "ole32.dll", "wsock32.dll", "msvcrt.dll"}
WARNED_DLLS = {"advapi32.dll"}
ORDINAL_OK_DLLS = {"comctl32.dll"}
RUNTIME_DLL_PREFIXES = ("libgcc", "libstdc++", "libwinpthread")

# Bounds that no sane image reaches; past them the file is treated as malformed
# instead of being walked further.
MAX_DESCRIPTORS = 1024
MAX_THUNKS_PER_DLL = 65536
MAX_NAME_LEN = 512
MAX_SECTIONS = 96


class BadImage(Exception):
    """The file is not a PE image or its structures point outside the file."""


class Image:
    def __init__(self, data):
        self.data = data
        self.sections = []
        self.section_flags = []
        self.size_of_headers = 0
        self.size_of_image = 0

    def need(self, off, size, what):
        if off < 0 or off + size > len(self.data):
            raise BadImage("%s at file offset 0x%x runs past the end of the file (%d bytes)"
                           % (what, off, len(self.data)))

    def u16(self, off, what):
        self.need(off, 2, what)
        return struct.unpack_from("<H", self.data, off)[0]

    def u32(self, off, what):
        self.need(off, 4, what)
        return struct.unpack_from("<I", self.data, off)[0]

    def u64(self, off, what):
        self.need(off, 8, what)
        return struct.unpack_from("<Q", self.data, off)[0]

    def rva_to_offset(self, rva, what):
        for va, vsize, raw_ptr, raw_size in self.sections:
            span = max(vsize, raw_size)
            if va <= rva < va + span:
                delta = rva - va
                if delta >= raw_size:
                    raise BadImage("%s (RVA 0x%x) lies in the uninitialised part of a section"
                                   % (what, rva))
                return raw_ptr + delta
        if rva < self.size_of_headers:
            return rva
        raise BadImage("%s (RVA 0x%x) is not inside any section" % (what, rva))

    def cstr_at_rva(self, rva, what):
        off = self.rva_to_offset(rva, what)
        self.need(off, 1, what)
        end = self.data.find(b"\0", off, off + MAX_NAME_LEN + 1)
        if end < 0:
            raise BadImage("%s at RVA 0x%x is not terminated" % (what, rva))
        raw = self.data[off:end]
        if not raw or any(b < 0x20 or b > 0x7E for b in raw):
            raise BadImage("%s at RVA 0x%x is empty or not printable ASCII" % (what, rva))
        return raw.decode("ascii")


class ImportedDll:
    def __init__(self, name, delayed, listed=True):
        self.name = name
        self.delayed = delayed
        self.listed = listed   # False for delay imports found only by the scan
        self.names = []      # imported by name
        self.ordinals = []   # imported by ordinal only

    def kind(self):
        return "delay-loaded" if self.listed else "delay-loaded, not in the directory"


class Headers:
    pass


def parse_headers(img):
    h = Headers()
    if len(img.data) < 0x40 or img.data[:2] != b"MZ":
        raise BadImage("no MZ signature: not a PE image")
    e_lfanew = img.u32(0x3C, "e_lfanew")
    img.need(e_lfanew, 4, "PE signature")
    if img.data[e_lfanew:e_lfanew + 4] != b"PE\0\0":
        raise BadImage("no PE signature at offset 0x%x: not a PE image" % e_lfanew)
    coff = e_lfanew + 4
    img.need(coff, 20, "COFF file header")
    h.machine, nsections = struct.unpack_from("<HH", img.data, coff)
    h.opt_size = img.u16(coff + 16, "SizeOfOptionalHeader")
    h.characteristics = img.u16(coff + 18, "Characteristics")
    opt = coff + 20
    h.magic = img.u16(opt, "optional header magic")
    if h.magic == MAGIC_PE32:
        dir_base, nrva_off, base_off, min_opt = 96, 92, 28, 96
    elif h.magic == MAGIC_PE32_PLUS:
        dir_base, nrva_off, base_off, min_opt = 112, 108, 24, 112
    else:
        raise BadImage("unknown optional header magic 0x%x" % h.magic)
    if h.opt_size < min_opt:
        raise BadImage("optional header is %d bytes, too small for its format" % h.opt_size)
    img.need(opt, h.opt_size, "optional header")
    if h.magic == MAGIC_PE32:
        h.image_base = img.u32(opt + base_off, "ImageBase")
    else:
        h.image_base = img.u64(opt + base_off, "ImageBase")
    h.os_version = (img.u16(opt + 40, "MajorOperatingSystemVersion"),
                    img.u16(opt + 42, "MinorOperatingSystemVersion"))
    h.subsystem_version = (img.u16(opt + 48, "MajorSubsystemVersion"),
                           img.u16(opt + 50, "MinorSubsystemVersion"))
    img.size_of_image = img.u32(opt + 56, "SizeOfImage")
    img.size_of_headers = img.u32(opt + 60, "SizeOfHeaders")
    h.subsystem = img.u16(opt + 68, "Subsystem")
    ndirs = img.u32(opt + nrva_off, "NumberOfRvaAndSizes")
    ndirs = min(ndirs, (h.opt_size - dir_base) // 8, 16)
    h.dirs = []
    for i in range(ndirs):
        h.dirs.append(struct.unpack_from("<II", img.data, opt + dir_base + 8 * i))

    if nsections > MAX_SECTIONS:
        raise BadImage("%d sections: malformed section count" % nsections)
    sect = opt + h.opt_size
    img.need(sect, 40 * nsections, "section table")
    for i in range(nsections):
        vsize, va, raw_size, raw_ptr = struct.unpack_from("<IIII", img.data, sect + 40 * i + 8)
        flags = struct.unpack_from("<I", img.data, sect + 40 * i + 36)[0]
        name = img.data[sect + 40 * i:sect + 40 * i + 8].rstrip(b"\0").decode("ascii", "replace")
        # The loader maps every section's raw data; a file cut short is refused.
        img.need(raw_ptr, raw_size, "raw data of section %r" % name)
        img.sections.append((va, vsize, raw_ptr, raw_size))
        img.section_flags.append(flags)
    return h


def directory(h, index):
    if index < len(h.dirs):
        rva, size = h.dirs[index]
        if rva:
            return rva, size
    return None


def read_thunks(img, h, rva, dll_name, entry):
    """Fills entry from the name table (or address table) starting at rva."""
    pe32 = h.magic == MAGIC_PE32
    width = 4 if pe32 else 8
    ordinal_flag = 1 << (31 if pe32 else 63)
    off = img.rva_to_offset(rva, "import table of " + dll_name)
    for i in range(MAX_THUNKS_PER_DLL + 1):
        if i == MAX_THUNKS_PER_DLL:
            raise BadImage("import table of %s has no terminator" % dll_name)
        where = "import table of %s" % dll_name
        value = img.u32(off, where) if pe32 else img.u64(off, where)
        if value == 0:
            return
        if value & ordinal_flag:
            entry.ordinals.append(value & 0xFFFF)
        else:
            hint_rva = value & 0x7FFFFFFF
            entry.names.append(img.cstr_at_rva(hint_rva + 2, "imported name in " + dll_name))
        off += width


def read_imports(img, h):
    dlls = []
    imp = directory(h, DIR_IMPORT)
    if imp:
        off = img.rva_to_offset(imp[0], "import directory")
        for i in range(MAX_DESCRIPTORS + 1):
            if i == MAX_DESCRIPTORS:
                raise BadImage("import directory has no terminator")
            img.need(off, 20, "import descriptor")
            oft, _, _, name_rva, ft = struct.unpack_from("<IIIII", img.data, off)
            if oft == 0 and name_rva == 0 and ft == 0:
                break
            name = img.cstr_at_rva(name_rva, "imported DLL name")
            entry = ImportedDll(name, delayed=False)
            table = oft or ft
            if table:
                read_thunks(img, h, table, name, entry)
            dlls.append(entry)
            off += 20

    seen = set()
    delay = directory(h, DIR_DELAY_IMPORT)
    if delay:
        off = img.rva_to_offset(delay[0], "delay-import directory")
        # The loader never reads this directory, so its size is trusted as a
        # bound: a linker may list descriptors without a zero terminator.
        bounded = delay[1] >= 32
        count = min(delay[1] // 32, MAX_DESCRIPTORS) if bounded else MAX_DESCRIPTORS
        for i in range(count + 1):
            if i == count:
                if bounded:
                    break
                raise BadImage("delay-import directory has no terminator")
            img.need(off, 32, "delay-import descriptor")
            attrs, name_rva, _, iat, int_rva = struct.unpack_from("<IIIII", img.data, off)
            if name_rva == 0 and iat == 0 and int_rva == 0:
                break
            # Attribute bit 0 clear is the old layout whose fields are VAs.
            bias = 0 if attrs & 1 else h.image_base
            def rva(va):
                if va == 0:
                    return 0
                if va < bias:
                    raise BadImage("delay-import descriptor holds an address below the image base")
                return va - bias
            name = img.cstr_at_rva(rva(name_rva), "delay-imported DLL name")
            entry = ImportedDll(name, delayed=True)
            # The delay-load address table holds code addresses until first
            # use; the names are only in the name table.
            if not int_rva:
                raise BadImage("delay-import descriptor of %s has no name table" % name)
            read_thunks(img, h, rva(int_rva), name, entry)
            dlls.append(entry)
            seen.add(off)
            off += 32
    dlls.extend(scan_delay_descriptors(img, h, seen))
    return dlls


DLL_NAME_RE = re.compile(r"[A-Za-z0-9_+\-. ]{1,250}\.[A-Za-z0-9]{1,4}\Z")
SCN_MEM_DISCARDABLE = 0x02000000


def scan_delay_descriptors(img, h, seen):
    """Delay-import descriptors the directory does not list.

    GNU ld links dlltool's delay-import libraries without filling in the
    delay-import directory; the descriptors (RVA form, attributes 1) sit in
    .text.  Each 4-byte aligned candidate is accepted only if its DLL name is
    a file name and its name table reads as a valid import table.
    """
    found = []
    data = img.data
    for (va, vsize, raw_ptr, raw_size), flags in zip(img.sections, img.section_flags):
        # The last offset where a whole descriptor still fits.
        last = min(raw_ptr + raw_size, len(data)) - 32
        if flags & SCN_MEM_DISCARDABLE or last < raw_ptr:
            continue
        pos = raw_ptr
        while pos <= last:
            pos = data.find(b"\x01\x00\x00\x00", pos, last + 4)
            if pos < 0:
                break
            if (pos - raw_ptr) % 4 or pos in seen:
                pos += 1
                continue
            entry = delay_candidate(img, h, pos)
            if entry:
                found.append(entry)
                pos += 32
            else:
                pos += 4
    return found


def delay_candidate(img, h, off):
    _, name_rva, handle, iat, int_rva, _, _, _ = struct.unpack_from("<8I", img.data, off)
    limit = img.size_of_image
    if not (0 < name_rva < limit and 0 < handle < limit and 0 < iat < limit
            and 0 < int_rva < limit):
        return None
    try:
        name = img.cstr_at_rva(name_rva, "delay-imported DLL name")
        if not DLL_NAME_RE.match(name):
            return None
        entry = ImportedDll(name, delayed=True, listed=False)
        read_thunks(img, h, int_rva, name, entry)
    except BadImage:
        return None
    if not entry.names and not entry.ordinals:
        return None
    return entry
    return dlls


def read_manifest(img, h):
    """The bytes of resource type 24, id 1 (any language), or None."""
    res = directory(h, DIR_RESOURCE)
    if not res:
        return None
    base = img.rva_to_offset(res[0], "resource directory")

    def entries(off):
        img.need(base + off, 16, "resource directory")
        count = img.u16(base + off + 12, "resource directory") + img.u16(base + off + 14,
                                                                         "resource directory")
        if count > MAX_DESCRIPTORS:
            raise BadImage("resource directory of %d entries" % count)
        for k in range(count):
            e = base + off + 16 + 8 * k
            yield img.u32(e, "resource directory entry"), img.u32(e + 4, "resource directory entry")

    def subdirectory(off, wanted):
        for name, target in entries(off):
            if name == wanted and target & 0x80000000:
                return target & 0x7FFFFFFF
        return None

    by_type = subdirectory(0, RT_MANIFEST)
    by_id = subdirectory(by_type, MANIFEST_ID) if by_type is not None else None
    if by_id is None:
        return None
    for _, target in entries(by_id):
        if not target & 0x80000000:
            rva = img.u32(base + target, "resource data entry")
            size = img.u32(base + target + 4, "resource data entry")
            off = img.rva_to_offset(rva, "manifest data")
            img.need(off, size, "manifest data")
            return img.data[off:off + size]
    return None


def check_manifest(manifest, fail):
    if manifest is None:
        fail("no application manifest (resource type 24, id 1)")
        return
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as e:
        fail("the application manifest is not well-formed XML: %s" % e)
        return
    check_trust_info_namespace(root, fail)


def check_trust_info_namespace(root, fail):
    """Windows XP starts an exe only when the manifest's trustInfo is in the
    asm.v2 namespace: asm.v3 is refused before SP3, and a trustInfo that lost
    its namespace (it then falls into the assembly's asm.v1) always."""
    for el in root.iter():
        namespace, _, name = el.tag[1:].partition("}") if el.tag.startswith("{") else ("", "", el.tag)
        if name != "trustInfo" or namespace == ASM_V2:
            continue
        if namespace == ASM_V3:
            fail("the manifest's trustInfo is in the asm.v3 namespace: "
                 "Windows XP before SP3 refuses to start the exe; use asm.v2")
        else:
            fail("the manifest's trustInfo is in the %s namespace, not asm.v2: "
                 "Windows XP refuses to start the exe" % (namespace or "empty"))


def check_dpi_awareness(manifest, fail):
    """The DPI declaration of a well-formed manifest (check_manifest reports
    a missing or broken one)."""
    try:
        root = ElementTree.fromstring(manifest or b"")
    except ElementTree.ParseError:
        return
    for application in root.iter():
        for settings in application:
            if not settings.tag.endswith("}windowsSettings"):
                continue
            if application.tag != "{%s}application" % ASM_V3:
                fail("the manifest's windowsSettings are in %s, not in an asm.v3 application "
                     "element: Windows ignores them" % application.tag)
                return
            for tag, value in DPI_SETTINGS:
                found = settings.find(tag)
                text = (found.text or "").strip() if found is not None else None
                if text != value:
                    fail("the manifest's %s is %r, not %r"
                         % (tag.split("}")[1], text, value))
            return
    fail("the manifest declares no DPI awareness (no windowsSettings in an asm.v3 "
         "application element): Windows stretches the whole window at 125 %% and more")


def read_list(path):
    """Names from a list file: one per line, '#' starts a comment."""
    entries = []
    with open(path, "r", encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                entries.append(line)
    return entries


def pattern_regex(patterns):
    if not patterns:
        return None
    alternatives = [".*".join(re.escape(p) for p in pat.split("*")) for pat in patterns]
    return re.compile("(?:%s)\\Z" % "|".join(alternatives))


def version_str(v):
    return "%d.%d" % v


def audit(path, allow_dir, verbose, out):
    """Runs the audit, writing the report to out; returns the exit status."""
    problems = []
    warnings = []

    def fail(msg):
        problems.append(msg)

    try:
        allow = set(read_list(os.path.join(allow_dir, "wide-allowlist.txt")))
        forbidden = read_list(os.path.join(allow_dir, "forbidden.txt"))
    except (OSError, UnicodeError) as e:
        out.write("FAIL: cannot read the audit lists in %s: %s\n" % (allow_dir, e))
        return EXIT_BAD_INPUT
    forbidden_re = pattern_regex(forbidden)

    out.write("pe-audit: %s\n" % path)
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        out.write("FAIL: cannot read %s: %s\n" % (path, e))
        return EXIT_BAD_INPUT

    img = Image(data)
    try:
        h = parse_headers(img)
    except BadImage as e:
        out.write("FAIL: %s\n" % e)
        return EXIT_BAD_INPUT

    out.write("  machine            0x%04x (%s)\n"
              % (h.machine, MACHINE_NAMES.get(h.machine, "unknown")))
    out.write("  format             %s (magic 0x%x)\n"
              % ("PE32" if h.magic == MAGIC_PE32 else "PE32+", h.magic))
    out.write("  subsystem          %d (%s)\n"
              % (h.subsystem, SUBSYSTEM_NAMES.get(h.subsystem, "other")))
    out.write("  subsystem version  %s\n" % version_str(h.subsystem_version))
    out.write("  OS version         %s\n" % version_str(h.os_version))

    if h.machine != MACHINE_I386:
        fail("machine 0x%04x (%s), expected 0x014c (i386)"
             % (h.machine, MACHINE_NAMES.get(h.machine, "unknown")))
    if h.magic != MAGIC_PE32:
        fail("PE32+ image (magic 0x%x), expected PE32 (0x10b)" % h.magic)
    if h.subsystem != SUBSYSTEM_GUI:
        fail("subsystem %d (%s), expected 2 (Windows GUI)"
             % (h.subsystem, SUBSYSTEM_NAMES.get(h.subsystem, "other")))
    for label, v in (("subsystem version", h.subsystem_version), ("OS version", h.os_version)):
        if v > REQUIRED_VERSION:
            fail("%s %s is above 4.0: Windows 98 refuses to load the image"
                 % (label, version_str(v)))
        elif v != REQUIRED_VERSION:
            fail("%s %s, expected 4.0" % (label, version_str(v)))

    try:
        dlls = read_imports(img, h)
    except BadImage as e:
        for msg in problems:
            out.write("FAIL: %s\n" % msg)
        out.write("FAIL: %s\n" % e)
        return EXIT_BAD_INPUT

    out.write("  imports:\n")
    if not dlls:
        out.write("    (none)\n")
    for d in dlls:
        kind = " (%s)" % d.kind() if d.delayed else ""
        count = len(d.names) + len(d.ordinals)
        out.write("    %-16s %4d%s\n" % (d.name, count, kind))
        if d.ordinals:
            out.write("      by ordinal: %s\n" % ", ".join(str(o) for o in d.ordinals))
        if verbose:
            for n in d.names:
                out.write("      %s\n" % n)

    for d in dlls:
        low = d.name.lower()
        where = d.name + (" (%s)" % d.kind() if d.delayed else "")
        if low.startswith(RUNTIME_DLL_PREFIXES):
            fail("runtime DLL import %s: link the C and C++ runtime statically" % where)
        elif low == "ws2_32.dll":
            fail("Winsock 2 import: use WSOCK32 (%s)" % where)
        elif low in WARNED_DLLS:
            warnings.append("%s imported: check every function is present on Windows 98"
                            % where)
        elif low not in ALLOWED_DLLS:
            fail("import from %s, a DLL outside the allowed set" % where)
        if d.ordinals and low not in ORDINAL_OK_DLLS:
            fail("%s imported by ordinal (%s): its ordinals are not fixed across Windows versions"
                 % (where, ", ".join(str(o) for o in d.ordinals)))
        for n in d.names:
            if n.endswith("W") and n not in allow:
                fail("wide entry point %s!%s: use the ANSI entry point" % (d.name, n))
            if forbidden_re and forbidden_re.match(n):
                fail("%s!%s is missing on Windows 98 (forbidden.txt)" % (d.name, n))

    try:
        manifest = read_manifest(img, h)
    except BadImage as e:
        fail("resource directory: %s" % e)
    else:
        out.write("  manifest           %s\n"
                  % ("%d bytes" % len(manifest) if manifest is not None else "(none)"))
        check_manifest(manifest, fail)
        check_dpi_awareness(manifest, fail)

    for msg in warnings:
        out.write("WARN: %s\n" % msg)
    for msg in problems:
        out.write("FAIL: %s\n" % msg)
    if problems:
        out.write("pe-audit: %d problem(s)\n" % len(problems))
        return EXIT_PROBLEMS
    out.write("pe-audit: clean\n")
    return EXIT_CLEAN


def run_expectation(args):
    """Runs the audit as a child process and judges its verdict."""
    # A missing input is a broken test, never a rejected exe.
    try:
        with open(args.file, "rb"):
            pass
    except OSError as e:
        print("EXPECT: cannot read the input: %s" % e)
        return 1
    cmd = [sys.executable, os.path.abspath(__file__), args.file, "--allow-dir", args.allow_dir]
    try:
        proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              universal_newlines=True, errors="replace", timeout=120)
    except (OSError, subprocess.SubprocessError) as e:
        print("EXPECT: could not run the audit: %s" % e)
        return 1
    sys.stdout.write(proc.stdout)
    sys.stdout.write(proc.stderr)
    text = proc.stdout + proc.stderr
    if "Traceback" in text:
        print("EXPECT: the audit crashed instead of giving a verdict")
        return 1
    if proc.stderr.strip():
        print("EXPECT: the audit wrote to stderr")
        return 1
    if args.expect_fail is not None:
        want_code, prefix, regex = (EXIT_PROBLEMS, EXIT_BAD_INPUT), "FAIL: ", args.expect_fail
    else:
        want_code, prefix, regex = (EXIT_CLEAN,), "WARN: ", args.expect_warn
    if proc.returncode not in want_code:
        print("EXPECT: audit exit status %d, expected %s"
              % (proc.returncode, " or ".join(str(c) for c in want_code)))
        return 1
    lines = [l for l in proc.stdout.splitlines() if l.startswith(prefix)]
    if not any(re.search(regex, l) for l in lines):
        print("EXPECT: no %sline matches /%s/" % (prefix, regex))
        return 1
    print("EXPECT: verdict as expected")
    return 0


def main():
    script_dir = os.path.dirname(os.path.abspath(__file__))
    p = argparse.ArgumentParser(description="Windows 98 compatibility audit of a PE32 exe")
    p.add_argument("file")
    p.add_argument("--allow-dir", default=script_dir,
                   help="directory holding wide-allowlist.txt and forbidden.txt")
    p.add_argument("-v", "--verbose", action="store_true", help="list every imported name")
    g = p.add_mutually_exclusive_group()
    g.add_argument("--expect-fail", metavar="REGEX",
                   help="succeed only if the file is rejected with a matching FAIL line")
    g.add_argument("--expect-warn", metavar="REGEX",
                   help="succeed only if the file passes with a matching WARN line")
    args = p.parse_args()
    if args.expect_fail is not None or args.expect_warn is not None:
        return run_expectation(args)
    try:
        return audit(args.file, args.allow_dir, args.verbose, sys.stdout)
    except Exception as e:  # a malformed file that slipped past the bounds checks
        print("FAIL: malformed image (%s: %s)" % (type(e).__name__, e))
        return EXIT_BAD_INPUT


if __name__ == "__main__":
    sys.exit(main())
