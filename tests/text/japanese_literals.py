#!/usr/bin/python3
"""Fails when a source file under the given folders holds a Japanese string
literal outside its subsystem's texts or captions header. Comments may hold
Japanese (they name the buttons they describe); only literals count. In a
shell script a Japanese message is the first word of `say`, which prints it or
the English one after it.

    japanese_literals.py SOURCE_DIR FOLDER...
"""
import pathlib
import re
import sys

# Kana, kanji and full-width letters and digits; punctuation alone (the command
# line tells sentence ends by it) is no text.
JAPANESE = re.compile(r"[\u3040-\u30ff\u3400-\u9fff\uff10-\uff19\uff21-\uff3a\uff41-\uff5a]")
TEXT_HEADER = re.compile(r"(texts|captions)\.h$")


def literals(code):
    """Yields (line, literal) for every string or character literal in C++
    code, skipping comments and raw strings' delimiters."""
    i, line, n = 0, 1, len(code)
    while i < n:
        c = code[i]
        if code.startswith("//", i):
            end = code.find("\n", i)
            i = n if end < 0 else end
        elif code.startswith("/*", i):
            end = code.find("*/", i + 2)
            end = n if end < 0 else end + 2
            line += code.count("\n", i, end)
            i = end
        elif c == "R" and code.startswith('R"', i) and not (i and (code[i - 1].isalnum() or code[i - 1] == "_")):
            open_paren = code.find("(", i + 2)
            delim = ")" + code[i + 2:open_paren] + '"'
            end = code.find(delim, open_paren)
            end = n if end < 0 else end + len(delim)
            yield line, code[i:end]
            line += code.count("\n", i, end)
            i = end
        elif c in "\"'":
            j = i + 1
            while j < n and code[j] != c and code[j] != "\n":
                j += 2 if code[j] == "\\" else 1
            yield line, code[i:j + 1]
            i = j + 1
        else:
            if c == "\n":
                line += 1
            i += 1


def main():
    root = pathlib.Path(sys.argv[1])
    found = []
    for folder in sys.argv[2:]:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix == ".sh":
                for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                    bare = line.strip()
                    if JAPANESE.search(bare) and not bare.startswith(("#", 'say "')):
                        found.append(f"{path.relative_to(root)}:{number}: {bare}")
                continue
            if path.suffix not in (".h", ".cpp") or TEXT_HEADER.search(path.name):
                continue
            code = path.read_text(encoding="utf-8")
            for line, literal in literals(code):
                if JAPANESE.search(literal):
                    found.append(f"{path.relative_to(root)}:{line}: {literal}")
    for f in found:
        print(f)
    if found:
        print(f"{len(found)} Japanese literals outside the texts and captions headers")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
