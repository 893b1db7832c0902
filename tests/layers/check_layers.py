#!/usr/bin/env python3
"""Checks that the includes of the sources run one way, from the top of the program down:

    base <- platform <- settings <- mail / send / dialup <- app <- cli

ui/ (the window framework) builds on base and platform alone; a subsystem's gui/ folder may add
ui/ and the resource headers to what its subsystem may use, and app/gui/ may also use the other
gui/ folders. The Windows and POSIX service implementations, and the system's Windows headers, are
reached only from the Win32 and POSIX sides. Every quoted include must name a file that exists, or
a header that the build writes from a template in res/ (quorlet_version.h from
res/quorlet_version.h.in), which counts as a resource header.

Usage: check_layers.py [SOURCE-ROOT]   (the folder holding src/ and res/; default: this tree)
Prints one line per edge outside the table and exits 1 when there is any.
"""

import pathlib
import re
import sys

CORE = {
    "base": {"base"},
    "platform": {"base", "platform"},
    "settings": {"base", "platform", "settings"},
    "mail": {"base", "platform", "settings", "mail"},
    # Sending reuses the mail format helpers (dates, encoded words); mail never uses sending.
    "send": {"base", "platform", "settings", "mail", "send"},
    "dialup": {"base", "platform", "settings", "dialup"},
    "app": {"base", "platform", "settings", "mail", "send", "dialup", "app", "res"},
    "ui": {"base", "platform", "ui"},
    # The command-line tool names the program's version (res/quorlet_version.h.in).
    "cli": {"base", "platform", "settings", "mail", "send", "dialup", "app", "cli", "res"},
}

# A gui/ folder: what its subsystem may use, plus the window framework and the resources.
ALLOWED = dict(CORE)
for subsystem in ("mail", "send", "dialup", "app"):
    ALLOWED[subsystem + "/gui"] = CORE[subsystem] | {subsystem, subsystem + "/gui", "ui", "res"}
ALLOWED["app/gui"] |= {"mail/gui", "send/gui", "dialup/gui"}

# Folders whose headers belong to one operating system, and who may include them.
WIN32_ONLY = "platform/win32/"
POSIX_ONLY = "platform/posix/"
WIN32_SIDE = ("platform/win32/", "platform/sockets/", "ui/", "cli/win32/")
POSIX_SIDE = ("platform/posix/", "platform/sockets/", "cli/posix/")

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SYSTEM_INCLUDE = re.compile(r"^\s*#\s*include\s+<([^>]+)>")
# The system's Windows headers: only the Win32 side includes them.
WINDOWS_HEADERS = {"windows.h", "winsock2.h", "ws2tcpip.h", "commctrl.h", "commdlg.h", "shellapi.h",
                   "shlobj.h", "shlwapi.h", "mmsystem.h", "ras.h", "raserror.h", "wincrypt.h",
                   "sspi.h", "schannel.h", "uxtheme.h", "windowsx.h", "winreg.h"}
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c"}


def layer_of(relative):
    """The layer of a path below src/ ("mail/gui/x.h" -> "mail/gui", "app/gui/main/x" -> "app/gui")."""
    parts = relative.split("/")
    if len(parts) > 2 and parts[1] == "gui":
        return parts[0] + "/gui"
    return parts[0]


def is_win32_side(relative):
    return relative.startswith(WIN32_SIDE) or "/gui/" in relative


def check(root):
    src = root / "src"
    res = root / "res"
    problems = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(src).as_posix()
        layer = layer_of(relative)
        allowed = ALLOWED.get(layer)
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            system = SYSTEM_INCLUDE.match(line)
            if system and system.group(1).lower() in WINDOWS_HEADERS and not is_win32_side(relative):
                problems.append(f"src/{relative}:{number}: only the Win32 side may include "
                                f"<{system.group(1)}>")
            match = INCLUDE.match(line)
            if not match:
                continue
            name = match.group(1)
            where = f"src/{relative}:{number}"
            if (src / name).is_file():
                target = name
                target_layer = layer_of(name)
            elif (path.parent / name).is_file():
                target = (path.parent / name).relative_to(src).as_posix()
                target_layer = layer_of(target)
            elif (res / name).is_file() or (res / (name + ".in")).is_file():
                target = "res/" + name
                target_layer = "res"
            else:
                problems.append(f'{where}: "{name}" names no file of src/ or res/')
                continue
            if allowed is None:
                problems.append(f"{where}: {layer}/ is in no layer of the table")
            elif target_layer not in allowed:
                problems.append(f'{where}: {layer}/ may not include "{name}" ({target_layer}/)')
            elif target.startswith(WIN32_ONLY) and not is_win32_side(relative):
                problems.append(f'{where}: only the Win32 side may include "{name}"')
            elif target.startswith(POSIX_ONLY) and not relative.startswith(POSIX_SIDE):
                problems.append(f'{where}: only the POSIX side may include "{name}"')
    return problems


def main(argv):
    root = pathlib.Path(argv[1]) if len(argv) > 1 else pathlib.Path(__file__).resolve().parents[2]
    problems = check(root)
    for problem in problems:
        print(problem)
    print(f"layers: {len(problems)} include(s) outside the table")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
