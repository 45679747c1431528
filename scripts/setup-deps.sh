#!/usr/bin/env bash
# setup-deps.sh: install the Debian 12 packages the build and the tests need.
#   scripts/setup-deps.sh          install what is missing (root), or print the apt-get line
#   scripts/setup-deps.sh --print  only print the apt-get line
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build make
  gcc-multilib g++-multilib                       # linux32 target
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev  # windows target
  wine wine32:i386                                # runs the windows target's tests
  googletest                                      # test framework sources, built per target
  libstb-dev                                      # PNG writing and font rasterising (header only)
  libcli11-dev nlohmann-json3-dev                 # command lines and JSON of the tools (header only)
  fonts-dseg fonts-dejavu-core                    # seven-segment face and the plain fallback
  binutils file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
i386=yes
dpkg --print-foreign-architectures | grep -qx i386 || i386=no

line="dpkg --add-architecture i386 && apt-get update && apt-get install -y --no-install-recommends ${packages[*]}"
if [ "${1:-}" = "--print" ]; then echo "$line"; exit 0; fi
if [ ${#missing[@]} -eq 0 ] && [ $i386 = yes ]; then exit 0; fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages: ${missing[*]}" >&2
  echo "setup: run as root:" >&2
  echo "  $line" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}" >&2
[ $i386 = yes ] || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
