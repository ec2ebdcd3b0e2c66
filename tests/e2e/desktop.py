"""A private desktop for the end-to-end tests: a virtual X display (Xvfb)
with a window manager when one is installed, a D-Bus session of its own and
the accessibility bus (AT-SPI) on it. The program runs there as a user runs
it: keys arrive through the X server's test extension (xdotool), and what its
windows show is read back the way a screen reader reads it.

One Desktop per Python process: the accessibility library stays with the
first bus it connects to.
"""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time


class DesktopError(RuntimeError):
    pass


def wait_until(probe, timeout, what, interval=0.05):
    """Calls probe until it returns something true and returns that; raises
    DesktopError naming `what` (a text, or a callable giving one) after
    timeout seconds."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= end:
            text = what() if callable(what) else what
            raise DesktopError(f"timed out after {timeout:g} s waiting for {text}")
        time.sleep(interval)


def _end_with_parent():
    """Run in a child before it starts: it gets SIGTERM when the test
    process dies, however that happens, so nothing is left running."""
    import ctypes
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def spawn(argv, **how):
    """subprocess.Popen of a child that ends with the test process."""
    return subprocess.Popen(argv, preexec_fn=_end_with_parent, **how)


def _stop(proc, group=False):
    """Ends a process this desktop started (and its group when it leads one)."""
    if proc.poll() is not None:
        return
    try:
        if group:
            os.killpg(proc.pid, signal.SIGTERM)
        else:
            proc.terminate()
        proc.wait(3)
    except subprocess.TimeoutExpired:
        if group:
            os.killpg(proc.pid, signal.SIGKILL)
        else:
            proc.kill()
        proc.wait()
    except ProcessLookupError:
        pass


class Desktop:
    def __init__(self, width=1280, height=1024):
        self.width, self.height = width, height
        self._services = []  # (Popen, leads a process group), in start order
        self.env = None
        self.runtime_dir = None

    # -- bringing it up and down -------------------------------------------
    def start(self):
        try:
            self.runtime_dir = tempfile.mkdtemp(prefix="cardomo-e2e-xdg-")
            env = {k: v for k, v in os.environ.items()
                   if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                "AT_SPI_BUS_ADDRESS", "SESSION_MANAGER", "DISPLAY")}
            env["XDG_RUNTIME_DIR"] = self.runtime_dir
            self.env = env
            self._start_x()
            self._set_keyboard()
            self._start_session_bus()
            self._start_accessibility_bus()
            self._start_window_manager()
        except BaseException:
            self.stop()
            raise
        return self

    def _start_x(self):
        # -displayfd: the server picks a free display and tells its number
        # once it accepts clients.
        read_end, write_end = os.pipe()
        x = spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                              f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset"],
                             pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_end)
        self._services.append((x, True))
        number = b""
        end = time.monotonic() + 20
        os.set_blocking(read_end, False)
        while not number.endswith(b"\n"):
            if x.poll() is not None:
                raise DesktopError("Xvfb ended before it took clients")
            if time.monotonic() > end:
                raise DesktopError("Xvfb did not tell its display within 20 s")
            try:
                chunk = os.read(read_end, 16)
            except BlockingIOError:
                time.sleep(0.02)
                continue
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def _set_keyboard(self):
        # A layout that has the Nordic letters on keys of their own: xdotool
        # would otherwise bind them to a spare key for each press, and the
        # program may read that key before it learns the new binding.
        r = subprocess.run(["setxkbmap", "-layout", "fi"], env=self.env, capture_output=True, text=True)
        if r.returncode != 0:
            raise DesktopError(f"setxkbmap -layout fi failed: {r.stderr.strip()}")

    def _start_session_bus(self):
        bus = spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               start_new_session=True, text=True)
        self._services.append((bus, True))
        address = bus.stdout.readline().strip()
        if not address:
            raise DesktopError("the D-Bus session did not give its address")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        # pyatspi in this process finds the accessibility bus through it.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address

    def _dbus_send(self, *args):
        return subprocess.run(["dbus-send", "--session", *args], env=self.env, capture_output=True, text=True)

    def _start_accessibility_bus(self):
        launcher = next((p for p in ("/usr/libexec/at-spi-bus-launcher",
                                     "/usr/lib/at-spi2-core/at-spi-bus-launcher") if os.path.exists(p)), None)
        if launcher is None:
            raise DesktopError("at-spi-bus-launcher not found (package at-spi2-core)")
        a11y = spawn([launcher, "--launch-immediately"], env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)
        self._services.append((a11y, True))

        def address():
            r = self._dbus_send("--dest=org.a11y.Bus", "--print-reply", "/org/a11y/bus", "org.a11y.Bus.GetAddress")
            return r.returncode == 0 and "unix:" in r.stdout

        wait_until(address, 10, "the accessibility bus")
        r = self._dbus_send("--dest=org.a11y.Bus", "--type=method_call", "--print-reply", "/org/a11y/bus",
                            "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:IsEnabled",
                            "variant:boolean:true")
        if r.returncode != 0:
            raise DesktopError(f"could not switch accessibility on: {r.stderr.strip()}")
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    def _start_window_manager(self):
        if not shutil.which("openbox"):
            return
        wm = spawn(["openbox", "--sm-disable"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, start_new_session=True)
        self._services.append((wm, True))

        def managing():
            r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                               capture_output=True, text=True)
            return "window id" in r.stdout

        if shutil.which("xprop"):
            wait_until(managing, 10, "the window manager")
        else:
            time.sleep(0.5)

    def stop(self):
        for proc, group in reversed(self._services):
            _stop(proc, group)
        self._services = []
        if self.runtime_dir:
            shutil.rmtree(self.runtime_dir, ignore_errors=True)
            self.runtime_dir = None

    # -- X requests ---------------------------------------------------------
    def xdotool(self, *args, check=True):
        r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)
        if check and r.returncode != 0:
            raise DesktopError(f"xdotool {' '.join(args)} failed: {r.stderr.strip()}")
        return r.stdout.strip()

    def active_window(self):
        return self.xdotool("getactivewindow", check=False)

    def window_title(self, window):
        return self.xdotool("getwindowname", window, check=False)

    def activate(self, window):
        """Gives window the input focus and waits until the server says so."""
        self.xdotool("windowactivate", "--sync", window, check=False)
        if self.active_window() != window:
            self.xdotool("windowfocus", "--sync", window, check=False)

    def key(self, *keys):
        """Presses keys (xdotool names: "ctrl+s", "Return", "alt+Home") on
        whatever has the focus, through the server's test extension."""
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)

    def type(self, text, delay_ms=8):
        """Types text; a line break is the Return key."""
        for i, line in enumerate(text.split("\n")):
            if i:
                self.key("Return")
            if line:
                self.xdotool("type", "--clearmodifiers", "--delay", str(delay_ms), "--", line)


