"""The scenarios: each one program start on a fresh demo store (invoices
2400001 to 2500239, the last one shown at the start)."""

import os
import re
import subprocess

from clerk import by_recno, expect, new_records
from desktop import (LOGIN_TITLE, MAIN_TITLE, PAYMENTS_TITLE, PREVIEW_TITLE, SEARCH_TITLE, E2eError,
                     count_colour, highlight_bands, wait_until)

SCENARIOS = {}

# Scenarios that cannot pass yet, with the reason (the runner reports them
# as skipped).
SKIPPED = {}

# Scenarios that wait for the program's first window themselves.
STARTS_ITSELF = {"login_with_keyboard"}

LAST_INVOICE = "2500239"
RED = (255, 0, 0)  # overdue unpaid invoices in the invoice grid
SELECTION = (48, 140, 198)  # the highlighted row of a grid


def scenario(function):
    SCENARIOS[function.__name__] = function
    return function


def prepare(name, store):
    """Store changes a scenario needs before the program starts."""
    if name in ("first_f10_exports_once", "clerks_day"):
        # Ten invoices 2500230..2500239: a short walk with few message boxes.
        store.set_ini("SalExpFil", "250023")
    if name == "login_with_keyboard":
        store.set_ini("LoginForm", "1")
    if name == "clerks_day":
        # The system settings must write the key back.
        store.set_ini("HlavniTiskarna", None)


# --- helpers


def payments(store):
    return store.store_table("Vyp0001.dbf")


def invoice(store, number):
    for record in store.store_table("Fak0001.dbf"):
        if record["HLA_DO1"] == number:
            return record
    raise E2eError("no invoice %s" % number)


def expect_new_payment(store, before, **fields):
    """Waits until exactly one payment was added to the table and it has the
    given field values; returns it."""

    def check(added):
        return len(added) == 1 and all(added[0][k] == v for k, v in fields.items())

    added = expect(lambda: new_records(before, payments(store)), check,
                   "one new payment with %s" % fields)
    return added[0]


def expect_payment(store, recno, **fields):
    return expect(lambda: by_recno(payments(store), recno),
                  lambda r: all(r[k] == v for k, v in fields.items()),
                  "payment %d with %s" % (recno, fields))


def expect_invoice(store, number, **fields):
    return expect(lambda: invoice(store, number),
                  lambda r: all(r[k] == v for k, v in fields.items()),
                  "invoice %s with %s" % (number, fields))


def barrier(clerk):
    """A command through the menu (which the key preview does not see): it
    opens only when no dialog of an earlier key is open, so it proves that
    the earlier command ran and ended."""
    clerk.open_company_header()
    clerk.close_to_main()


def export_plan(program):
    """(invoices the export will write, message boxes it will show), from the
    program's own dry run over the same store."""
    result = subprocess.run(
        [program.executable, "--ini-dir", program.store.directory, "--export", "--dry-run"],
        env=program.display.env, stdin=subprocess.DEVNULL, capture_output=True, timeout=120,
        check=True)
    text = result.stdout.decode("utf-8")

    def count(label):
        match = re.search(r"^\s*" + re.escape(label) + r"\s+(\d+)\s*$", text, re.M)
        if not match:
            raise E2eError("dry run summary without '%s':\n%s" % (label, text))
        return int(match.group(1))

    exported = count("převedeno do Saldex 2")
    return exported, 2 + count("odběratel bez IČO nebo DIČ")


def run_export(clerk):
    """F10 through every message box; checks the receivables written."""
    exported, boxes = export_plan(clerk.program)
    store = clerk.store
    before = store.saldex_table("KPOHLED.DBF")
    counter = store.saldex_table("SYSTEMAK.DBF")[0]["POHLEDAVKY"]
    clerk.key("F10")
    clerk.confirm_messages(boxes)
    barrier(clerk)
    added = new_records(before, store.saldex_table("KPOHLED.DBF"))
    if len(added) != exported:
        raise E2eError("the export wrote %d receivables, its dry run planned %d" % (
            len(added), exported))
    numbers = [r["CISLO"] for r in added]
    if numbers != list(range(counter + 1, counter + 1 + exported)):
        raise E2eError("receivable numbers %s do not follow the counter %d" % (numbers, counter))
    documents = [r["CISDOKLADU"] for r in added]
    if len(set(documents)) != len(documents):
        raise E2eError("an invoice was exported twice: %s" % documents)
    return exported


