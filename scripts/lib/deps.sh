# shellcheck shell=bash
# Sourced. Installs the Debian packages the build, the tests and the Wine
# harness need. On a machine that already has them this costs one dpkg-query.

GRABWELL_DEPS=(
  # build
  cmake make g++ clang libclang-rt-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  googletest libgtest-dev
  # running the Windows build: wine64 only, never the i386 wine32
  wine wine64
  # Wine's own Tahoma/Marlett/MS Sans Serif; without them caption buttons
  # render as letters. Only a Recommends of libwine, so name it here.
  fonts-wine
  # X libraries winex11 loads at run time; also only Recommends
  libxrender1 libxrandr2 libxcursor1 libxi6 libxinerama1 libxcomposite1
  libxfixes3 libxxf86vm1
  # headless display, window lookup, screenshots
  xvfb xauth xdotool x11-utils x11-apps imagemagick libjpeg-turbo-progs
  # xrandr: the two-monitor test world lays its monitors out on one X screen
  x11-xserver-utils
  # CJK glyphs linked behind Wine's UI fonts
  fonts-wqy-microhei
  procps
  # printing test: a private CUPS with a PDF queue, the page read back as PNG
  cups printer-driver-cups-pdf poppler-utils ghostscript
  # the Windows Installer package (wixl) and reading it back (msiinfo)
  wixl msitools
)

# Prints the packages from the list that are not installed.
grabwell_missing_deps() {
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${GRABWELL_DEPS[@]}" 2>/dev/null \
    | awk '$2 == "ii" { print $1 }')
  local pkg
  for pkg in "${GRABWELL_DEPS[@]}"; do
    grep -qxF "$pkg" <<<"$installed" || printf '%s\n' "$pkg"
  done
}

grabwell_install_deps() {
  local missing
  missing=$(grabwell_missing_deps)
  [[ -z $missing ]] && return 0

  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "deps: need root to install: $missing" >&2; return 1; }
    sudo=(sudo)
  fi
  echo "deps: installing ${missing//$'\n'/ }" >&2
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 update -q >&2 || return 1
  # shellcheck disable=SC2086 # one package per word
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -q \
    --no-install-recommends $missing </dev/null >&2 || return 1

  missing=$(grabwell_missing_deps)
  if [[ -n $missing ]]; then
    echo "deps: still missing after install: ${missing//$'\n'/ }" >&2
    return 1
  fi
}
