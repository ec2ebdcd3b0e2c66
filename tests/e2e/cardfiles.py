"""Card files as the tests make and read them, written from the layout of the
card file alone (not through the program's code), so that the bytes the
program writes are compared with an independent reading.

A card is a list of 19 texts: fields 1 to 19 (cells 0 to 18); cell 17 is the
Memo (lines joined by CR LF), cell 18 the Card ID.
"""
import random

BOM = b"\xef\xbb\xbf"
MAIN_HEADER = ("IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS "
               "ONLY FOR THE USE OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!")
FORMAT_TAG = "KQa0b5c1d0e2f1g0h0i1"
START_MARK = "\u00a4#<&%\u00a4#<&%KQ=="
END_MARK = "\u00a4#>&%\u00a4#>&%KQ=="
MEMO, CARD_ID = 17, 18


def empty_card(card_id=""):
    return [""] * 18 + [card_id]


def lines_of(cards, header=MAIN_HEADER, tag=FORMAT_TAG, count=None):
    """The lines of a card file (without line ends)."""
    yield header
    yield tag
    yield str(len(cards)) if count is None else count
    for k, card in enumerate(cards, start=1):
        yield from card[:17]
        yield f"{START_MARK}{k}"
        yield from card[MEMO].split("\r\n")
        yield f"{END_MARK}{k}"
        yield card[CARD_ID]


def encode(cards, header=MAIN_HEADER, tag=FORMAT_TAG, count=None, bom=True):
    """The bytes of a card file of these cards, as the program writes it."""
    body = "".join(line + "\r\n" for line in lines_of(cards, header, tag, count))
    return (BOM if bom else b"") + body.encode("utf-8")


def write(path, cards, **how):
    data = encode(cards, **how)
    with open(path, "wb") as f:
        f.write(data)
    return data


class CardFileError(ValueError):
    pass


def decode(data):
    """The cards of a card file's bytes; raises CardFileError for a file
    that does not keep the layout."""
    if not data.startswith(BOM):
        raise CardFileError("no byte-order mark")
    text = data[len(BOM):].decode("utf-8")
    if not text.endswith("\r\n"):
        raise CardFileError("the last line has no CR LF")
    lines = text[:-2].split("\r\n")
    if len(lines) < 3 or "f1g0h0i1" not in lines[1]:
        raise CardFileError("no format tag on line 2")
    count = int(lines[2])
    cards, i = [], 3
    for k in range(1, count + 1):
        card = lines[i:i + 17]
        i += 17
        if lines[i] != f"{START_MARK}{k}":
            raise CardFileError(f"card {k}: start marker is {lines[i]!r}")
        i += 1
        end = lines.index(f"{END_MARK}{k}", i)
        card.append("\r\n".join(lines[i:end]))
        card.append(lines[end + 1])
        i = end + 2
        cards.append(card)
    if i != len(lines):
        raise CardFileError(f"{len(lines) - i} lines after the last card")
    return cards


# -- generated cards --------------------------------------------------------

_WORDS = ("kirja päivä työ sää yö lähde tutkimus muistiinpano kokous pöytäkirja yhteenveto järvi metsä "
          "äiti mökki sähköposti kirjasto arkisto väitöskirja historia kysymys vastaus tärkeä öljy ystävä "
          "the of and to in report meeting notes chapter library history research summary draft review "
          "letter source archive reference café naïve résumé façade déjà rôle Noël über").split()
_NAMES = "Müller Åström Björk Lindén Virtanen Mäkinen Smith Brontë Dvořák Zoë José Søren Öhman".split()


def generate(n, seed=1):
    """n cards of varied text (letters beyond ASCII, empty fields, Memos of
    0 to 20 lines) and distinct Card IDs, the same for the same n and seed."""
    rnd = random.Random(seed)

    def words(lo, hi):
        return " ".join(rnd.choices(_WORDS, k=rnd.randint(lo, hi)))

    cards = []
    for i in range(n):
        c = empty_card()
        c[0] = f"{rnd.choice(_NAMES)} {words(1, 3)}"
        c[1] = words(0, 2)
        c[2] = rnd.choice(["", "I", "II", "III", "A", "B"])
        c[3] = f"{rnd.randint(1, 28):02d}" if rnd.random() < 0.7 else ""
        c[4] = f"{rnd.randint(1, 12):02d}" if rnd.random() < 0.7 else ""
        c[5] = str(rnd.randint(1850, 2024))
        c[6] = str(rnd.randint(1, 900)) if rnd.random() < 0.6 else ""
        c[7] = words(1, 2)
        c[8] = words(0, 4)
        c[9] = f"https://example.org/{i}" if rnd.random() < 0.1 else ""
        c[10] = f"K{rnd.randint(0, 999):03d}"
        c[11] = rnd.choice(["", "x", "y", "z"])
        c[12] = ""
        c[13] = str(rnd.randint(1990, 2024)) if rnd.random() < 0.3 else ""
        c[14] = f"{rnd.randint(1, 12):02d}" if c[13] else ""
        c[15] = f"{rnd.randint(1, 28):02d}" if c[13] else ""
        c[16] = f"{rnd.randint(0, 23):02d}:{rnd.randint(0, 59):02d}" if c[13] else ""
        memo = rnd.choices(_WORDS, k=rnd.randint(0, 160))
        c[MEMO] = "\r\n".join(" ".join(memo[j:j + 8]) for j in range(0, len(memo), 8))
        # Unique up to 60000 cards (ms and s together count to 59999).
        c[CARD_ID] = f"y{2000 + i % 25}m{1 + i % 12}d{1 + i % 28}h{i % 24}mn{i % 60}s{i // 1000 % 60}ms{i % 1000}"
        cards.append(c)
    return cards


def numbered(n):
    """n small cards whose Title1 is "Card k" (k from 1), to see which card
    a window shows."""
    cards = []
    for k in range(1, n + 1):
        c = empty_card(f"id{k}")
        c[0] = f"Card {k}"
        c[7] = f"topic {k}"
        c[MEMO] = f"memo of card {k}\r\nsecond line {k}"
        cards.append(c)
    return cards
