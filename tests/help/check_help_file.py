#!/usr/bin/env python3
"""Checks the compiled help file Quorlet.chm against its sources in docs/help.

Usage: check_help_file.py QUORLET.CHM DOCS-HELP-DIR VERSION-HEADER

- it is a CHM (ITSF header, version 3) for Chinese (LCID 0x0804), listed by chmls (Debian fp-utils);
- its #SYSTEM names the start page, the title, the table of contents and the index, and its
  window (#WINDOWS) shows both, so the viewer has a contents and an index tab;
- every page of docs/help is inside, byte for byte as the build makes it (the values of the
  generated version header filled in, GBK, charset gb2312), and nothing else ends in .htm; the pages' links and pictures lead to pages, anchors and files
  that exist;
- the table of contents, as a sitemap and as the binary TOC, lists every page once under its own
  title, in the same tree;
- the keyword index points at pages and anchors that exist, and reaches every page but the start.
Prints one line per problem and exits 1 when there is any.
"""

import pathlib
import re
import struct
import subprocess
import sys
import tempfile

SYSTEM_FILES = ["/#SYSTEM", "/#TOPICS", "/#STRINGS", "/#URLTBL", "/#URLSTR", "/#TOCIDX"]
START_PAGE = "index.htm"
TITLE = "鸥信通 帮助"


def chmls(*args):
    result = subprocess.run(["chmls", *args], capture_output=True, check=True)
    return result.stdout


def extract(chm, name, folder):
    target = folder / ("extract-" + name.strip("/").replace("/", "_"))
    chmls("extract", str(chm), name, str(target))
    return target.read_bytes() if target.exists() else None


def header_values(header):
    """The string defines of the generated quorlet_version.h."""
    text = header.read_text(encoding="utf-8")
    return dict(re.findall(r'^#define (QUORLET_[A-Z_]+) "(.*)"$', text, re.M))


def built_form(source, values):
    """What the build makes of a UTF-8 source file (scripts/build-help)."""
    text = source.read_text(encoding="utf-8").replace("charset=utf-8", "charset=gb2312")
    for name, value in values.items():
        text = text.replace(f"@{name}@", value)
    return text.encode("gbk")


def sitemap(text):
    """The entries of a sitemap (.hhc/.hhk) as (depth, name, local or None), in order."""
    entries = []
    depth = 0
    for token in re.finditer(r"<UL>|</UL>|<OBJECT type=\"text/sitemap\">(.*?)</OBJECT>", text,
                             re.S | re.I):
        word = token.group(0).upper()
        if word == "<UL>":
            depth += 1
        elif word == "</UL>":
            depth -= 1
        else:
            params = dict(re.findall(r'<param name="(\w+)" value="([^"]*)"', token.group(1), re.I))
            entries.append((depth, params.get("Name"), params.get("Local")))
    return entries


