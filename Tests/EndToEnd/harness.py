"""End-to-end harness: a fresh copy of the template Wine prefix per test, the sample
distribution copied into it, and helpers to run the installer and the Windows-side test helper."""

import glob
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BUILD = os.environ.get("OV_BUILD") or os.path.join(os.path.dirname(__file__), "..", "..", "build")
BUILD = os.path.abspath(BUILD)
WINE_ROOT = os.path.join(BUILD, "wine")
TEMPLATE = os.path.join(WINE_ROOT, "template")
HELPER = os.path.join(BUILD, "Tests", "Helper", "OvTestHelper.exe")
SAMPLE_DIST = os.path.join(BUILD, "sample-dist")
SHOTS = os.path.join(BUILD, "e2e-screenshots")

LOG_NAME = "Orvane Install Wizard.log"

EXIT_SUCCESS = 0
EXIT_TOOLS_LIBRARY_FAILED = 1
EXIT_ANOTHER_INSTANCE = 2
EXIT_CHECKS_FAILED = 3
EXIT_CANCELLED = 4


class Result:
    def __init__(self, returncode, stdout, stderr):
        self.returncode = returncode
        self.stdout = stdout
        self.stderr = stderr


class Process:
    """A Windows program started in the background; its output goes to temp files."""

    def __init__(self, popen, out, err):
        self._popen = popen
        self._out = out
        self._err = err

    def wait(self, timeout=60):
        try:
            code = self._popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"program still running after {timeout} s")
        with open(self._out.name, encoding="utf-8", errors="replace") as f:
            out = f.read()
        os.unlink(self._out.name)
        os.unlink(self._err.name)
        return Result(code, out, "")

    def running(self):
        return self._popen.poll() is None


class WinePrefix:
    """A private Wine machine for one test."""

    def __init__(self, name):
        self.path = os.path.join(WINE_ROOT, "e2e", name)
        self.env = dict(os.environ)
        self.env.update(
            WINEPREFIX=self.path,
            WINEARCH="win32",
            WINEDEBUG="-all",
            WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
            HOME=os.path.join(WINE_ROOT, "home"),
        )
        self._background = []

    def __enter__(self):
        self._kill_server()
        shutil.rmtree(self.path, ignore_errors=True)
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        subprocess.run(["cp", "-a", TEMPLATE, self.path], check=True)
        # A persistent server and Wine's own helper processes, with no pipes of ours.
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.env)
        subprocess.run(["wineserver", "-p"], **quiet)
        subprocess.run(["wine", "cmd", "/c", "exit"], **quiet)
        return self

    def __exit__(self, *exc):
        self._kill_server()
        for process in self._background:
            try:
                process._popen.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process._popen.kill()
        shutil.rmtree(self.path, ignore_errors=True)
        return False

    def _kill_server(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # Files

    def unix_path(self, windows_path):
        """C:\\a\\b -> <prefix>/drive_c/a/b"""
        assert windows_path[1:3] == ":\\", windows_path
        rest = windows_path[3:].replace("\\", "/")
        return os.path.join(self.path, "drive_" + windows_path[0].lower(), rest)

    def copy_distribution(self, windows_folder="C:\\dist"):
        target = self.unix_path(windows_folder)
        shutil.copytree(SAMPLE_DIST, target)
        return target

    def log_text(self):
        patterns = [os.path.join(self.path, "drive_c", "users", "*", sub, LOG_NAME)
                    for sub in ("Temp", os.path.join("AppData", "Local", "Temp"))]
        for pattern in patterns:
            for path in glob.glob(pattern):
                with open(path, encoding="utf-8") as f:
                    return f.read()
        return ""

    # Programs

    def _command(self, program, args):
        return ["wine", program] + list(args)

    def run(self, program, *args, timeout=60):
        with tempfile.NamedTemporaryFile(delete=False) as out, tempfile.NamedTemporaryFile(delete=False) as err:
            pass
        with open(out.name, "wb") as o, open(err.name, "wb") as e:
            try:
                code = subprocess.run(self._command(program, args), stdin=subprocess.DEVNULL, stdout=o, stderr=e,
                                      env=self.env, timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                raise AssertionError(f"{program} still running after {timeout} s")
        with open(out.name, encoding="utf-8", errors="replace") as f:
            stdout = f.read()
        with open(err.name, encoding="utf-8", errors="replace") as f:
            stderr = f.read()
        os.unlink(out.name)
        os.unlink(err.name)
        return Result(code, stdout, stderr)

    def spawn(self, program, *args):
        out = tempfile.NamedTemporaryFile(delete=False)
        err = tempfile.NamedTemporaryFile(delete=False)
        popen = subprocess.Popen(self._command(program, args), stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                 env=self.env)
        process = Process(popen, out, err)
        self._background.append(process)
        return process

    def helper(self, *args, timeout=60):
        return self.run(HELPER, *args, timeout=timeout)

    def hold_mutex(self, name, seconds=60):
        """Starts the helper holding a named mutex and waits until it holds it."""
        process = self.spawn(HELPER, "hold-mutex", name, str(seconds))
        deadline = time.time() + 30
        while time.time() < deadline:
            with open(process._out.name, encoding="utf-8", errors="replace") as f:
                if f.read().startswith("held"):
                    return process
            time.sleep(0.1)
        raise AssertionError("the helper did not take the mutex")

    def window_texts(self, title, timeout_ms=30000):
        """The window's title and its controls' texts, or None when no such window appeared."""
        result = self.helper("window-texts", "--title", title, "--timeout", str(timeout_ms))
        if result.returncode != 0:
            return None
        texts = []
        for line in result.stdout.splitlines():
            fields = line.split("\t")
            texts.append(fields[-1].replace("\\r", "\r").replace("\\n", "\n").replace("\\t", "\t"))
        return texts

    def press(self, title, button):
        result = self.helper("press", "--title", title, "--button", button)
        assert result.returncode == 0, result.stdout

    def wait_closed(self, title, timeout_ms=20000):
        return self.helper("wait-close", "--title", title, "--timeout", str(timeout_ms)).returncode == 0

    def screenshot(self, name):
        """Saves the screen as <build>/e2e-screenshots/<name>.png (for a person to look at)."""
        os.makedirs(SHOTS, exist_ok=True)
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name + ".png")],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # Registry

    def reg(self, *args):
        return self.run("reg", *args)

    def reg_add(self, key, value=None, data=None, kind="REG_SZ"):
        args = ["add", key, "/f"]
        if value is not None:
            args += ["/v", value, "/t", kind, "/d", data]
        assert self.reg(*args).returncode == 0

    def reg_key_exists(self, key):
        return self.reg("query", key).returncode == 0

    def reg_value(self, key, value):
        result = self.reg("query", key, "/v", value)
        if result.returncode != 0:
            return None
        for line in result.stdout.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == value.lower() and parts[1].startswith("REG_"):
                return parts[2] if len(parts) == 3 else ""
        return None


class PrefixTestCase(unittest.TestCase):
    """A test with its own prefix (self.wine) holding the sample distribution in C:\\dist."""

    SETUP = "C:\\dist\\Setup.exe"

    def setUp(self):
        self.wine = WinePrefix(self.id().split(".")[-1])
        self.wine.__enter__()
        self.addCleanup(self.wine.__exit__, None, None, None)
        self.dist = self.wine.copy_distribution()

    def assertInOrder(self, text, pieces):
        position = 0
        for piece in pieces:
            found = text.find(piece, position)
            self.assertNotEqual(found, -1, f"{piece!r} not found after position {position} in:\n{text}")
            position = found + len(piece)
