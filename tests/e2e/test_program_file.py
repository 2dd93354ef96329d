"""The shipped program file: it starts with the system's core DLLs alone,
imports only functions that Windows 7 has, and carries neither debug
information nor a symbol table."""

import subprocess
from pathlib import Path

from conftest import EXE

# kernel32, user32, gdi32 and the C runtime; the common dialogs and the shell
# are loaded when first used.
START_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}


def objdump(*options):
    return subprocess.run(["x86_64-w64-mingw32-objdump", *options, str(EXE)], check=True,
                          capture_output=True, text=True).stdout


WINDOWS_7_IMPORTS = Path(__file__).with_name("windows7_imports.txt")


def imports():
    """The import table as {(dll, function)}, DLL names in lower case; an
    import by ordinal counts by its ordinal's text."""
    found = set()
    dll = None
    for line in objdump("-p").splitlines():
        if "DLL Name:" in line:
            dll = line.split(":", 1)[1].strip().lower()
        elif not line.strip():
            dll = None
        elif dll and line.startswith("\t") and line[1:2] in "0123456789abcdef":
            found.add((dll, line.split()[-1]))
    return found


def test_imports_only_the_core_dlls():
    imported = {dll for dll, _ in imports()}
    assert imported <= START_DLLS, f"imports at start: {sorted(imported)}"


def test_imports_only_functions_that_windows_7_has():
    known = {tuple(line.split()) for line in WINDOWS_7_IMPORTS.read_text().splitlines()
             if line.strip() and not line.startswith("#")}
    found = imports()
    assert found, "no imports read from the program"
    unknown = sorted(found - known)
    assert not unknown, f"imports not known to be in Windows 7 (see {WINDOWS_7_IMPORTS.name}): {unknown}"


def test_carries_no_debug_information_or_symbols():
    sections = [line.split()[1] for line in objdump("-h").splitlines()
                if line.strip()[:1].isdigit()]
    assert not [s for s in sections if s.startswith(".debug")], f"sections: {sections}"
    assert "no symbols" in objdump("-t")