def check(chm, sources, header):
    problems = []
    values = header_values(header)
    data = chm.read_bytes()
    if data[:4] != b"ITSF":
        return [f"{chm}: not a CHM file (no ITSF signature)"]
    version, header_length, _, _, lcid = struct.unpack_from("<IIIII", data, 4)
    if version != 3 or header_length != 0x60:
        problems.append(f"ITSF header: version {version}, length {header_length:#x}")
    if lcid != 0x0804:
        problems.append(f"language {lcid:#06x}, not 0x0804 (Chinese, PRC)")

    names = {line.strip() for line in chmls("-n", "list", str(chm)).decode("gbk").splitlines()
             if line.startswith("/")}
    pages = sorted(p.name for p in sources.glob("*.htm"))
    for name in SYSTEM_FILES + ["/toc.hhc", "/index.hhk", "/help.css", "/main-window.png"]:
        if name not in names:
            problems.append(f"{name} is missing from the help file")
    for page in pages:
        if "/" + page not in names:
            problems.append(f"page {page} is missing from the help file")
    for name in sorted(names):
        if name.endswith(".htm") and name[1:] not in pages:
            problems.append(f"{name} is in the help file but not in docs/help")

    system = chmls("printsystem", str(chm)).decode("gbk", errors="replace")
    for label, expected in [("LCID from HHP file", "2052"), ("Default topic", START_PAGE),
                            ("Title", TITLE), ("Contents file", "toc.hhc"),
                            ("Index file", "index.hhk")]:
        match = re.search(re.escape(label) + r"[^:]*:(.*)$", system, re.M)
        # chmls prints the stored strings with their terminating zero.
        value = match.group(1).strip(" \t\x00") if match else "missing"
        if value != expected:
            problems.append(f"#SYSTEM {label}: {value!r}, expected {expected!r}")

    printed = subprocess.run(["chmls", "printwindows", str(chm)], capture_output=True)
    windows = printed.stdout.decode("gbk", errors="replace") if printed.returncode == 0 else ""
    for label, expected in [("Title Bar Text", TITLE), ("TOC File", "toc.hhc"),
                            ("Index File", "index.hhk"), ("Default File", START_PAGE)]:
        match = re.search(re.escape(label) + r"[^:]*:\s*(.*?)\s*(\(index value|$)", windows, re.M)
        value = match.group(1) if match else "missing"
        if value != expected:
            problems.append(f"#WINDOWS {label}: {value!r}, expected {expected!r}")

    with tempfile.TemporaryDirectory() as temp:
        folder = pathlib.Path(temp)
        titles, anchors, texts = {}, {}, {}
        for page in pages:
            inside = extract(chm, "/" + page, folder)
            if inside is None:
                continue  # reported above
            if inside != built_form(sources / page, values):
                problems.append(f"{page}: the help file holds other bytes than the source makes")
            text = inside.decode("gbk")
            texts[page] = text
            if "@QUORLET_" in text:
                problems.append(f"{page}: a value of the version header was not filled in")
            title = re.search(r"<title>(.*?)</title>", text, re.S)
            titles[page] = title.group(1).strip() if title else None
            if not titles[page]:
                problems.append(f"{page}: no title")
            anchors[page] = set(re.findall(r'\bid="([^"]+)"', text))

        def resolves(where, target):
            page, _, anchor = target.partition("#")
            if page not in titles:
                problems.append(f"{where}: {target} names no page of the help file")
            elif anchor and anchor not in anchors[page]:
                problems.append(f"{where}: {page} has no anchor #{anchor}")

        for page, text in texts.items():
            for href in re.findall(r'href="([^"]+)"', text):
                if href.endswith(".css") or re.match(r"[a-z]+:", href):
                    continue
                resolves(page, href if not href.startswith("#") else page + href)
            for picture in re.findall(r'src="([^"]+)"', text):
                if "/" + picture not in names:
                    problems.append(f"{page}: picture {picture} is not in the help file")

        toc_text = (extract(chm, "/toc.hhc", folder) or b"").decode("gbk")
        toc = sitemap(toc_text)
        listed = [local for _, _, local in toc if local]
        for page in pages:
            if listed.count(page) != 1:
                problems.append(f"contents: {page} is listed {listed.count(page)} times")
        for depth, name, local in toc:
            if local:
                resolves("contents", local)
                if local in titles and name != titles[local]:
                    problems.append(f"contents: {local} is called {name!r}, its title is "
                                    f"{titles[local]!r}")
        binary = folder / "binary-toc"
        chmls("extracttoc", str(chm), str(binary))
        binary_toc = sitemap(binary.read_bytes().decode("gbk")) if binary.exists() else []
        if binary_toc != toc:
            problems.append("the binary table of contents differs from toc.hhc")

        index = sitemap((extract(chm, "/index.hhk", folder) or b"").decode("gbk"))
        if len(index) < 50:
            problems.append(f"index: only {len(index)} keywords")
        reached = set()
        for _, name, local in index:
            if not name or not local:
                problems.append(f"index: entry {name!r} without a keyword or a page")
                continue
            resolves(f"index keyword {name!r}", local)
            reached.add(local.partition("#")[0])
        for page in pages:
            if page != START_PAGE and page not in reached:
                problems.append(f"index: no keyword leads to {page}")
    return problems


def main(argv):
    if len(argv) != 4:
        print(__doc__)
        return 2
    problems = check(pathlib.Path(argv[1]), pathlib.Path(argv[2]), pathlib.Path(argv[3]))
    for problem in problems:
        print(problem)
    print(f"help file: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
