"""The real corvane-config window on simulated controllers, driven as a
person drives it: controls found on the accessibility bus by the names a
screen reader reads (lists by the caption that labels them), mouse and keys
sent as real X events, and what reached a controller read back with
corvane-cli from the same simulated state.

tools/e2e.sh provides the virtual X server and the session bus; each test
starts its own copy of the program in a scratch folder, so settings, locks
and controller state never leak from one test into the next.

A new scenario is a class of test_end_to_end.py deriving from WindowTest,
its name added to the list in CMakeLists.txt. open_window() takes the
number of simulated controllers and their faults ("SIM0001:unplug-at=3000").
"""
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

import pyatspi
from dogtail import rawinput
from dogtail.config import config as dogtail_config

# The defaults wait a second after every click and log to files.
dogtail_config.actionDelay = 0.2
dogtail_config.defaultDelay = 0.2
dogtail_config.typingDelay = 0.05
dogtail_config.logDebugToFile = False
dogtail_config.logDebugToStdOut = False

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD_DIR = os.path.abspath(os.environ.get("CORVANE_BUILD_DIR", os.path.join(SOURCE_DIR, "build")))
PROJECT_TEXTS = [os.path.join(SOURCE_DIR, "resources", "i18n", name)
                 for name in ("language_project.txt", "language_additions.txt")]
WAIT_S = 15


def wait_until(what, predicate, timeout=WAIT_S):
    """Polls predicate every 50 ms until it returns something true."""
    end = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def german_texts():
    """English text -> German text, from the sources of the embedded project."""
    texts = {}
    line_re = re.compile(r'^"(.*)"\t"(.*)"\t"(.*)"$')
    for path in PROJECT_TEXTS:
        with open(path, encoding="utf-8") as f:
            for line in f:
                m = line_re.match(line.rstrip("\n"))
                if m:
                    ident, english, german = m.groups()
                    texts[(english or ident).replace("\\r\\n", "\r\n")] = german.replace("\\r\\n", "\r\n")
    return texts


