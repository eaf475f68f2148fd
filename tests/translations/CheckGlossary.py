#!/usr/bin/python3
"""Keeps one Chinese word for each thing.

CheckGlossary.py GLOSSARY.md CATALOGUE.ts [FILE ...]

Reads the table "Words not to use" of the glossary and fails, naming file, line and the word to
use, where one of those words stands in a translation of the catalogue or in one of the files (the
Chinese guide and manual pages). In the catalogue's translations it fails as well on half-width
punctuation beside a Chinese character; everywhere on a space before a full-width comma or stop.
"""
import re
import sys
import xml.etree.ElementTree as ElementTree

HAN = r"[\u3400-\u9fff]"
# Half-width punctuation beside a Chinese character, a space between or not: "对讲机:", "(频段",
# "%1: 失败", "完成.".
HALF_WIDTH = re.compile(rf"{HAN} *[,;:!?()]|[,;:!?()] *{HAN}|{HAN}\.(?=\s|$)")
SPACE_BEFORE_FULL_WIDTH = re.compile(r"[ \t]+[，。；：]")


def cells(line):
    return [cell.strip() for cell in line.strip().strip("|").split("|")]


def unquoted(cell):
    """The words of a cell: `a`, `b` -> [a, b]."""
    return re.findall(r"`([^`]+)`", cell)


def words_not_to_use(glossary):
    """(word, use instead, [phrases in which it stands as another program shows it]); a row
    without a word (the one for half-width punctuation) gives phrases alone, with the word None."""
    lines = glossary.splitlines()
    try:
        start = next(i for i, line in enumerate(lines) if line.strip() == "## Words not to use")
    except StopIteration:
        sys.exit('the glossary has no section "## Words not to use"')
    rows = []
    in_table = False
    for line in lines[start + 1:]:
        if line.startswith("## "):
            break
        if not line.startswith("|"):
            if in_table:
                break
            continue
        in_table = True
        row = cells(line)
        if len(row) < 2 or set(row[0]) <= set("-: ") or row[0] == "not ours":
            continue
        stands_in = unquoted(row[2]) if len(row) > 2 else []
        for word in unquoted(row[0]) or [None]:
            rows.append((word, row[1], stands_in))
    if not rows:
        sys.exit('the glossary\'s table "Words not to use" is empty')
    return rows


def catalogue_lines(path):
    """(where, text) for every translation of the catalogue."""
    found = []
    for message in ElementTree.parse(path).getroot().iter("message"):
        source = message.findtext("source", default="")
        translation = message.find("translation")
        if translation is None:
            continue
        forms = [form.text or "" for form in translation.findall("numerusform")] or [translation.text or ""]
        for form in forms:
            for line in form.splitlines():
                found.append((f"{path}: translation of \"{source[:60]}\"", line))
    return found


def file_lines(path):
    with open(path, encoding="utf-8") as file:
        return [(f"{path}:{number}", line) for number, line in enumerate(file.read().splitlines(), 1)]


def main(arguments):
    if len(arguments) < 2:
        sys.exit(__doc__)
    with open(arguments[0], encoding="utf-8") as file:
        rules = words_not_to_use(file.read())
    translations = catalogue_lines(arguments[1])
    others = [line for path in arguments[2:] for line in file_lines(path)]

    faults = []
    for where, text in translations + others:
        for word, use, stands_in in rules:
            if word is None:
                continue
            rest = text
            for phrase in stands_in:
                rest = rest.replace(phrase, " ")
            if word in rest:
                faults.append(f"{where}: \"{word}\": use {use}\n    {text.strip()}")
        if SPACE_BEFORE_FULL_WIDTH.search(text):
            faults.append(f"{where}: a space before a full-width comma or stop\n    {text.strip()}")
    # Another program's own name keeps its own marks: Windows' 端口 (COM 和 LPT).
    shown_as_is = [phrase for _, _, stands_in in rules for phrase in stands_in]
    for where, text in translations:
        rest = text
        for phrase in shown_as_is:
            rest = rest.replace(phrase, " ")
        for match in HALF_WIDTH.finditer(rest):
            faults.append(f"{where}: half-width \"{match.group()}\" beside Chinese\n    {text.strip()}")

    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} word(s) or mark(s) that the glossary ({arguments[0]}) says are not ours")
        return 1
    print(f"{len(translations)} translated lines and {len(others)} lines of {len(arguments) - 2} file(s) "
          f"use the glossary's words ({sum(word is not None for word, _, _ in rules)} words not to use)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
