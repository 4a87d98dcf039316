#!/usr/bin/env bash
# Installs the Debian 12 packages Korvanex needs to build, test and run, skipping those that
# are already there. Uses sudo when not run as root. fonts-urw-base35 gives Nimbus Sans, close to
# the band strip's Tahoma in width; without it the strip falls back to the wider DejaVu Sans,
# which cuts its longest box texts. qt6-translations-l10n gives Qt's own texts (message box
# buttons, file dialogs) in the user's language.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-noto-cjk
          fonts-urw-base35 qt6-translations-l10n)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
