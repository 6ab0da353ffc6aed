# Which Wine loader this machine runs Windows programs with: decided here, once, for every script
# of the project (the test bed, the installer of what the tests need, the test command). Sourced,
# not run.
#
# Debian's /usr/bin/wine (and wineboot, which goes through it) starts the 32-bit loader whenever
# wine32 is installed. On a kernel that cannot run 32-bit programs that loader fails with "Exec
# format error", so there the 64-bit loader is started directly, with WINELOADER naming it (Wine
# starts child processes through that variable) and its own wineserver. OKTALON_WINE64_ONLY=1
# takes that path on any machine. Elsewhere the 32-bit loader runs both builds, as
# /usr/bin/wine would choose it.

oktalon_wine32_loader=/usr/lib/wine/wine
oktalon_wine64_loader=/usr/lib/wine/wine64
oktalon_wineserver=/usr/lib/wine/wineserver64

# Whether this machine's kernel runs 32-bit x86 programs: a tiny one that only exits is tried.
# The answer is kept for the rest of the shell's life.
oktalon_kernel_runs_x86() {
    if [ -z "${oktalon_kernel_x86:-}" ]; then
        local dir
        oktalon_kernel_x86=no
        dir=$(mktemp -d)
        printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' >"$dir/exit.s"
        if as --32 -o "$dir/exit.o" "$dir/exit.s" 2>/dev/null &&
            ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" 2>/dev/null && "$dir/exit" 2>/dev/null; then
            oktalon_kernel_x86=yes
        fi
        rm -rf "$dir"
    fi
    [ "$oktalon_kernel_x86" = yes ]
}

# Whether Windows programs run with the 64-bit loader alone (so the x86 build cannot run), and
# why, in words for a log line.
oktalon_wine64_only() { [ -n "$(oktalon_wine64_only_reason)" ]; }
oktalon_wine64_only_reason() {
    if [ "${OKTALON_WINE64_ONLY:-0}" = 1 ]; then
        echo "OKTALON_WINE64_ONLY=1 asks for the 64-bit Wine loader alone"
    elif ! oktalon_kernel_runs_x86; then
        echo "this machine's kernel cannot run 32-bit programs"
    elif [ ! -x "$oktalon_wine32_loader" ]; then
        echo "Wine's 32-bit loader (wine32:i386) is not installed"
    fi
}

# Exports WINELOADER and WINESERVER: the loader and the server that every Wine call uses. Scripts
# start Windows programs with "$WINELOADER" PROGRAM and stop or wait for the session with
# "$WINESERVER"; nothing calls wine, wineboot or wineserver through the PATH.
oktalon_choose_wine() {
    if oktalon_wine64_only; then
        WINELOADER=$oktalon_wine64_loader
    else
        WINELOADER=$oktalon_wine32_loader
    fi
    WINESERVER=$oktalon_wineserver
    export WINELOADER WINESERVER
}
