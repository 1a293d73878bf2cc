"""Shared helpers of the static checks: arguments, reading PE files, collecting failures."""

import argparse
import sys

try:
    import pefile
except ImportError:
    sys.exit("pefile is missing: install Debian's python3-pefile and run /usr/bin/python3")

# The build's target architecture (the MinGW triple's first part) and its PE machine type.
MACHINES = {
    "i686": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"],
    "x86_64": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"],
}


def argument_parser(description):
    """A parser for "FILE ARCH", the arguments most checks take."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("file")
    parser.add_argument("arch", choices=sorted(MACHINES))
    return parser


def load(path):
    """The parsed PE file, or exit with a message saying which file could not be read."""
    try:
        return pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        sys.exit(f"{path}: cannot read as a PE file: {error}")


def machine_name(pe):
    return pefile.MACHINE_TYPE.get(pe.FILE_HEADER.Machine, hex(pe.FILE_HEADER.Machine))


def exported_names(pe):
    directory = getattr(pe, "DIRECTORY_ENTRY_EXPORT", None)
    if directory is None:
        return set()
    return {symbol.name.decode("ascii") for symbol in directory.symbols if symbol.name}


def imported_dlls(pe):
    """Imported DLL names in lower case (the loader compares them without case)."""
    entries = getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
    return {entry.dll.decode("ascii").lower() for entry in entries}


class Report:
    """Collects failed expectations so one run names every fault, then sets the exit code."""

    def __init__(self, path):
        self.path = path
        self.failures = []

    def expect(self, condition, message):
        if not condition:
            self.failures.append(message)

    def expect_machine(self, pe, expected):
        self.expect(
            pe.FILE_HEADER.Machine == MACHINES[expected],
            f"machine is {machine_name(pe)}, expected {pefile.MACHINE_TYPE[MACHINES[expected]]}",
        )

    def finish(self):
        for message in self.failures:
            print(f"{self.path}: {message}")
        if self.failures:
            return 1
        print(f"{self.path}: ok")
        return 0
