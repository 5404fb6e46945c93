"""Loads a MAT-file with SciPy and prints every variable in file order, one a line:
name, kind (numpy dtype or "text"), rows, cols, then the values column by column,
separated by tabs. Text variables print their characters as one value."""
import sys

import numpy as np
import scipy.io


def main(path):
    variables = scipy.io.loadmat(path, chars_as_strings=False)
    for name, value in variables.items():
        if name.startswith("__"):
            continue
        rows, cols = value.shape
        if value.dtype.kind == "U":
            cells = ["".join(value.flatten(order="F"))]
            kind = "text"
        else:
            kind = str(value.dtype)
            cells = [repr(float(v)) if value.dtype.kind == "f" else str(int(v))
                     for v in value.flatten(order="F")]
        print("\t".join([name, kind, str(rows), str(cols)] + cells))


if __name__ == "__main__":
    main(sys.argv[1])
