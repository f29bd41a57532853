#!/usr/bin/python3
"""The program's commands as a screen reader meets them, through AT-SPI.

  accessible_commands.py check PID NAME...    every NAME is a shown push button with a
                                              Chinese description and a Press action
  accessible_commands.py press PID NAME [ROLE]  presses the shown button NAME (in a
                                              window of role ROLE: dialog, alert, ...)
Exits 1 with the reason on standard error when something is missing.
"""
import sys
import time

import pyatspi


def application(pid):
    deadline = time.time() + 30
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        time.sleep(0.2)
    sys.exit(f"no application of process {pid} on the accessibility bus")


def shown(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def buttons(node, window_role=None):
    """The shown push buttons under node, each with the role of its window."""
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None or not shown(child):
            continue
        role = window_role or child.getRoleName()
        # The browser view's page is someone else's tree.
        if child.getRoleName() == "document web":
            continue
        if child.getRoleName().startswith("push button"):
            yield child, role
        yield from buttons(child, role)


def press_action(button):
    try:
        actions = button.queryAction()
    except NotImplementedError:
        return None, None
    for i in range(actions.nActions):
        if actions.getName(i).lower() in ("press", "click"):
            return actions, i
    return None, None


def is_chinese(text):
    return any("\u4e00" <= c <= "\u9fff" for c in text)


def check(app, names):
    found = {button.name: button for button, _ in buttons(app)}
    missing = [name for name in names if name not in found]
    if missing:
        sys.exit(f"no shown buttons {missing}; the shown ones are {sorted(found)}")
    for name in names:
        button = found[name]
        if not is_chinese(button.description):
            sys.exit(f"{name}: no Chinese description (tooltip): {button.description!r}")
        if press_action(button)[0] is None:
            sys.exit(f"{name}: no press action")
        print(f"{button.getRoleName()}\t{name}\t{button.description}")


def press(app, name, window_role):
    deadline = time.time() + 20
    while time.time() < deadline:
        for button, role in buttons(app):
            if button.name == name and (window_role is None or role == window_role):
                actions, index = press_action(button)
                if actions is None:
                    sys.exit(f"{name}: no press action")
                actions.doAction(index)
                return
        time.sleep(0.2)
    sys.exit(f"no shown button {name} in a window of role {window_role}")


def main():
    mode, pid = sys.argv[1], int(sys.argv[2])
    app = application(pid)
    if mode == "check":
        check(app, sys.argv[3:])
    elif mode == "press":
        press(app, sys.argv[3], sys.argv[4] if len(sys.argv) > 4 else None)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