def overview_oracle(program, date_from, date_to):
    """The text dump the batch overview writes for the range."""
    directory = os.path.join(program.workdir, "batch-%s-%s" % (date_from, date_to))
    os.makedirs(directory, exist_ok=True)
    env = dict(program.display.env, QT_QPA_PLATFORM="offscreen")
    subprocess.run([program.executable, "--ini-dir", program.store.directory, "--overview",
                    date_from, date_to], cwd=directory, env=env, stdin=subprocess.DEVNULL,
                   capture_output=True, timeout=120, check=True)
    with open(os.path.join(directory, "PrehledPrijemek.txt"), "rb") as f:
        return f.read()


def run_overview(clerk, typed_from, typed_to, date_from, date_to):
    """The overview with both dates typed, to the preview; the dump must be
    the batch overview's of date_from..date_to."""
    expected = overview_oracle(clerk.program, date_from, date_to)
    if expected.count(b"\n") < 2:
        raise E2eError("the demo store has no invoice from %s to %s" % (date_from, date_to))
    dump = os.path.join(clerk.program.workdir, "PrehledPrijemek.txt")
    if os.path.exists(dump):
        os.remove(dump)
    clerk.open_date_range()
    clerk.type(typed_from)
    clerk.key("Return")
    clerk.type(typed_to)
    clerk.key("Return")
    # The focus is on the check box; "Start" follows it.
    clerk.key("Tab", "space")
    clerk.wait(PREVIEW_TITLE)
    clerk.screenshot("preview")

    def read():
        if not os.path.exists(dump):
            return None
        with open(dump, "rb") as f:
            return f.read()

    expect(read, lambda text: text == expected,
           "the overview's text dump of %s to %s" % (date_from, date_to))
    clerk.close_to_main()


# --- a key runs its command once, also the first press after the start


@scenario
def first_f5_runs_search_once(clerk):
    clerk.key("F5")
    clerk.wait(SEARCH_TITLE)
    clerk.close_to_main()
    barrier(clerk)
    clerk.key("F5")
    clerk.wait(SEARCH_TITLE)
    clerk.close_to_main()
    barrier(clerk)


@scenario
def first_f9_opens_payments_once(clerk):
    clerk.open_payments()
    clerk.close_to_main()
    barrier(clerk)
    clerk.open_payments()
    clerk.close_to_main()
    barrier(clerk)


@scenario
def first_f10_exports_once(clerk):
    if run_export(clerk) == 0:
        raise E2eError("the store leaves nothing to export")
    # A second export finds every invoice in Saldex 2 already.
    run_export(clerk)


# --- search completion from the invoice shown after the start


@scenario
def search_completes_from_shown_invoice(clerk):
    store = clerk.store
    before = payments(store)
    # Through the menu: the completion, not the first key press, is tested.
    clerk.search("12", key="alt+h")
    clerk.open_payments()
    clerk.new_payment("HOT", None, None, None)
    expect_new_payment(store, before, VYP_DO1="2500212", VYP_TYP="HOT")


# --- dates typed as clerks type them


@scenario
def typed_date_in_payment(clerk):
    store = clerk.store
    clerk.open_payments()
    before = payments(store)
    clerk.new_payment("HOT", "VYP77", "15.03.2025", "100")
    first = expect_new_payment(store, before, VYP_DO1=LAST_INVOICE, VYP_TYP="HOT",
                               VYP_DO2="VYP77", VYP_DVS="2025-03-15", VYP_HOD=100.0)
    expect_invoice(store, LAST_INVOICE, HLA_BPL=100.0, HLA_BDP="2025-03-15", HLA_PLA=False)
    before = payments(store)
    # Digits only; the rest of the total 28221.
    clerk.new_payment(None, None, "01062025", "28121")
    expect_new_payment(store, before, VYP_DO1=LAST_INVOICE, VYP_TYP="HOT", VYP_DO2="VYP77",
                       VYP_DVS="2025-06-01", VYP_HOD=28121.0)
    expect_invoice(store, LAST_INVOICE, HLA_BPL=28221.0, HLA_BDP="2025-06-01", HLA_PLA=True)
    before = payments(store)
    # Day and month without leading zeros.
    clerk.new_payment(None, None, "1.7.2025", "0")
    expect_new_payment(store, before, VYP_DVS="2025-07-01", VYP_HOD=0.0)
    expect_invoice(store, LAST_INVOICE, HLA_BDP="2025-07-01", HLA_PLA=True)
    expect_payment(store, first["_recno"], VYP_DVS="2025-03-15", VYP_HOD=100.0)


