"""The desktop program as a person meets it: started under a real X server with a window
manager, driven with the keyboard through xdotool, and read back through the
accessibility bus (AT-SPI), as a screen reader reads it.

Run by run_e2e.sh inside its own X server and D-Bus session:
    e2e.py PROGRAM SCENARIO
SCENARIO is "start" (a 1280 by 800 screen) or "small-screen" (1024 by 768)."""
import os
import subprocess
import sys
import time

import pyatspi

PROGRAM = sys.argv[1]
SCENARIO = sys.argv[2]
HOME = os.environ["HOME"]
CAPTION = "Quenvora W-2 Version 2026.00"
DATA = os.path.join(HOME, "Documents", "QNVR", "2026", "Data")
SETTINGS = os.path.join(os.environ["XDG_CONFIG_HOME"], "QNVRTest", "2026.ini")


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(what, probe, timeout=20.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            found = probe()
        except Exception:  # the accessibility tree changes while we read it
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def window_titles():
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], capture_output=True, text=True)
    titles = []
    for window in result.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True).stdout.strip()
        titles.append(name)
    return titles


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "quenvora-w2":
            return app
    return None


def find(root, role, name=None):
    """The first accessible below root with the role (and name, when given)."""
    if root is None:
        return None
    return pyatspi.findDescendant(root, lambda a: a.getRole() == role and (name is None or a.name == name))


def window_named(name):
    return find(application(), pyatspi.ROLE_FRAME, name) or find(application(), pyatspi.ROLE_DIALOG, name)


def labels_below(root):
    found = pyatspi.findAllDescendants(root, lambda a: a.getRole() == pyatspi.ROLE_LABEL)
    return [label.name for label in found]


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def start_program():
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QNVR_DEVELOPMENT="1")
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.Popen([PROGRAM], env=env)


def finish(program, timeout=20.0):
    try:
        return program.wait(timeout)
    except subprocess.TimeoutExpired:
        program.kill()
        fail("the program did not end")


def scenario_start():
    program = start_program()
    main = wait_for("the main window '%s'" % CAPTION, lambda: window_named(CAPTION))
    wait_for("a visible window titled '%s'" % CAPTION, lambda: CAPTION in window_titles())
    panel = labels_below(main)
    for line in ("There is no Payer file open", "To create a new payer, select New from the File menu."):
        if line not in panel:
            fail("the main window does not say '%s' (labels: %s)" % (line, panel))
    if not os.path.isdir(DATA):
        fail("the data folder %s was not created" % DATA)
    menus = [item.name for item in find(main, pyatspi.ROLE_MENU_BAR)]
    if menus != ["File", "Forms", "Tools", "Help"]:
        fail("unexpected menus %s" % menus)

    # File, New: the name field refuses characters a file name may not hold; Escape cancels.
    xdotool("key", "--clearmodifiers", "ctrl+n")
    dialog = wait_for("the new-file window", lambda: window_named("New Quenvora W-2 Company/Employer File"))
    xdotool("type", "--delay", "30", "Acme/2026*")
    field = find(dialog, pyatspi.ROLE_TEXT)
    wait_for("the typed name", lambda: text_of(field) == "Acme2026")
    xdotool("key", "Escape")
    wait_for("the new-file window to close", lambda: window_named("New Quenvora W-2 Company/Employer File") is None)
    if os.listdir(DATA):
        fail("cancelling New created %s" % os.listdir(DATA))

    # File, Print Setup by its accelerators opens the printer setup; its Cancel button closes it.
    xdotool("key", "--clearmodifiers", "alt+f")
    wait_for("the File menu", lambda: find(application(), pyatspi.ROLE_MENU_ITEM, "Print Setup"))
    xdotool("key", "s")
    setup = wait_for("the printer setup window", lambda: window_named("Printer Setup"))
    cancel = find(setup, pyatspi.ROLE_PUSH_BUTTON, "Cancel")
    cancel.queryAction().doAction(0)
    wait_for("the printer setup window to close", lambda: window_named("Printer Setup") is None)

    # F1 shows the main window's help topic.
    xdotool("key", "F1")
    wait_for("the help window", lambda: window_named("Quenvora W-2 2026 Help"))
    xdotool("key", "Escape")
    wait_for("the help window to close", lambda: window_named("Quenvora W-2 2026 Help") is None)

    # File, Exit.
    xdotool("key", "--clearmodifiers", "ctrl+x")
    code = finish(program)
    if code != 0:
        fail("the program ended with exit code %d" % code)
    with open(SETTINGS, encoding="utf-8") as settings:
        written = settings.read()
    if "[RecentFiles]" not in written:
        fail("the recent-files list was not written to %s:\n%s" % (SETTINGS, written))


def scenario_small_screen():
    program = start_program()
    refusal = wait_for("the start-up refusal", lambda: find(application(), pyatspi.ROLE_ALERT)
                       or find(application(), pyatspi.ROLE_DIALOG))
    said = " ".join(labels_below(refusal))
    if "Unable to run Quenvora W-2!" not in said or "resolutions of less than 1280 X 800." not in said:
        fail("unexpected start-up message: %s" % said)
    xdotool("key", "Return")
    code = finish(program)
    if code != 0:
        fail("the program ended with exit code %d" % code)
    if os.path.exists(os.path.join(HOME, "Documents", "QNVR")):
        fail("the refused start created the data folder")


{"start": scenario_start, "small-screen": scenario_small_screen}[SCENARIO]()
print("PASS: " + SCENARIO, flush=True)
