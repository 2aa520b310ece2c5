"""The desktop program as a person meets it: started under a real X server with a window
manager, driven with the keyboard through xdotool, and read back through the
accessibility bus (AT-SPI), as a screen reader reads it.

Run by run_e2e.sh inside its own X server and D-Bus session:
    e2e.py PROGRAM SCENARIO
SCENARIO is "start" (a 1280 by 720 screen), "small-screen" (1024 by 768), "year-end"
(a payer from File, New to its EFW2 file, all by keyboard) or "print" (a payer file
printed: the W-3 to the test print server's PDF printer, and the employee copies
previewed, then printed from the preview)."""
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


def start_program(*arguments, **extra):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QNVR_DEVELOPMENT="1", **extra)
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


W3_CAPTION = "Form W-3 Transmittal of Wage and Tax Statements 2026"
W2_CAPTION = "Form W-2 Wage and Tax Statement 2026"
EFW2_CAPTION = "EFW2 - Submitter Information and File Creation Version 2026.00"
EMPLOYEES = [  # SSN, first name, last name, street, Box 1, Box 2
    ("212456781", "Ann", "Lee", "1 Main St", "42000", "4200"),
    ("212456782", "Bo", "Park", "22 Lake Rd", "38500.50", "3100.25"),
    ("212456783", "Cy", "Diaz", "9 Elm Ave", "51000", "6020"),
]
# The EFW2 window's submitter fields in tab order, with what is typed into them ("" for
# nothing; a state field gets its letter pressed as often as given).
SUBMITTER = [
    ("EIN", "987654321"), ("UserID", "abcd1234"), ("ResubInd", ""), ("CompanyName", "payroll partners"),
    ("LocationAddr", ""), ("DeliveryAddr", ""), ("City", "new york"), ("StateCode", "n" * 8),
    ("ZipCode", ""), ("ZipCodeExt", ""), ("ForeignState", ""), ("ForeignZip", ""), ("CountryCode", ""),
    ("SubmitName", "payroll partners"), ("SubmitAddr1", ""), ("SubmitAddr2", "5 park ave"),
    ("SubmitCity", "new york"), ("SubmitState", "n" * 8), ("SubmitZip", "10001"), ("SubmitZipExt", ""),
    ("SubmitFSP", ""), ("SubmitFPC", ""), ("SubmitCC", ""), ("ContactName", "lee"),
    ("ContactPhone", "2125550199"), ("ContactExt", ""), ("ContactEmail", "lee@partners.example"),
    ("ContactFax", ""), ("PreparerCode", "a"),
]


def keys(*names):
    """Presses keys one after the other, as a person does (Enter moves to the next field)."""
    xdotool("key", "--clearmodifiers", "--delay", "60", *names)
    time.sleep(0.1)


def type_text(text):
    if text:
        xdotool("type", "--delay", "40", text)
        time.sleep(0.1)


def field(window, name):
    """An input field by its caption: its accessible name stays the caption whatever it holds."""
    return pyatspi.findDescendant(window, lambda a: a.name == name and a.getRole() in (
        pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_ENTRY))


def expect_text(window, name, expected):
    wait_for("'%s' to read '%s'" % (name, expected), lambda: text_of(field(window, name)) == expected, 5)


def focused_name(window):
    found = pyatspi.findDescendant(window, lambda a: a.getState().contains(pyatspi.STATE_FOCUSED))
    return found.name if found is not None else None


def expect_labels(window, *lines):
    def all_there():
        shown = labels_below(window)
        return all(line in shown for line in lines)
    wait_for("the lines %s (labels: %s)" % (lines, labels_below(window)), all_there, 10)


