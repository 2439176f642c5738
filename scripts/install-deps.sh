#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Brenzo need.
# Only what is missing is installed; a machine that has everything is left alone.
set -euo pipefail

packages=(
    cmake
    make
    g++
    qt6-base-dev
    qt6-image-formats-plugins
    qt6-qpa-plugins
    qt6-translations-l10n
    fonts-liberation
    xvfb
    xauth
    dpkg-dev
    lintian
    appstream
    python3-pyftpdlib
    qtkeychain-qt6-dev
    # Photos made ready for the web: their metadata, HEIC and HEIF pictures
    # (libheif with its HEVC decoder), and animated WebP pictures made by the
    # tests.
    libexiv2-dev
    libheif-dev
    webp
    libsecret-1-0
    # The secure-publishing tests: a keyring daemon on a private bus, vsftpd
    # and pyftpdlib over TLS, certificates made with openssl.
    gnome-keyring
    dbus-daemon
    dbus-bin
    vsftpd
    python3-openssl
    python3-cryptography
    openssl
    chromium
    chromium-driver
    python3-selenium
    # The page adapted to phones must pass tidy without a word.
    tidy
    # Publishing by SFTP, and the OpenSSH server its tests talk to.
    libssh-dev
    openssh-server
    # Checking the published page from the visitor's side: a real web server.
    lighttpd
    lighttpd-mod-openssl
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
# Without recommends: gnome-keyring would otherwise bring its PAM module into
# the machine's logins, vsftpd's included.
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
