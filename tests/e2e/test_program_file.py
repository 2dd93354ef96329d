"""The shipped program file: it starts with the system's core DLLs alone and
carries neither debug information nor a symbol table."""

import subprocess

from conftest import EXE

# kernel32, user32, gdi32 and the C runtime; the common dialogs and the shell
# are loaded when first used.
START_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}


def objdump(*options):
    return subprocess.run(["x86_64-w64-mingw32-objdump", *options, str(EXE)], check=True,
                          capture_output=True, text=True).stdout


def test_imports_only_the_core_dlls():
    imported = {line.split(":", 1)[1].strip().lower()
                for line in objdump("-p").splitlines() if "DLL Name:" in line}
    assert imported <= START_DLLS, f"imports at start: {sorted(imported)}"


def test_carries_no_debug_information_or_symbols():
    sections = [line.split()[1] for line in objdump("-h").splitlines()
                if line.strip()[:1].isdigit()]
    assert not [s for s in sections if s.startswith(".debug")], f"sections: {sections}"
    assert "no symbols" in objdump("-t")