class Window:
    """One running corvane-config and its accessible tree."""

    def __init__(self, scratch, language="en", controllers=1, faults=None, env=None):
        self.scratch = scratch
        self.language = language
        self.controllers = controllers
        self.state_file = os.path.join(scratch, "sim-state.json")
        self._german = german_texts()
        program = os.path.join(scratch, "corvane-config")
        # A copy beside its own settings file, as the screenshots are taken.
        shutil.copy2(os.path.join(BUILD_DIR, "corvane-config"), program)
        runtime = os.path.join(scratch, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        with open(os.path.join(scratch, "CORVANE_Config.ini"), "w", encoding="utf-8") as f:
            f.write("[CONFIG]\nLANGUAGE=%s\n" % language)
        args = [program, "--simulate=%d" % controllers, "--simulate-state", self.state_file]
        if faults:
            args += ["--simulate-faults", faults]
        run_env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_RUNTIME_DIR=runtime,
                       XDG_CONFIG_HOME=os.path.join(scratch, "config"))
        # Qt's X11 keyboard set-up makes libxkbcommon-x11 read past one of its
        # own strings, which AddressSanitizer's strict string checks report
        # in a sanitized build; those checks stay with the unit tests.
        if "ASAN_OPTIONS" in run_env:
            run_env["ASAN_OPTIONS"] = run_env["ASAN_OPTIONS"].replace("strict_string_checks=1", "strict_string_checks=0")
        run_env.update(env or {})
        self.log = open(os.path.join(scratch, "program.log"), "w")
        self.process = subprocess.Popen(args, env=run_env, stdout=self.log, stderr=subprocess.STDOUT)
        self.app = wait_until("the program on the accessibility bus", self._find_app)
        self.frame = wait_until("the main window", lambda: self._first(self.app, "frame"))

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            except Exception:  # an application that left meanwhile
                continue
        return None

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()

    # --- names as the window shows them in its language

    def tr(self, text):
        """The text as the window shows it. A text without a German
        translation fails the test in either language, so every name a test
        uses exists in both."""
        if not self._german.get(text):
            raise AssertionError("no German text for %r" % text)
        return self._german[text] if self.language == "de" else text

    def control_name(self, group, caption):
        """The name the editor gives a control: its group, then its caption."""
        return "%s, %s" % (self.tr(group).strip(), self.tr(caption).rstrip(":"))

    # --- finding controls

    @staticmethod
    def _walk(node):
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield child
                yield from Window._walk(child)

    def _first(self, root, role, name=None, where=lambda n: True):
        for node in self._walk(root):
            if node.getRoleName() == role and (name is None or node.name == name) and where(node):
                return node
        return None

    def find(self, role, name, root=None):
        """The first showing control of that role and accessible name."""
        return wait_until("%s %r" % (role, name),
                          lambda: self._first(root or self.app, role, name, self.showing))

    def spin(self, group, caption):
        return self.find("spin button", self.control_name(group, caption))

    def button(self, text):
        """A push button by its caption, a tool bar button by its hint."""
        return self.find("push button", self.tr(text))

    def check_box(self, text):
        return self.find("check box", self.tr(text))

    def combo(self, caption):
        """A list, found as a screen reader finds it: by the label it is labelled by."""
        label = self.tr(caption)

        def labelled(node):
            for relation in node.getRelationSet():
                if relation.getRelationType() != pyatspi.RELATION_LABELLED_BY:
                    continue
                if any(relation.getTarget(i).name == label for i in range(relation.getNTargets())):
                    return True
            return False

        return wait_until("list labelled %r" % label,
                          lambda: self._first(self.app, "combo box", where=lambda n: self.showing(n) and labelled(n)))

    def dialogs(self):
        """The names of the message boxes and dialogs showing."""
        return [node.name for node in (self.app.getChildAtIndex(i) for i in range(self.app.childCount))
                if node is not None and node.getRoleName() in ("dialog", "alert") and self.showing(node)]

    def status_text(self):
        bar = self._first(self.frame, "status bar")
        return bar.name if bar is not None else ""

    @staticmethod
    def showing(node):
        return node.getState().contains(pyatspi.STATE_SHOWING)

    @staticmethod
    def enabled(node):
        return node.getState().contains(pyatspi.STATE_ENABLED)

    @staticmethod
    def value(spin):
        return int(spin.queryValue().currentValue)

    # --- real input

    @staticmethod
    def centre(node):
        x, y, w, h = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return x + w // 2, y + h // 2

    def click(self, node):
        rawinput.click(*self.centre(node))

    def wheel(self, node, notches):
        """Turns the wheel over node: positive notches roll down."""
        x, y = self.centre(node)
        rawinput.absoluteMotion(x, y)
        for _ in range(abs(notches)):
            rawinput.click(x, y, button=5 if notches > 0 else 4)

    def type_into(self, spin, text):
        """Clicks into the box, selects what it holds, types text, leaves with Tab."""
        self.click(spin)
        wait_until("keyboard focus in the box", lambda: spin.getState().contains(pyatspi.STATE_FOCUSED))
        rawinput.keyCombo("<Control>a")
        rawinput.typeText(text)
        rawinput.pressKey("Tab")

    def choose(self, combo, steps):
        """Opens the list with a click and moves `steps` items down (up when
        negative) with the arrow keys, then takes the item with Return."""
        self.click(combo)
        wait_until("the list open", lambda: combo.getState().contains(pyatspi.STATE_EXPANDED))
        for _ in range(abs(steps)):
            rawinput.pressKey("Down" if steps > 0 else "Up")
        rawinput.pressKey("Return")

    def answer(self, title, button):
        """Clicks `button` in the message box titled `title`."""
        box = self.find("dialog", self.tr(title))
        self.click(self.find("push button", self.tr(button), root=box))
        wait_until("the box to close", lambda: self.tr(title) not in self.dialogs())

    def choose_file(self, title, path):
        """Answers the open or save dialog titled `title` with path."""
        dialog = self.find("dialog", self.tr(title))
        wait_until("the dialog's focus", lambda: self.enabled(dialog))
        rawinput.keyCombo("<Control>a")
        rawinput.typeText(path)
        rawinput.pressKey("Return")
        wait_until("the dialog to close", lambda: not self._first(self.app, "dialog", self.tr(title), self.showing))

    # --- the controller's side

    def cli(self, *args):
        """corvane-cli on the window's simulated controllers."""
        out = subprocess.run([os.path.join(BUILD_DIR, "corvane-cli"), "--simulate=%d" % self.controllers, "--simulate-state",
                              self.state_file, *args], capture_output=True, text=True, timeout=30,
                             env=dict(os.environ, XDG_RUNTIME_DIR=os.path.join(self.scratch, "runtime")))
        if out.returncode != 0:
            raise AssertionError("corvane-cli %s: %s" % (" ".join(args), out.stderr.strip()))
        return out.stdout

    def held(self, tag, serial="SIM0001"):
        """The value a controller holds for a tag."""
        line = self.cli("--device", serial, "get", tag).strip()
        name, _, value = line.partition("=")
        assert name == tag, line
        return int(value, 0)


class WindowTest(unittest.TestCase):
    """A test with one window; `language` chooses the interface language."""
    language = "en"

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="corvane-e2e-", dir=BUILD_DIR)
        self.addCleanup(shutil.rmtree, self.scratch, ignore_errors=True)

    def open_window(self, **kwargs):
        window = Window(self.scratch, language=self.language, **kwargs)
        self.addCleanup(window.close)
        self.addCleanup(self._report, window)
        wait_until("the controller in the editor", lambda: window.enabled(window.button("Restart")))
        return window

    def _report(self, window):
        # The program's own words next to a failure.
        result = getattr(getattr(self, "_outcome", None), "result", None)
        if result and any(test is self for test, _ in result.failures + result.errors):
            with open(os.path.join(self.scratch, "program.log"), encoding="utf-8", errors="replace") as f:
                print("--- program output\n" + f.read())
