#!/usr/bin/env python3
"""`cardomo-cli export --format csv` piped into python's csv reader gives
back every card, field for field, with the 19 field names as its header."""

import csv
import io
import random
import subprocess
import sys
import tempfile
from pathlib import Path

NAMES = ["Title1", "Title2", "Title3", "Day", "Month", "Year", "Page", "Topic", "Keywords",
         "File link", "Code1", "Code2", "Code3", "aYear", "aMonth", "aDay", "aHour:min", "Memo",
         "Card ID"]
HEADER = ("IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS "
          "ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!")


def card_file(cards):
    """The card file layout of cards, as bytes."""
    lines = [HEADER, "KQa0b5c1d0e2f1g0h0i1", str(len(cards))]
    for k, c in enumerate(cards, 1):
        lines += c[:17]
        lines.append(f"\u00a4#<&%\u00a4#<&%KQ=={k}")
        lines.append(c[17])
        lines.append(f"\u00a4#>&%\u00a4#>&%KQ=={k}")
        lines.append(c[18])
    return b"\xef\xbb\xbf" + "".join(line + "\r\n" for line in lines).encode("utf-8")


def made_cards():
    cards = [
        ["Smith, John", 'He said "hi"', "", "07", "03", "2021", "p. 12", "Birds", "owl; hawk", "",
         "A-1", "", "", "2021", "03", "07", "09:05", 'First line\r\nsecond, with "quotes"',
         "y2021m03d07h09mn05s02ms045"],
        ["Ann \U0001F600 \u00d6", "", "", "", "", "", "", "Bees", "", "", "tab\there", "back\\slash",
         "", "", "", "", "", "", "y2022m01d01h00mn00s00ms001"],
        [""] * 19,
        [" lead", "trail ", '"', '""', ",", ",,", "", "", "", "/home/mary/a,b.odt", "", "", "", "", "",
         "", "", "x\r\n", "id"],
        ["", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "\r\n\r\nthree\r\n", ""],
    ]
    pool = "abc XYZ,\"';\t\\\u00e4\u00f6\u20ac\u4e2d\U0001F600\U00010348"
    rng = random.Random(21)
    for _ in range(200):
        card = ["".join(rng.choice(pool) for _ in range(rng.randrange(0, 12))) for _ in range(19)]
        card[17] = "\r\n".join("".join(rng.choice(pool) for _ in range(rng.randrange(0, 8)))
                               for _ in range(rng.randrange(1, 4)))
        cards.append(card)
    return cards


def main():
    program = sys.argv[1]
    cards = made_cards()
    with tempfile.TemporaryDirectory() as folder:
        path = Path(folder) / "cards.kqk"
        path.write_bytes(card_file(cards))
        run = subprocess.run([program, "export", str(path), "--format", "csv"], capture_output=True, check=False)
    if run.returncode != 0 or run.stderr:
        print(f"export failed: {run.returncode} {run.stderr!r}")
        return 1
    rows = list(csv.reader(io.StringIO(run.stdout.decode("utf-8"), newline="")))
    if rows[0] != NAMES:
        print(f"header: {rows[0]!r}")
        return 1
    if len(rows) - 1 != len(cards):
        print(f"{len(rows) - 1} rows for {len(cards)} cards")
        return 1
    bad = 0
    for k, (row, card) in enumerate(zip(rows[1:], cards), 1):
        if row != card:
            print(f"card {k}: {row!r} != {card!r}")
            bad += 1
    if bad:
        return 1
    print(f"{len(cards)} cards read back")
    return 0


if __name__ == "__main__":
    sys.exit(main())
