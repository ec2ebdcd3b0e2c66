"""What the tests of one run share: the desktop, the program under test, a
scratch folder, and the large generated card file; and the base class of the
tests."""
import atexit
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import cardfiles
from cardomo import Cardomo
from desktop import Desktop


class Session:
    def __init__(self):
        self.program = None
        self.root = None
        self.keep = False
        self._desktop = None
        self._big = None
        self._big_cards = None
        self.programs = []  # every program started, ended at the latest by close()
        self.mounts = []    # every volume mounted, unmounted at the latest by close()

    def configure(self, program, keep=False):
        self.program = os.path.abspath(program)
        self.keep = keep
        self.root = tempfile.mkdtemp(prefix="cardomo-e2e-")

    @property
    def desktop(self):
        if self._desktop is None:
            self._desktop = Desktop().start()
            atexit.register(self.close)
        return self._desktop

    def big_cards(self):
        """32000 generated cards, made once a run; a test that changes some
        of them works on copies (`[list(c) for c in session.big_cards()]`)."""
        if self._big_cards is None:
            self._big_cards = cardfiles.generate(32000)
        return self._big_cards

    def big_file_bytes(self):
        """The bytes of a card file of the 32000 generated cards, made once a run."""
        if self._big is None:
            self._big = cardfiles.encode(self.big_cards())
        return self._big

    def mount_small_volume(self, folder, size_kb):
        """Mounts an empty tmpfs of size_kb on folder; False when this
        system does not let the tests mount one (not the superuser, or no
        right to mount in this container)."""
        if os.geteuid() != 0 or not shutil.which("mount"):
            return False
        r = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size_kb}k,mode=0755", "cardomo-e2e", folder],
                           capture_output=True, text=True)
        if r.returncode != 0:
            return False
        self.mounts.append(folder)
        return True

    def unmount(self, folder):
        if folder in self.mounts:
            self.mounts.remove(folder)
        for _ in range(50):
            if not os.path.ismount(folder) or subprocess.run(["umount", folder], capture_output=True).returncode == 0:
                return
            time.sleep(0.1)
        subprocess.run(["umount", "-l", folder], capture_output=True)

    def close(self):
        for p in self.programs:
            p.stop()
        self.programs = []
        for folder in list(self.mounts):
            self.unmount(folder)
        if self._desktop is not None:
            self._desktop.stop()
            self._desktop = None
        if self.root and not self.keep:
            shutil.rmtree(self.root, ignore_errors=True)


session = Session()
if os.environ.get("CARDOMO_E2E_PROGRAM"):
    session.configure(os.environ["CARDOMO_E2E_PROGRAM"])


class ProgramTest(unittest.TestCase):
    """A test with a folder of its own and programs started on the desktop;
    the programs end with the test, and their output is shown when it fails."""

    def setUp(self):
        if session.program is None:
            raise unittest.SkipTest("no program given (run_e2e.py --program, or CARDOMO_E2E_PROGRAM)")
        self.dir = tempfile.mkdtemp(prefix=self._testMethodName[:40] + "-", dir=session.root)
        self.programs = []

    def start(self, *args, cwd=None):
        """Starts the program with args, in the test's folder unless cwd
        says otherwise. Its state folder (recovery copies) is the test's
        own: `state_dir()`."""
        n = len(self.programs) + 1
        p = Cardomo(session.desktop, session.program, [str(a) for a in args], cwd or self.dir,
                    env={"XDG_STATE_HOME": self.path("state")},
                    log_path=os.path.join(self.dir, f"program-{n}.log"))
        self.programs.append(p)
        session.programs.append(p)
        self.addCleanup(self._check_output, p, n)  # runs after the stop below
        self.addCleanup(p.stop)
        return p

    def _check_output(self, program, n):
        # A sanitizer build reports what it finds on the program's output.
        out = program.log()
        for sign in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
            if sign in out:
                self.fail(f"program {n} reported {sign!r}:\n{out}")

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def state_dir(self):
        """Where the programs of this test keep their recovery copies."""
        return self.path("state", "cardomo")

    def run(self, result=None):
        result = result if result is not None else self.defaultTestResult()
        before = len(result.failures) + len(result.errors)
        super().run(result)
        if len(result.failures) + len(result.errors) > before:
            for i, p in enumerate(getattr(self, "programs", []), start=1):
                out = p.log().strip()
                if out:
                    sys.stderr.write(f"\n--- output of program {i} of {self.id()}:\n{out}\n")
        return result

    # -- comparisons -----------------------------------------------------------
    def assertFileBytes(self, path, expected, what="the file"):
        with open(path, "rb") as f:
            data = f.read()
        if data != expected:
            at = next((i for i, (a, b) in enumerate(zip(data, expected)) if a != b), min(len(data), len(expected)))
            self.fail(f"{what} {path} differs from what was expected at byte {at} "
                      f"(size {len(data)}, expected {len(expected)}): "
                      f"{data[max(0, at - 30):at + 30]!r} against {expected[max(0, at - 30):at + 30]!r}")

    def assertMessage(self, program, expected, answer="Return"):
        """The open message box (waited for) says exactly expected; it is
        answered with the key answer."""
        box = program.wait_message()
        self.assertEqual(expected, box.text, f"message box text (buttons {box.buttons})")
        program.answer(answer)
        return box
