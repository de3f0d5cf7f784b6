#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Mosaikon
# need. Quiet and idempotent: when everything is present apt is not touched;
# otherwise apt's output goes to a log that is shown only if it fails.
#   install-deps.sh               install what is missing
#   install-deps.sh --check-i386  only answer: does this machine run i386 code?
set -euo pipefail

packages=(
  cmake ninja-build g++ python3 git
  googletest libgtest-dev libbenchmark-dev
  clang libfuzzer-14-dev libclang-rt-14-dev clang-format
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine
  xvfb xdotool x11-utils imagemagick xfonts-base pcf2bdf fonts-arphic-uming zip
  nsis
)

# True when this machine executes 32-bit x86 programs natively. A 96-byte
# static i386 ELF that exits with 42 is run; some kernels are built or booted
# without 32-bit support, and an emulator registered with binfmt_misc would run
# the program but not Wine, so that case counts as "no".
can_run_i386() {
  [[ "$(uname -m)" == x86_64 || "$(uname -m)" == i?86 ]] || return 1
  local probe rc=0
  probe="$(mktemp "${TMPDIR:-/tmp}/mosaikon-i386.XXXXXX")"
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  timeout 10 "$probe" </dev/null >/dev/null 2>&1 || rc=$?
  rm -f "$probe"
  [[ $rc -eq 42 ]] || return 1
  local handler
  for handler in /proc/sys/fs/binfmt_misc/*; do
    [[ -f "$handler" && "$handler" != */register && "$handler" != */status ]] || continue
    if grep -q '^enabled' "$handler" 2>/dev/null && grep -qi 'i386\|i486\|i686' "$handler" 2>/dev/null; then
      return 1
    fi
  done
  return 0
}

if [[ "${1:-}" == --check-i386 ]]; then
  can_run_i386
  exit
fi

wanted=("${packages[@]}")
can_run_i386 && wanted+=("wine32:i386")

# One dpkg-query for all packages: the installed ones print "name ii".
installed="$(dpkg-query -W -f='${binary:Package} ${db:Status-Abbrev}\n' "${wanted[@]}" 2>/dev/null || true)"
missing=()
for package in "${wanted[@]}"; do
  if ! grep -q "^${package}\(:[a-z0-9]*\)\? ii" <<<"$installed"; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi

log="${TMPDIR:-/tmp}/mosaikon-install-deps.log"
echo "install-deps: installing ${missing[*]} (log: $log)"
export DEBIAN_FRONTEND=noninteractive
if ! {
  "${sudo[@]}" dpkg --add-architecture i386 &&
    "${sudo[@]}" apt-get update &&
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
} >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "install-deps: failed; full log in $log" >&2
  exit 1
fi
