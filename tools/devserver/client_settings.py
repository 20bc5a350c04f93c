#!/usr/bin/env python3
"""Sets keys in the client's settings file (Zumbara.ini: "[Section]" and
"Key=value" lines in code page 1251, CRLF), keeping everything else in it.

    client_settings.py FILE Section.Key=VALUE... [Section.Key?=VALUE...]

"?=" sets a key only when it is missing or empty.  Sections and keys match
without regard to letter case, as the system's profile functions do.
"""

import os
import sys


def update_ini(path, values, defaults=None):
    """values and defaults: {(section, key): text}; defaults only fill
    missing or empty keys."""
    lines = []
    if os.path.exists(path):
        with open(path, "rb") as f:
            lines = f.read().decode("cp1251").splitlines()
    wanted = [(s, k, v, True) for (s, k), v in values.items()]
    wanted += [(s, k, v, False) for (s, k), v in (defaults or {}).items()]
    for section, key, value, always in wanted:
        start = next((i for i, l in enumerate(lines)
                      if l.strip().lower() == "[%s]" % section.lower()), None)
        if start is None:
            lines += ["[%s]" % section, "%s=%s" % (key, value)]
            continue
        end = next((i for i in range(start + 1, len(lines)) if lines[i].strip().startswith("[")),
                   len(lines))
        found = next((i for i in range(start + 1, end)
                      if lines[i].partition("=")[0].strip().lower() == key.lower()), None)
        if found is None:
            lines.insert(end, "%s=%s" % (key, value))
        elif always or not lines[found].partition("=")[2].strip():
            lines[found] = "%s=%s" % (key, value)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1251"))


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    values, defaults = {}, {}
    for arg in argv[1:]:
        name, sep, value = arg.partition("=")
        target = defaults if name.endswith("?") else values
        section, dot, key = name.rstrip("?").partition(".")
        if not sep or not dot:
            sys.exit("client_settings.py: %s: expected Section.Key=VALUE" % arg)
        target[(section, key)] = value
    update_ini(argv[0], values, defaults)


if __name__ == "__main__":
    main(sys.argv[1:])
