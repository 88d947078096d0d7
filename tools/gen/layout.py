"""The game's design layout, read from the one table that the game's build also reads."""

import os

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "DesignLayout.txt")


def read(path=TABLE):
    """{name: (kind, numbers)} of every row of the table."""
    rows = {}
    with open(path) as table:
        for line in table:
            words = line.split("#", 1)[0].split()
            if words:
                rows[words[1]] = (words[0], tuple(int(v) for v in words[2:]))
    return rows


_rows = read()


def box(name):
    """(x, y, width, height) of a box."""
    return _rows[name][1]


def point(name):
    return _rows[name][1][:2]


def field(name):
    """(x, y, pitch, positions) of a digit field."""
    return _rows[name][1]


def grid(name):
    """(x, y, pitch across, pitch down) of a grid of cells or slots."""
    return _rows[name][1]
