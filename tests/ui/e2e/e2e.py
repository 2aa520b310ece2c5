"""The desktop program as a person meets it: started under a real X server with a window
manager, driven with the keyboard through xdotool, and read back through the
accessibility bus (AT-SPI), as a screen reader reads it.

Run by run_e2e.sh inside its own X server and D-Bus session:
    e2e.py PROGRAM SCENARIO
SCENARIO is "start" (a 1280 by 720 screen), "small-screen" (1024 by 768) or "print"
(a payer file printed: the W-3 to the test print server's PDF printer, and the employee
copies previewed, then printed from the preview)."""
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


def start_program(*arguments):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QNVR_DEVELOPMENT="1")
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.Popen([PROGRAM, *arguments], env=env)


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


PRINTED = "/var/spool/cups-pdf/QNVR_PDF"


def printed_since(before, marker):
    """A PDF the test printer wrote since before (a set of names) that holds marker."""
    if not os.path.isdir(PRINTED):
        return None
    for name in sorted(set(os.listdir(PRINTED)) - before):
        path = os.path.join(PRINTED, name)
        text = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True).stdout
        if marker in text:
            return path, text
    return None


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True).stdout
    for line in info.splitlines():
        if line.startswith("Pages:"):
            return int(line.split()[1])
    return 0


def press(window, caption):
    button = wait_for("the button '%s'" % caption, lambda: find(window, pyatspi.ROLE_PUSH_BUTTON, caption))
    button.queryAction().doAction(0)


def choose_printer(title):
    """In the output options step titled title: the printer as destination, then OK."""
    options = wait_for("the output options '%s'" % title, lambda: window_named(title))
    printer = wait_for("the Printer choice", lambda: find(options, pyatspi.ROLE_RADIO_BUTTON, "Printer"))
    printer.queryAction().doAction(0)
    wait_for("Printer chosen", lambda: printer.getState().contains(pyatspi.STATE_CHECKED))
    press(options, "OK")
    wait_for("the output options to close", lambda: window_named(title) is None)


def scenario_print():
    os.makedirs(DATA, exist_ok=True)
    payer = os.path.join(DATA, "ACME.W226")
    subprocess.run([os.environ["QNVR_E2E_PAYER_TOOL"], payer, "3"], check=True)
    # The saved printer setup: every job prints on the test print server's PDF printer.
    os.makedirs(os.path.dirname(SETTINGS), exist_ok=True)
    with open(SETTINGS, "w", encoding="utf-8") as settings:
        settings.write("[Printer]\nName=QNVR_PDF\nPaper=\nBin=\nOrientation=0\nCollate=0\nDuplex=0\nCopies=1\n")
    before = set(os.listdir(PRINTED)) if os.path.isdir(PRINTED) else set()

    program = start_program(payer)
    caption = CAPTION + " - ACME TOOLS"
    wait_for("the main window with the payer open", lambda: window_named(caption))
    wait_for("a visible window titled '%s'" % caption, lambda: caption in window_titles())

    # Forms, Form W-3; Print to the printer.
    xdotool("key", "--clearmodifiers", "alt+o")
    wait_for("the Forms menu", lambda: find(application(), pyatspi.ROLE_MENU_ITEM, "Form W-3"))
    xdotool("key", "3")
    w3_caption = "Form W-3 Transmittal of Wage and Tax Statements 2026"
    w3 = wait_for("the W-3 window", lambda: window_named(w3_caption))
    press(w3, "Print")
    choose_printer("Form W-3 Setup")
    path, text = wait_for("the printed W-3", lambda: printed_since(before, "ACME TOOLS"), timeout=60)
    if pdf_pages(path) != 1 or "6000.00" not in text:
        fail("the printed W-3 %s is not the payer's one page with its totals:\n%s" % (path, text))
    before.add(os.path.basename(path))
    press(w3, "Close")
    wait_for("the W-3 window to close", lambda: window_named(w3_caption) is None)

    # Forms, Form W-2: every employee shown, then Print All of the employee copies to the
    # preview, and from there to the printer.
    xdotool("key", "--clearmodifiers", "alt+o")
    wait_for("the Forms menu", lambda: find(application(), pyatspi.ROLE_MENU_ITEM, "Form W-2"))
    xdotool("key", "2")
    w2_caption = "Form W-2 Wage and Tax Statement 2026"
    w2 = wait_for("the W-2 window", lambda: window_named(w2_caption))
    for _ in range(2):
        xdotool("key", "--clearmodifiers", "alt+n")
        time.sleep(0.3)
    xdotool("key", "--clearmodifiers", "alt+a")
    form_type = wait_for("the form type window", lambda: window_named("Form W-2 Type"))
    employee = find(form_type, pyatspi.ROLE_RADIO_BUTTON, "Employee Copy")
    if not employee.getState().contains(pyatspi.STATE_CHECKED):
        fail("the form type window does not start on Employee Copy")
    xdotool("key", "Return")
    options = wait_for("the output options", lambda: window_named("Employee Form W-2 Setup"))
    press(options, "OK")
    wait_for("the preview", lambda: window_named("Employee Form W-2 Preview"))
    wait_for("the preview to be active", lambda: "Employee Form W-2 Preview" in window_titles())
    xdotool("key", "--clearmodifiers", "ctrl+p")  # the preview's Print
    choose_printer("Employee Form W-2 Setup")
    path, text = wait_for("the printed employee copies", lambda: printed_since(before, "ACME TOOLS"), timeout=60)
    if pdf_pages(path) != 3 or "***-**-1003" not in text or "123-45-1003" in text:
        fail("the printed employee copies %s are not three pages with masked SSNs:\n%s" % (path, text))
    xdotool("key", "Escape")
    wait_for("the preview to close", lambda: window_named("Employee Form W-2 Preview") is None)
    press(w2, "Close")
    wait_for("the W-2 window to close", lambda: window_named(w2_caption) is None)
    xdotool("key", "--clearmodifiers", "ctrl+x")
    code = finish(program)
    if code != 0:
        fail("the program ended with exit code %d" % code)


{"start": scenario_start, "small-screen": scenario_small_screen, "print": scenario_print}[SCENARIO]()
print("PASS: " + SCENARIO, flush=True)
