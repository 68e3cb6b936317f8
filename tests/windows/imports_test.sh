#!/usr/bin/env bash
# A program for Windows needs no DLL beyond Windows' own: the C++ library, the threads and the rest
# are linked in, so that it starts from an unpacked zip on any Windows.
#
# Usage: imports_test.sh OBJDUMP EXE DLL...   (the DLLs that EXE may import, and must)
objdump=$1
exe=$2
shift 2
actual=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]' |
    sort | tr '\n' ' ')
expected=$(printf '%s\n' "$@" | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
if [ "$actual" != "$expected" ]; then
    echo "$(basename "$exe") imports $actual- expected $expected"
    exit 1
fi
echo "$(basename "$exe") imports $actual"
