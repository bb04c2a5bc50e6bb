#!/usr/bin/env python3
"""Packs the default data into the ZIP archive the executable carries.

Reproducible on purpose: fixed entry times, entries in the order given, every
entry deflated, made on host system 0 with only the archive attribute and no
extra field, so the same sources always give the same archive bytes.

usage: mkzip.py OUTPUT.zip FILE...
"""
import os
import sys
import zipfile

FIXED_TIME = (2026, 1, 1, 12, 0, 0)
FILE_ATTRIBUTE_ARCHIVE = 0x20


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    out, files = argv[1], argv[2:]
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w") as archive:
        for path in files:
            info = zipfile.ZipInfo(os.path.basename(path), date_time=FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0
            info.external_attr = FILE_ATTRIBUTE_ARCHIVE
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
