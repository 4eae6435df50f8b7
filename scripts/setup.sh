#!/usr/bin/env bash
# Installs what the build and the tests need from Debian, and generates the uk_UA.UTF-8 locale
# (its decimal separator is ","). Quick when everything is there already.
set -euo pipefail

packages=(
  g++ cmake make pkg-config clang-format git
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev qt6-translations-l10n qt6-svg-dev poppler-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  libboost-dev nlohmann-json3-dev libpugixml-dev parallel
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth locales
  openbox xdotool
  desktop-file-utils libxml2-utils x11-utils x11-apps
  dpkg-dev fakeroot
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^uk_UA\.utf-\?8$'; then
  echo "setup: generating the uk_UA.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -q 'uk_UA.UTF-8' /etc/locale.gen; then
    as_root sed -i 's/^# *\(uk_UA.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    as_root locale-gen >/dev/null
  else
    as_root localedef -i uk_UA -f UTF-8 uk_UA.UTF-8
  fi
fi
