#!/usr/bin/env bash
# Installs the Debian packages Quillor builds and tests with (Debian 12 or later).
set -euo pipefail
packages=(qt6-base-dev qt6-l10n-tools libxcb-keysyms1-dev libgtest-dev libgmock-dev
          libbenchmark-dev cmake ninja-build g++ ca-certificates tzdata openssl
          qt6-image-formats-plugins xvfb xdotool openbox x11-utils xclip trayer qt6-translations-l10n)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