# -- what the windows show, read through the accessibility bus ----------------

def states_of(acc):
    import pyatspi
    try:
        return {pyatspi.stateToString(s) for s in acc.getState().getStates()}
    except Exception:
        return set()


def text_of(acc):
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except Exception:
        return None


class Node:
    """One element of a window as a screen reader sees it; its text and
    states are asked for when first used."""

    def __init__(self, acc, role, name, depth):
        self.acc, self.role, self.name, self.depth = acc, role, name, depth
        self._state_set = None

    @property
    def text(self):
        return text_of(self.acc)

    @property
    def states(self):
        if self._state_set is None:
            self._state_set = states_of(self.acc)
        return self._state_set

    @property
    def showing(self):
        return "showing" in self.states

    @property
    def enabled(self):
        return "enabled" in self.states

    def __repr__(self):
        return f"<{self.role} {self.name!r}>"


def walk(acc, depth=0, skip=(), into=None):
    """Every element under acc (acc included) as Nodes, in tree order; the
    subtrees of elements whose role is in skip are left out."""
    nodes = [] if into is None else into
    try:
        role, name = acc.getRoleName(), acc.name
    except Exception:
        return nodes
    nodes.append(Node(acc, role, name, depth))
    if role in skip:
        return nodes
    try:
        count = acc.childCount
    except Exception:
        count = 0
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            walk(child, depth + 1, skip, nodes)
    return nodes