@scenario
def typed_dates_in_overview(clerk):
    run_overview(clerk, "01.06.2025", "30062025", "01.06.2025", "30.06.2025")
    run_overview(clerk, "1.7.2025", "31.7.2025", "01.07.2025", "31.07.2025")


# --- the payments grid shows the cursor's record


class GridRows:
    """Which row of a grid window is highlighted, read off the screen: the
    first row's top and the row height are measured once."""

    def __init__(self, clerk, window):
        self.clerk = clerk
        self.window = window
        self.top = self.band()
        clerk.key("Down")
        second = expect(self.band, lambda y: y is not None and y != self.top,
                        "the highlight to move one row down")
        self.height = second - self.top
        clerk.key("Up")
        self.expect(0)

    def band(self):
        bands = highlight_bands(self.clerk.display.pixels(self.window), SELECTION)
        return bands[0][0] if bands else None

    def row(self):
        top = self.band()
        return None if top is None else (top - self.top) / self.height

    def expect(self, row, what=""):
        expect(self.row, lambda r: r == row, "row %d of the grid highlighted%s" % (row, what))


@scenario
def payments_grid_follows_cursor(clerk):
    store = clerk.store
    # Invoice 2500236 has two payments: 9627 (first row) and 14440.
    clerk.search("2500236", key="alt+h")
    window = clerk.open_payments()
    old = [r for r in payments(store) if r["VYP_DO1"] == "2500236"]
    first, second = old[0]["_recno"], old[1]["_recno"]
    grid = GridRows(clerk, window)
    before = payments(store)
    clerk.new_payment("HOT", "VYP99", None, "100")
    added = expect_new_payment(store, before, VYP_DO1="2500236", VYP_HOD=100.0)["_recno"]
    clerk.screenshot("payments-after-new")
    # The new payment is shown as the third row, highlighted.
    grid.expect(2, " (the new payment)")
    # F4 corrects the highlighted row.
    clerk.correct_payment("150")
    expect_payment(store, added, VYP_HOD=150.0)
    clerk.key("Up", "Up", "Up")
    grid.expect(0)
    clerk.key("Down")
    grid.expect(1)
    clerk.correct_payment("14000")
    expect_payment(store, second, VYP_HOD=14000.0)
    clerk.key("Down", "Down")
    grid.expect(2)
    clerk.correct_payment("175")
    expect_payment(store, added, VYP_HOD=175.0)
    expect_payment(store, second, VYP_HOD=14000.0)
    expect_payment(store, first, VYP_HOD=9627.0)
    expect_invoice(store, "2500236", HLA_BPL=9627.0 + 14000.0 + 175.0)


# --- Ctrl+Tab and Ctrl+Shift+Tab switch the main window's pages


@scenario
def ctrl_tab_switches_pages(clerk):
    window = clerk.program.wait_focus(MAIN_TITLE)

    def red():
        return count_colour(clerk.display.pixels(window), RED)

    def on_invoices():
        return expect(red, lambda n: n > 50, "the invoice page (red overdue invoices)")

    def elsewhere(what):
        return expect(red, lambda n: n == 0, what)

    on_invoices()
    clerk.key("ctrl+Tab")
    elsewhere("the receivables page after Ctrl+Tab")
    clerk.key("ctrl+shift+Tab")
    on_invoices()
    clerk.key("ctrl+shift+Tab")
    elsewhere("the address page after Ctrl+Shift+Tab")
    clerk.key("ctrl+Tab")
    on_invoices()


# --- one running copy


@scenario
def second_start_hands_over(clerk):
    program = clerk.program
    # A second start hands its arguments over and ends without a window.
    second = subprocess.run([program.executable, "--ini-dir", program.store.directory, "one"],
                            env=program.display.env, stdin=subprocess.DEVNULL,
                            capture_output=True, timeout=120)
    if second.returncode != 0:
        raise E2eError("the second start ended with status %d: %s" % (
            second.returncode, second.stderr.decode("utf-8", "replace")))
    if len(clerk.display.windows_named(MAIN_TITLE)) != 1:
        raise E2eError("a second main window was shown")
    clerk.wait(MAIN_TITLE)
    barrier(clerk)
    # A killed copy leaves its guard behind; the next start takes over.
    program.stop()
    wait_until(lambda: not clerk.display.windows_named(MAIN_TITLE), "the killed window to go")
    program.start()
    barrier(clerk)


