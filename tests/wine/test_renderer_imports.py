"""Halvane.dll links against nothing but Windows' own libraries: no MinGW runtime DLLs or
anything else that would have to be shipped beside it."""
import os
import re
import subprocess
import unittest

import harness

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "opengl32.dll", "glu32.dll", "msvcrt.dll"}


class RendererImportsTest(unittest.TestCase):
    def test_only_system_dlls(self):
        exe = os.path.join(harness.DIST_DIR, "Halvane.dll")
        out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], stdout=subprocess.PIPE,
                             check=True).stdout.decode("latin-1")
        names = {line.split(":", 1)[1].strip().lower() for line in out.splitlines()
                 if line.strip().startswith("DLL Name:")}
        self.assertIn("opengl32.dll", names)
        self.assertLessEqual(names, SYSTEM_DLLS, f"unexpected imports: {sorted(names - SYSTEM_DLLS)}")
        self.assertRegex(out, re.compile(r"^Subsystem\s+00000002", re.M), "not a GUI program")


if __name__ == "__main__":
    unittest.main(verbosity=2)
