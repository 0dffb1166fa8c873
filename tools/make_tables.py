#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates data/code.dat and data/sort.dat, the character tables shipped
beside the orgalink program.

Run from anywhere: python3 tools/make_tables.py [output folder, default data/]
The generated files are committed; the build only copies them.

code.dat (256 bytes)
--------------------
Bytes 0..127 are the outgoing table (entry i: the organizer's code for the
computer's code 0x7F + i), bytes 128..255 the incoming table (entry i: the
computer's code for the organizer's code 0x7F + i). Codes 0x00..0x7E and 0xFF
are plain ASCII on both sides and never translated.

The computer side is Latin-1 (ISO 8859-1). The organizer's codes 0x7F..0xBF
(65 codes) are assigned, in this order, to
  - the upper-case accented letters of the Western European languages
    (A grave .. U diaeresis, with AE, C cedilla, N tilde, O stroke; 27),
  - their lower-case forms (27),
  - sharp s,
  - ten symbols: pound, yen, section, degree, cent, inverted exclamation and
    question marks, the two guillemets and micro.
y diaeresis is left out on purpose: its Latin-1 code 0xFF is the record
terminator, so no translation may ever produce it.
Only printable Latin-1 characters (0xA0..0xFF) are used, so every incoming
translation yields a character that any Latin-1 display can show.

The two tables are inverses wherever a mapping exists: incoming[o] = c exactly
when outgoing[c] = o. Computer characters the organizer lacks (the Icelandic
letters, Y acute, superscripts, ordinal indicators, the Windows-1252 extras in
0x80..0x9F, ...) go out as their closest ASCII character: the base letter, a
digit for a superscript, a straight quote for a curly one, else a space. The
organizer's codes 0xC0..0xFE are unused and come in as spaces. (On the way out
the store turns 0x01..0x1F and 0xC0..0xFE into spaces anyway, so no entry
needs to produce them.)

sort.dat (512 bytes)
--------------------
Bytes 0..255 are the sort weights of the byte values as they stand after the
incoming translation (computer codes); the organizer's Telephone order is
checked with them. The order they give is:
  control codes (weight 0) < space and no-break space < ASCII punctuation in
  ASCII order < the other symbols (one shared weight) < digits 0..9 (the
  superscript digits with them) < letters A..Z,
case-insensitive, with every accented letter weighing the same as its base
letter (AE as A, O stroke as O, sharp s as S, thorn as T, eth as D).
Bytes 256..511 are a second table that the program loads but does not use; it
holds a copy of the weights.
"""

import pathlib
import sys
import unicodedata

FIRST_CODE = 0x7F
TABLE_SIZE = 128
SPACE = 0x20

UPPER = "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÑÒÓÔÕÖØÙÚÛÜ"
LOWER = "àáâãäåæçèéêëìíîïñòóôõöøùúûü"
EXTRA_LETTERS = "ß"
SYMBOLS = "£¥§°¢¡¿«»µ"
ORGANIZER_CHARACTERS = UPPER + LOWER + EXTRA_LETTERS + SYMBOLS

# Base letters that Unicode decomposition does not give.
SPECIAL_BASES = {
    "Æ": "A", "æ": "a", "Ø": "O", "ø": "o", "ß": "s", "Ð": "D", "ð": "d",
    "Þ": "T", "þ": "t", "ª": "a", "º": "o", "Œ": "O", "œ": "o", "ƒ": "f",
    "¹": "1", "²": "2", "³": "3", "×": "x",
    "‘": "'", "’": "'", "‚": "'", "“": '"', "”": '"', "„": '"',
    "–": "-", "—": "-", "…": ".", "•": "*", "‹": "<", "›": ">", "˜": "~", "ˆ": "^",
}


def computer_char(code):
    """The character of a computer code: Windows-1252 for 0x80..0x9F where it
    has one (text pasted from Windows programs), Latin-1 elsewhere."""
    if 0x80 <= code <= 0x9F:
        try:
            return bytes([code]).decode("cp1252")
        except UnicodeDecodeError:
            return None
    return bytes([code]).decode("latin-1")


def ascii_fallback(char):
    """Closest ASCII character of a character the organizer lacks."""
    if char is None:
        return SPACE
    if char in SPECIAL_BASES:
        return ord(SPECIAL_BASES[char])
    base = unicodedata.normalize("NFD", char)[0]
    if base.isascii() and (base.isalnum()):
        return ord(base)
    return SPACE


def code_tables():
    assert len(ORGANIZER_CHARACTERS) == 0xBF - FIRST_CODE + 1
    organizer_of = {}
    incoming = [SPACE] * TABLE_SIZE
    for index, char in enumerate(ORGANIZER_CHARACTERS):
        computer = char.encode("latin-1")[0]
        assert 0xA0 <= computer <= 0xFE
        incoming[index] = computer
        organizer_of[computer] = FIRST_CODE + index
    outgoing = []
    for code in range(FIRST_CODE, FIRST_CODE + TABLE_SIZE):
        if code in organizer_of:
            outgoing.append(organizer_of[code])
        elif code == 0x7F:
            outgoing.append(SPACE)  # DEL is a control code
        else:
            outgoing.append(ascii_fallback(computer_char(code)))
    for index, computer in enumerate(incoming[: len(ORGANIZER_CHARACTERS)]):
        assert outgoing[computer - FIRST_CODE] == FIRST_CODE + index
    return outgoing, incoming


def base_letter(char):
    if not char.isalpha():
        return None
    if char in SPECIAL_BASES and SPECIAL_BASES[char].isalpha():
        return SPECIAL_BASES[char].upper()
    base = unicodedata.normalize("NFD", char)[0].upper()
    return base if base.isascii() and base.isalpha() else None


def base_digit(char):
    if char in SPECIAL_BASES and SPECIAL_BASES[char].isdigit():
        return SPECIAL_BASES[char]
    return char if char.isascii() and char.isdigit() else None


CONTROL_WEIGHT = 0
SPACE_WEIGHT = 1
FIRST_PUNCTUATION_WEIGHT = 2
PUNCTUATION = [chr(c) for c in range(0x21, 0x7F) if not chr(c).isalnum()]
SYMBOL_WEIGHT = FIRST_PUNCTUATION_WEIGHT + len(PUNCTUATION)
FIRST_DIGIT_WEIGHT = SYMBOL_WEIGHT + 1
FIRST_LETTER_WEIGHT = FIRST_DIGIT_WEIGHT + 10


def sort_weight(code):
    char = bytes([code]).decode("latin-1")
    if code in (0x20, 0xA0):
        return SPACE_WEIGHT
    if code < 0x20 or 0x7F <= code <= 0x9F:
        return CONTROL_WEIGHT
    digit = base_digit(char)
    if digit is not None:
        return FIRST_DIGIT_WEIGHT + int(digit)
    letter = base_letter(char)
    if letter is not None:
        return FIRST_LETTER_WEIGHT + ord(letter) - ord("A")
    if char in PUNCTUATION:
        return FIRST_PUNCTUATION_WEIGHT + PUNCTUATION.index(char)
    return SYMBOL_WEIGHT


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "data"
    out.mkdir(parents=True, exist_ok=True)
    outgoing, incoming = code_tables()
    (out / "code.dat").write_bytes(bytes(outgoing + incoming))
    weights = [sort_weight(code) for code in range(256)]
    (out / "sort.dat").write_bytes(bytes(weights + weights))


if __name__ == "__main__":
    main()
