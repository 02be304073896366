"""What a clerk does at the keyboard, as steps over a running program: each
step sends real keys and waits for the window it leads to."""

import os

from desktop import (COMPANY_TITLE, DATE_RANGE_TITLE, MAIN_TITLE, MESSAGE_TITLE,
                     PAYMENT_TITLE, PAYMENTS_TITLE, PREVIEW_TITLE, SEARCH_TITLE,
                     SETTINGS_TITLE, E2eError, wait_until)


class Clerk:
    def __init__(self, program):
        self.program = program
        self.display = program.display
        self.store = program.store
        self.shots = 0

    def key(self, *keys):
        self.display.key(*keys)

    def type(self, text):
        self.display.type(text)

    def wait(self, title, other_than=None):
        return self.program.wait_focus(title, other_than)

    def screenshot(self, label):
        self.shots += 1
        path = os.path.join(self.program.workdir, "%02d-%s.png" % (self.shots, label))
        return self.display.screenshot(path)

    # --- the main window's commands

    def search(self, text, key="F5"):
        """F5 (or another way to the search dialog), Enter from the first
        choice (invoice number) to the text, the text, Enter: back on the
        main window."""
        self.key(key)
        self.wait(SEARCH_TITLE)
        self.key("Return")
        self.type(text)
        self.key("Return")
        return self.wait(MAIN_TITLE)

    def open_payments(self):
        self.key("F9")
        return self.wait(PAYMENTS_TITLE)

    def open_company_header(self):
        self.key("alt+n")
        self.key("Return")  # "Údaje o firmě", the menu's first item
        return self.wait(COMPANY_TITLE)

    def open_system_settings(self):
        self.key("alt+n")
        self.key("Down", "Return")  # "Systémová nastavení"
        return self.wait(SETTINGS_TITLE)

    def open_date_range(self):
        self.key("alt+s")
        self.key("Return")  # "Přehled faktur"
        return self.wait(DATE_RANGE_TITLE)

    def close_to_main(self):
        """Esc on the focused window; the main window takes the focus."""
        self.key("Escape")
        return self.wait(MAIN_TITLE)

    # --- the payment dialog

    def fill_payment(self, payment_type=None, statement=None, date=None, amount=None):
        """Types into the payment dialog's four fields (None keeps what the
        field proposes), Enter after each; the focus ends on "Storno"."""
        for text in (payment_type, statement, date, amount):
            if text is not None:
                self.type(text)
            self.key("Return")

    def new_payment(self, payment_type, statement, date, amount):
        """F2 in the payments window, the fields typed, "Zapiš"."""
        payments = self.program.wait_focus(PAYMENTS_TITLE)
        self.key("F2")
        self.wait(PAYMENT_TITLE)
        self.fill_payment(payment_type, statement, date, amount)
        self.save_payment(payments)

    def correct_payment(self, amount):
        """F4 in the payments window, a new amount, "Zapiš"."""
        payments = self.program.wait_focus(PAYMENTS_TITLE)
        self.key("F4")
        self.wait(PAYMENT_TITLE)
        self.fill_payment(amount=amount)
        self.save_payment(payments)

    def save_payment(self, payments_window):
        # After the amount the focus stands on "Storno"; "Zapiš" follows it.
        self.key("Tab", "space")
        self.wait(PAYMENTS_TITLE)
        if self.program.display.focused()[0] != payments_window:
            raise E2eError("another payments window took the focus")

    # --- message boxes

    def confirm_messages(self, count):
        """Enter on each of count message boxes, each a new window."""
        previous = None
        for _ in range(count):
            previous = self.wait(MESSAGE_TITLE, other_than=previous)
            self.key("Return")
        return self.wait(MAIN_TITLE)


def new_records(before, after):
    """Records of after that before did not have (by record number)."""
    known = {record["_recno"] for record in before}
    return [record for record in after if record["_recno"] not in known]


def by_recno(records, recno):
    for record in records:
        if record["_recno"] == recno:
            return record
    raise E2eError("no record %d" % recno)


def expect(read, check, what, timeout=None):
    """Polls read() until check(value) holds; a timeout reports the last
    value read. Returns that value."""
    last = [None]

    def attempt():
        last[0] = read()
        return check(last[0])

    try:
        if timeout is None:
            wait_until(attempt, what)
        else:
            wait_until(attempt, what, timeout)
    except E2eError as error:
        raise E2eError("%s; last seen: %r" % (error, last[0])) from None
    return last[0]
