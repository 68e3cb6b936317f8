#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only those that are missing.
# With --only, just the packages named (the Windows build needs no Qt).
set -euo pipefail
if [ "${1:-}" = --only ]; then
    shift
    packages=("$@")
else
    # qt6-translations-l10n: Qt's own texts in Czech, as the installed package has them.
    # gettext: the catalogue of the program's messages is compiled and checked by its tools.
    packages=(cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
              libbenchmark-dev qt6-translations-l10n gettext "$@")
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
