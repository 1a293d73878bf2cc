"""Checks the shipped sqlite3.dll: built for this target, exporting the functions the program
and its tests bind at load time by plain name, and needing no DLL beyond the system's own."""

import pecheck

# What Tessaron.exe and the lookup code import; a missing one stops the program at load time.
REQUIRED_EXPORTS = [
    "sqlite3_open",
    "sqlite3_open_v2",
    "sqlite3_get_table",
    "sqlite3_free_table",
    "sqlite3_close",
    "sqlite3_mprintf",
    "sqlite3_free",
]

# A compiler runtime DLL here (libgcc_s_dw2-1.dll, libwinpthread-1.dll) would have to ship too.
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll"}


def main():
    args = pecheck.argument_parser(__doc__).parse_args()
    pe = pecheck.load(args.file)
    report = pecheck.Report(args.file)
    report.expect_machine(pe, args.arch)
    report.expect(pe.is_dll(), "is not a DLL")
    exports = pecheck.exported_names(pe)
    for name in REQUIRED_EXPORTS:
        # On i686 a decorated name (_sqlite3_open, sqlite3_open@4) would not bind either.
        report.expect(name in exports, f"does not export {name}")
    for dll in sorted(pecheck.imported_dlls(pe) - SYSTEM_DLLS):
        report.expect(False, f"imports {dll}, which Windows does not provide")
    return report.finish()


if __name__ == "__main__":
    raise SystemExit(main())
