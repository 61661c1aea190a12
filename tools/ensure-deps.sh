#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# and any more named as arguments (`make fuzz` adds clang and its fuzzer).
# As root it installs what is missing; otherwise it prints the command to run.
set -eu
packages=(cmake ninja-build g++ make qt6-base-dev libjpeg62-turbo-dev libpng-dev libexiv2-dev liblcms2-dev pkgconf libgtest-dev
          libbenchmark-dev xvfb xauth x11-utils fonts-liberation desktop-file-utils "$@")
missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "KORVEN needs these Debian packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
