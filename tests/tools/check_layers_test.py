#!/usr/bin/env python3
"""tools/check-layers.py on a copy of src/: the tree as it is passes, and each
planted include that runs back up the layers (or ties the core to Windows)
fails, naming the file and line it was planted at."""
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CHECK = ROOT / "tools" / "check-layers.py"

# (file the include is planted in, the planted line)
PLANTED = [
    ("core/it_ticket/ticket_rules.cpp", '#include "win/ticket_log.h"'),
    ("core/ticket_history/ticket_history.h", "#include <windows.h>"),
    ("win/ticket_log.cpp", '#include "ui/dialog.h"'),
    ("win/config_sources.h", '#include "features/it_ticket/record_files.h"'),
    ("ui/dialog.cpp", '#include "features/it_ticket/ticket_delivery.h"'),
    ("features/it_ticket/ticket_delivery.cpp", '#include "forms/it_ticket/system_admin_dlg.h"'),
    ("features/ticket_history/sent_tickets.cpp", '#include "ui/message_dlg.h"'),
    ("forms/feedback/feedback_dlg.cpp", '#include "app/vandrel_dlg.h"'),
    ("win/wide_text.cpp", '#include "resource.h"'),
    ("forms/feedback/feedback_dlg.cpp", '#include "ticket_log.h"'),
]


def run_check(src):
    return subprocess.run([sys.executable, str(CHECK), str(src)], capture_output=True, text=True)


class CheckLayers(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.src = Path(self.folder.name) / "src"
        shutil.copytree(ROOT / "src", self.src)

    def tearDown(self):
        self.folder.cleanup()

    def test_the_tree_as_it_is_passes(self):
        result = run_check(self.src)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_each_planted_include_that_runs_back_up_fails(self):
        for relative, line in PLANTED:
            with self.subTest(file=relative, include=line):
                path = self.src / relative
                original = path.read_text(encoding="utf-8")
                lines = original.splitlines()
                lines.insert(1, line)  # becomes line 2 of the file
                path.write_text("\n".join(lines) + "\n", encoding="utf-8")
                try:
                    result = run_check(self.src)
                finally:
                    path.write_text(original, encoding="utf-8")
                self.assertEqual(result.returncode, 1, result.stdout)
                self.assertIn(f"{relative}:2:", result.stdout)

    def test_a_file_outside_the_layer_folders_fails(self):
        (self.src / "helpers").mkdir()
        (self.src / "helpers" / "loose.h").write_text("#pragma once\n", encoding="utf-8")
        result = run_check(self.src)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn("helpers/loose.h", result.stdout)


if __name__ == "__main__":
    unittest.main()
