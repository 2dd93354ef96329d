"""Writes a zip archive whose bytes depend only on its members' contents:
members in the order given, each with the same time (SOURCE_DATE_EPOCH, in
UTC), fixed permissions and fixed compression.

Usage: release_zip.py OUT.zip EPOCH [--text] NAME=PATH ...
A member after --text is a text for Windows: CRLF line ends, and a UTF-8
byte order mark when it is not plain ASCII, so that Notepad on Windows 7
reads it as UTF-8."""

import sys
import time
import zipfile

BOM = "\ufeff".encode("utf-8")


def windows_text(data):
    data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    return data if data.isascii() else BOM + data


def member(name, epoch, executable):
    # Zip times have no zone and start in 1980.
    stamp = max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))
    info = zipfile.ZipInfo(name, date_time=stamp)
    info.create_system = 3  # Unix, so that the permissions below count
    info.external_attr = (0o100755 if executable else 0o100644) << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main(out, epoch, *entries):
    with zipfile.ZipFile(out, "w") as archive:
        text = False
        for entry in entries:
            if entry == "--text":
                text = True
                continue
            name, path = entry.split("=", 1)
            with open(path, "rb") as source:
                data = source.read()
            if text:
                data = windows_text(data)
            info = member(name, int(epoch), name.endswith(".exe"))
            archive.writestr(info, data, compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