# --- the sign-in dialog at the start


@scenario
def login_with_keyboard(clerk):
    """Name, Enter, password, Enter, Enter: the clerk is signed in and the
    main window opens (the demo store lists this user, password DEMO)."""
    import pwd

    clerk.wait(LOGIN_TITLE)
    clerk.type(pwd.getpwuid(os.geteuid()).pw_name)
    clerk.key("Return")
    clerk.type("DEMO")
    clerk.key("Return", "Return")
    clerk.wait(MAIN_TITLE)
    barrier(clerk)


# --- a clerk's day


@scenario
def clerks_day(clerk):
    store = clerk.store
    program = clerk.program
    clerk.screenshot("start")

    # The first F5: "12" completes from the invoice shown.
    clerk.search("12")
    # The first F9: a payment with a typed date, then corrected.
    clerk.open_payments()
    before = payments(store)
    clerk.new_payment("HOT", "VYP0312", "15.03.2025", "1000")
    paid = expect_new_payment(store, before, VYP_DO1="2500212", VYP_TYP="HOT",
                              VYP_DO2="VYP0312", VYP_DVS="2025-03-15", VYP_HOD=1000.0)
    clerk.screenshot("payments")
    clerk.correct_payment("1200")
    expect_payment(store, paid["_recno"], VYP_HOD=1200.0, VYP_DVS="2025-03-15")
    # The invoice sums all of its payments afresh.
    own = [r for r in payments(store) if r["VYP_DO1"] == "2500212"]
    expect_invoice(store, "2500212", HLA_BPL=sum(r["VYP_HOD"] for r in own),
                   HLA_BDP=max(r["VYP_DVS"] for r in own))
    clerk.close_to_main()
    # F9 again: the same invoice, nothing changed by looking.
    clerk.open_payments()
    clerk.close_to_main()

    # The export of the invoices 2500230..2500239.
    run_export(clerk)

    # The overview with typed dates to the preview.
    run_overview(clerk, "01.06.2025", "30062025", "01.06.2025", "30.06.2025")

    # The company header: rows 1 and 2 typed, Enter through the rest.
    clerk.open_company_header()
    # The first row has the focus with its text selected: typing replaces it.
    clerk.type("Testovaci firma s.r.o.")
    clerk.key("Return")
    clerk.type("Pobocka Karlin")
    clerk.key(*(["Return"] * 9))  # rows 3 to 10, then "Storno"
    clerk.key("Tab", "space")  # "Zapiš"
    clerk.wait(MAIN_TITLE)
    expect(lambda: store.store_table("Vla0000.dbf")[0],
           lambda r: r["VLA_FIR"] == "Testovaci firma s.r.o." and r["VLA_NAC"] == "Pobocka Karlin",
           "the company header saved")

    # The system settings: the last document number, then "Ulož".
    clerk.open_system_settings()
    clerk.screenshot("settings")
    clerk.key("ctrl+Tab")  # page "Číslování dokladů"
    clerk.key("Tab")
    clerk.type("2500099")
    clerk.key("Tab", "Tab", "space")  # past "Storno" to "Ulož"
    clerk.wait(MAIN_TITLE)
    expect(lambda: store.store_table("Cis0001.dbf")[0]["CIS_FAL"], lambda v: v == "2500099",
           "the last document number saved")
    expect(store.ini_values, lambda v: "HlavniTiskarna" in v and v.get("ParagonovaTiskarna") == "1",
           "the printer choice written to Korvana.ini")

    # F5 again, a full number, and a payment proposing the remembered values.
    clerk.search("2500100")
    clerk.open_payments()
    before = payments(store)
    clerk.new_payment(None, None, None, "1")
    expect_new_payment(store, before, VYP_DO1="2500100", VYP_TYP="HOT", VYP_DO2="VYP0312",
                       VYP_DVS="2025-03-15", VYP_HOD=1.0)
    clerk.close_to_main()

    # "Konec" ends the program.
    clerk.key("alt+k")
    status = program.wait_exit()
    if status != 0:
        raise E2eError("the program ended with status %d" % status)
    wait_until(lambda: not clerk.display.windows_named(MAIN_TITLE), "the main window to go")
