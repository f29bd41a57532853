#!/usr/bin/python3
"""The program's commands as a screen reader meets them, through AT-SPI.

  accessible_commands.py check PID NAME...    every NAME is a shown push button with a
                                              Chinese description and a Press action
  accessible_commands.py press PID NAME [ROLE]  presses the shown button NAME (in a
                                              window of role ROLE: dialog, alert, ...)
  accessible_commands.py frame PID TITLE      a window of the program is a frame named TITLE
  accessible_commands.py table PID NAME       the shown table NAME has named cells: prints
                                              its size and the names of its first two rows
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


def shown_nodes(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None or not shown(child) or child.getRoleName() == "document web":
            continue
        yield child
        yield from shown_nodes(child)


def find_shown(app, role, name, patience=20):
    deadline = time.time() + patience
    while time.time() < deadline:
        for node in shown_nodes(app):
            if node.getRoleName() == role and node.name == name:
                return node
        time.sleep(0.2)
    seen = sorted({(node.getRoleName(), node.name) for node in shown_nodes(app) if node.getRoleName() == role})
    sys.exit(f"no shown {role} named {name}; the shown ones are {seen}")


def frame(app, title):
    windows = [(app.getChildAtIndex(i).getRoleName(), app.getChildAtIndex(i).name) for i in range(app.childCount)]
    if ("frame", title) not in windows:
        sys.exit(f"no frame named {title}; the windows are {windows}")


def table(app, name):
    node = find_shown(app, "table", name)
    cells = node.queryTable()
    print(f"{cells.nRows} x {cells.nColumns}")
    if (cells.nRows, cells.nColumns) != (6, 7):
        sys.exit(f"table {name} is {cells.nRows} x {cells.nColumns}, not six weeks of seven days")
    named = 0
    for row in range(2):
        for column in range(cells.nColumns):
            cell = cells.getAccessibleAt(row, column)
            if cell.getRoleName() != "table cell":
                sys.exit(f"cell ({row}, {column}) is a {cell.getRoleName()}")
            print(f"{row} {column}\t{cell.name}")
            named += "年" in cell.name and "月" in cell.name and "星期" in cell.name and "农历" in cell.name
    if named < 7:
        sys.exit(f"only {named} cells of the first two weeks name their day")


def main():
    mode, pid = sys.argv[1], int(sys.argv[2])
    app = application(pid)
    if mode == "check":
        check(app, sys.argv[3:])
    elif mode == "press":
        press(app, sys.argv[3], sys.argv[4] if len(sys.argv) > 4 else None)
    elif mode == "frame":
        frame(app, sys.argv[3])
    elif mode == "table":
        table(app, sys.argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
