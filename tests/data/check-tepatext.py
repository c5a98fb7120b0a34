#!/usr/bin/env python3
"""Checks the interface texts file data/tepatext.txt.

- the file decodes as Windows-1252 (every byte is a defined character);
- lines end with CR LF, no bare CR or LF;
- every line starts with a 3-digit prefix equal to its 0-based line number;
- no line is empty after the prefix up to the last required line (the loader stops
  stripping prefixes at the first empty line).

Prints the lines with the longest texts. Exit code 0 when all checks pass, 1 otherwise.

Usage: check-tepatext.py [PATH] [--last N] [--top K]
"""

import argparse
import re
import sys
from pathlib import Path

PREFIX_LENGTH = 3
# Highest line the program addresses, including the messages added after the original set.
DEFAULT_LAST_LINE = 289
# The loader strips prefixes only up to this line number.
LAST_STRIPPED_LINE = 300


def default_path() -> Path:
    return Path(__file__).resolve().parents[2] / "data" / "tepatext.txt"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("path", nargs="?", type=Path, default=default_path())
    parser.add_argument("--last", type=int, default=DEFAULT_LAST_LINE,
                        help="last line that must be present and non-empty")
    parser.add_argument("--top", type=int, default=10, help="how many longest texts to show")
    args = parser.parse_args()

    problems = []
    raw = args.path.read_bytes()

    try:
        text = raw.decode("cp1252")  # strict: undefined bytes (0x81, 0x8D, ...) raise
    except UnicodeDecodeError as error:
        print(f"{args.path}: not valid Windows-1252: byte 0x{raw[error.start]:02X} "
              f"at offset {error.start}")
        return 1

    # Line ends: every LF must be preceded by CR, every CR followed by LF.
    for offset, byte in enumerate(raw):
        if byte == 0x0A and (offset == 0 or raw[offset - 1] != 0x0D):
            problems.append(f"offset {offset}: LF without CR")
        elif byte == 0x0D and (offset + 1 >= len(raw) or raw[offset + 1] != 0x0A):
            problems.append(f"offset {offset}: CR without LF")

    # Split on any line end, so that a wrong line end is reported once and does not shift
    # the numbering of the lines after it.
    lines = re.split(r"\r\n|\r|\n", text)
    if lines and lines[-1] == "":
        lines.pop()  # the final line end ends the last line

    if len(lines) < args.last + 1:
        problems.append(f"the file has {len(lines)} lines; texts 0 to {args.last} are required")
    if len(lines) > LAST_STRIPPED_LINE + 1:
        problems.append(f"the file has {len(lines)} lines; prefixes are stripped only up to "
                        f"line {LAST_STRIPPED_LINE}")

    texts = []
    for number, line in enumerate(lines):
        expected = f"{number:0{PREFIX_LENGTH}d}"
        prefix, body = line[:PREFIX_LENGTH], line[PREFIX_LENGTH:]
        if prefix != expected:
            problems.append(f"line {number}: prefix {prefix!r}, expected {expected!r}")
        if number <= args.last and body == "":
            problems.append(f"line {number}: empty after the prefix")
        texts.append((number, body))

    for problem in problems:
        print(f"{args.path}: {problem}")

    used = sum(1 for _, body in texts if body.strip() not in ("-", ""))
    print(f"{args.path}: {len(lines)} lines, {used} with text, "
          f"{len(lines) - used} fillers, {len(raw)} bytes")
    print("Longest texts (characters):")
    for number, body in sorted(texts, key=lambda item: (-len(item[1]), item[0]))[: args.top]:
        print(f"  {number:03d} {len(body):4d}  {body}")

    if problems:
        print(f"FAILED: {len(problems)} problem(s)")
        return 1
    print("OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