def scenario_year_end():
    program_dir = os.path.join(HOME, "program") + os.sep
    os.makedirs(program_dir)
    program = start_program(QNVR_PROGRAM_DIR=program_dir)
    main = wait_for("the main window", lambda: window_named(CAPTION))
    wait_for("a visible main window", lambda: CAPTION in window_titles())

    # File, New: the payer's name; the W-3 window opens first.
    keys("ctrl+n")
    wait_for("the new-file window", lambda: window_named("New Quenvora W-2 Company/Employer File"))
    type_text("Lakeside")
    keys("Return")
    w3 = wait_for("the W-3 window", lambda: window_named(W3_CAPTION))
    wait_for("the control number to have the focus", lambda: focused_name(w3) == "a Control number")
    keys("Return", "space")                 # b: 941
    keys(*["Return"] * 7, "space")          # b: none apply
    keys(*["Return"] * 7)                   # past the other kinds, to d and on to e
    for text in ("361234567", "Lakeside Bakery Inc", "", "12 Shore Rd", "Erie", "PA", "16501", "", "", "p",
                 "98765432", "", "Dana Fox"):
        type_text(text)
        keys("Return")
    expect_text(w3, "e Employer identification number (EIN)", "36-1234567")
    expect_text(w3, "15 State", "PA")
    expect_text(w3, "Employer's contact person", "Dana Fox")
    keys("Escape")

    # The W-2 window: each SSN typed at once, the first as the window opens, the others
    # right after Alt+E; Enter moves through the fields.
    w2 = wait_for("the W-2 window", lambda: window_named(W2_CAPTION))
    for k, (ssn, first, last, street, wages, tax) in enumerate(EMPLOYEES):
        if k:
            keys("alt+e")
            expect_text(w2, "e Last name", "")  # a new, empty employee
        wait_for("the SSN field to have the focus",
                 lambda: focused_name(w2) == "a Employee's social security number", 5)
        type_text(ssn)
        expect_text(w2, "a Employee's social security number", "%s-%s-%s" % (ssn[:3], ssn[3:5], ssn[5:]))
        keys("Return", "Return")            # past d, to e
        type_text(first)
        keys("Return", "Return")            # past the middle initial
        type_text(last)
        keys("Return", "Return")            # past the suffix
        for text in (street, "Erie", "p", "16501", wages, tax):
            type_text(text)
            keys("Return")
        expect_text(w2, "e Last name", last)
        expect_text(w2, "f ZIP code", "16501")
    keys("Escape")
    wait_for("the W-2 window to close", lambda: window_named(W2_CAPTION) is None)

    # The main window sums up the payer.
    expect_labels(main, "Forms W-2: 3", "$131,500.50", "$13,320.25",
                  "Next: enter or check Form W-3 (Forms, Form W-3) and close it.")

    # Both forms reviewed: the W-3 once more, every employee shown.
    keys("alt+o", "3")
    wait_for("the W-3 window again", lambda: window_named(W3_CAPTION))
    keys("Escape")
    wait_for("the W-3 window to close", lambda: window_named(W3_CAPTION) is None)
    keys("alt+o", "2")
    w2 = wait_for("the W-2 window again", lambda: window_named(W2_CAPTION))
    keys("alt+f", "alt+n", "alt+n", "Escape")
    wait_for("the W-2 window to close", lambda: window_named(W2_CAPTION) is None)
    expect_labels(main, "Next: create the EFW2 file (Tools, EFW2 Module, Process).")

    # Tools, EFW2 Module: the submitter typed, Process.
    keys("alt+t", "e")
    efw2 = wait_for("the EFW2 window", lambda: window_named(EFW2_CAPTION))
    expect_labels(efw2, "Ready: Process writes the EFW2 file of this payer.")
    for name, text in SUBMITTER:
        if name.endswith("State") or name == "StateCode":
            for letter in text:
                keys(letter)
        elif name == "ResubInd":
            pass
        else:
            type_text(text)
        keys("Return")
    keys("alt+p")
    done = wait_for("the process message", lambda: find(application(), pyatspi.ROLE_ALERT)
                    or window_named("Quenvora W-2 2026"))
    said = " ".join(labels_below(done))
    if "Process Completed for Client: Lakeside Bakery Inc" not in said:
        fail("unexpected message after Process: %s" % said)
    keys("Return")
    client_file = os.path.join(DATA, "EFW2", "Lakeside.txt")
    expect_labels(efw2, "Client file: " + client_file)
    keys("alt+c")
    wait_for("the EFW2 window to close", lambda: window_named(EFW2_CAPTION) is None)

    # File, Close, then File, Open by typing the path: the keys typed next reach the main
    # window (Alt+T opens the Tools menu).
    keys("ctrl+F4")
    wait_for("the file to close", lambda: CAPTION in window_titles())
    keys("ctrl+o")
    wait_for("the Open dialog", lambda: window_named("Open Quenvora W-2 File"))
    type_text(os.path.join(DATA, "Lakeside.W226"))
    keys("Return")
    wait_for("the payer file to open", lambda: CAPTION + " - Lakeside Bakery Inc" in window_titles())
    keys("alt+t")
    wait_for("the Tools menu", lambda: find(application(), pyatspi.ROLE_MENU_ITEM, "EFW2 Module")
             and find(application(), pyatspi.ROLE_MENU_ITEM, "EFW2 Module").getState().contains(pyatspi.STATE_SHOWING))
    keys("Escape")

    keys("ctrl+x")
    code = finish(program)
    if code != 0:
        fail("the program ended with exit code %d" % code)

    # The client file is what the command-line tool writes for the same payer file.
    cli_file = os.path.join(HOME, "qnvr-efw2.txt")
    cli = subprocess.run([os.environ["QNVR_CLI"], "efw2", "-o", cli_file, os.path.join(DATA, "Lakeside.W226")],
                         env=dict(os.environ, QNVR_PROGRAM_DIR=program_dir), capture_output=True, text=True)
    if cli.returncode != 0:
        fail("qnvr efw2 failed: %s" % cli.stderr)
    with open(client_file, "rb") as written, open(cli_file, "rb") as expected:
        ours, theirs = written.read(), expected.read()
    if len(ours) != 7 * 514:
        fail("the client file holds %d bytes, not the 7 records of 514" % len(ours))
    if ours != theirs:
        fail("the client file differs from what qnvr efw2 writes")


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


{"start": scenario_start, "small-screen": scenario_small_screen, "year-end": scenario_year_end,
 "print": scenario_print}[SCENARIO]()
print("PASS: " + SCENARIO, flush=True)
