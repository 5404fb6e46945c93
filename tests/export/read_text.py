"""Reads a tab-separated export with the csv module and prints each row's cells
separated by the unit separator (0x1F), one row a line, so a test can check cells."""
import csv
import sys


def main(path):
    with open(path, newline="", encoding="latin-1") as f:
        for row in csv.reader(f, delimiter="\t"):
            sys.stdout.write("\x1f".join(row) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
