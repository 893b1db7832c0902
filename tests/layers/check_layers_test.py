#!/usr/bin/env python3
"""The layer checker itself: on a copy of this tree with one wrong include added, it must fail and
name that include; on the tree as it is, it must pass."""

import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parents[1]
CHECKER = HERE / "check_layers.py"


def run(root):
    return subprocess.run([sys.executable, str(CHECKER), str(root)], capture_output=True, text=True)


class CheckLayers(unittest.TestCase):
    def setUp(self):
        self.tree = pathlib.Path(tempfile.mkdtemp())
        shutil.copytree(ROOT / "src", self.tree / "src")
        shutil.copytree(ROOT / "res", self.tree / "res")

    def tearDown(self):
        shutil.rmtree(self.tree)

    def add_line(self, relative, line):
        path = self.tree / "src" / relative
        path.write_text(line + "\n" + path.read_text(encoding="utf-8"), encoding="utf-8")

    def test_the_tree_as_it_is_passes(self):
        result = run(self.tree)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_wrong_edges_fail_and_are_named(self):
        cases = [
            # (file, added line, text the report must hold)
            ("mail/filters.cpp", '#include "app/check_end.h"', "src/mail/filters.cpp:1"),
            ("base/gbk_text.cpp", '#include "platform/clock.h"', "base/ may not include"),
            ("settings/main_settings.cpp", '#include "mail/accounts.h"', "settings/ may not"),
            ("mail/filters.cpp", '#include "dialup/tariff.h"', "mail/ may not"),
            ("mail/filters.cpp", '#include "send/smtp_session.h"', "mail/ may not"),
            ("ui/dialog.cpp", '#include "settings/main_settings.h"', "ui/ may not"),
            ("ui/dialog.cpp", '#include "resource.h"', "ui/ may not"),
            ("mail/gui/filter_dialogs.cpp", '#include "app/gui/main_dlg.h"', "mail/gui/ may not"),
            ("dialup/tariff.cpp", '#include "platform/win32/wide_text.h"', "only the Win32 side"),
            ("mail/filters.cpp", "#include <windows.h>", "only the Win32 side"),
            ("mail/filters.cpp", '#include "mail/no_such_file.h"', "names no file"),
            # The header the build writes from res/quorlet_version.h.in is a resource header.
            ("mail/filters.cpp", '#include "quorlet_version.h"', "mail/ may not"),
            ("ui/dialog.cpp", '#include "quorlet_version.h"', "ui/ may not"),
            ("cli/cli.cpp", '#include "no_such_version.h"', "names no file"),
        ]
        for relative, line, expected in cases:
            with self.subTest(file=relative, line=line):
                original = (self.tree / "src" / relative).read_text(encoding="utf-8")
                self.add_line(relative, line)
                result = run(self.tree)
                (self.tree / "src" / relative).write_text(original, encoding="utf-8")
                self.assertEqual(result.returncode, 1, result.stdout)
                self.assertIn(expected, result.stdout)
                self.assertIn("1 include(s) outside the table", result.stdout)

    def test_allowed_edges_pass(self):
        for relative, line in [
            ("app/gui/main_dlg.cpp", '#include "mail/gui/filter_dialogs.h"'),
            ("mail/gui/filter_dialogs.cpp", '#include "ui/dialog.h"'),
            ("send/smtp_session.cpp", '#include "mail/mail_date.h"'),
            ("cli/cli.cpp", '#include "app/check_end.h"'),
            ("app/gui/main_dlg.cpp", '#include "quorlet_version.h"'),
        ]:
            with self.subTest(file=relative, line=line):
                self.add_line(relative, line)
                result = run(self.tree)
                self.assertEqual(result.returncode, 0, result.stdout)


if __name__ == "__main__":
    unittest.main()
