# shellcheck shell=bash
# Sourced. The 32-bit Wine that runs the shipped i686 build. This machine
# cannot execute 32-bit x86 code natively, so the 32-bit Wine runs under
# qemu-user, registered with binfmt_misc for 32-bit ELF files. Everything it
# needs is unpacked from Debian's packages into a private root with a private
# apt state: the host's own packages and architectures stay untouched (never
# `dpkg --add-architecture`).
#
#   wine32_root     prints the root, building it on first use (cached under
#                   $TMPDIR)
#   wine32_binfmt   qemu-i386 registered for 32-bit ELF files (needs root)
#   wine32_up       both; exports WINE32_ROOT
#
# winenv.sh's winenv_wine32 runs its Wine world with this Wine.
# Bookworm's own qemu 7.2 breaks Wine's exception handling ("Got unexpected
# trap -1", then c000001d); backports' 10.x does not. Its qemu-user is
# linked statically, so the binary is used straight from the root.

WINE32_PACKAGES=(
  wine32 libwine
  # X libraries winex11 loads at run time; only Recommends of libwine
  libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1
  libxfixes3 libxxf86vm1
)
WINE32_QEMU_SUITE=bookworm-backports
_WINE32_MIRROR=http://deb.debian.org/debian
_WINE32_KEYRING=/usr/share/keyrings/debian-archive-keyring.gpg
_WINE32_BINFMT=/proc/sys/fs/binfmt_misc
_WINE32_NAME=grabwell-i386

_wine32_say() { printf 'wine32: %s\n' "$*" >&2; }

# _wine32_apt DIR ARCH SUITES... -- APT-ARGS: apt-get with its own state,
# cache and sources under DIR, seeing only ARCH and an empty dpkg status, so
# it fetches the whole dependency closure.
_wine32_apt() {
  local dir=$1 arch=$2 suite
  shift 2
  mkdir -p "$dir"/{lists/partial,archives/partial,parts,prefs} || return 1
  : >"$dir/status"
  : >"$dir/sources.list"
  while [[ $1 != -- ]]; do
    suite=$1
    shift
    local uri=$_WINE32_MIRROR
    [[ $suite == *-security ]] && uri=http://deb.debian.org/debian-security
    printf 'deb [arch=%s signed-by=%s] %s %s main\n' "$arch" "$_WINE32_KEYRING" "$uri" "$suite" >>"$dir/sources.list"
  done
  shift
  cat >"$dir/apt.conf" <<EOF
APT::Architecture "$arch";
APT::Architectures { "$arch"; };
Dir::State "$dir";
Dir::State::lists "$dir/lists";
Dir::State::status "$dir/status";
Dir::Cache "$dir";
Dir::Cache::archives "$dir/archives";
Dir::Etc::SourceList "$dir/sources.list";
Dir::Etc::SourceParts "$dir/parts";
Dir::Etc::Preferences "$dir/prefs/none";
Dir::Etc::PreferencesParts "$dir/prefs";
APT::Install-Recommends "false";
Acquire::Languages "none";
Debug::NoLocking "true";
EOF
  APT_CONFIG=$dir/apt.conf DEBIAN_FRONTEND=noninteractive apt-get -q "$@" </dev/null
}

# _wine32_fetch DIR ARCH SUITES... -- PACKAGES...: downloads the packages and
# their dependencies into DIR/archives.
_wine32_fetch() {
  local dir=$1 arch=$2 suites=()
  shift 2
  while [[ $1 != -- ]]; do suites+=("$1"); shift; done
  shift
  _wine32_apt "$dir" "$arch" "${suites[@]}" -- update >&2 &&
    _wine32_apt "$dir" "$arch" "${suites[@]}" -- install -y -d "$@" >&2
}

# What the root depends on: the packages and the steps that make it.
_wine32_key() {
  { printf '%s\n' "${WINE32_PACKAGES[@]}" "$WINE32_QEMU_SUITE"; declare -f _wine32_apt _wine32_fetch _wine32_finish wine32_root; } |
    sha1sum | cut -c1-16
}

# What libwine's and libc's package scripts would have done.
_wine32_finish() {
  local root=$1 arch src dst
  # libwine's postinst: zlib1.dll from libz-mingw-w64, marked as a builtin.
  src=$root/usr/i686-w64-mingw32/lib/zlib1.dll
  for arch in i386 x86_64; do
    dst=$root/usr/lib/i386-linux-gnu/wine/$arch-windows
    mkdir -p "$dst" || return 1
    [[ -f $src ]] || { _wine32_say "no $src in the root"; return 1; }
    {
      head -c 64 "$src"
      printf 'Wine builtin DLL'
      head -c 16 /dev/zero
      tail -c +97 "$src"
    } >"$dst/zlib1.dll" || return 1
  done
  # The guest's fontconfig reads the host's fonts and configuration: a
  # folder of the root hides the host's folder of that name, and with it the
  # CJK font the prefix links behind the UI fonts.
  # Its caches are 32-bit ones, kept in the root rather than the host's.
  rm -rf "$root/usr/share/fonts" "$root/etc/fonts" && mkdir -p "$root/var/cache/fontconfig" || return 1
  # Without the root's own loader cache, the guest's loader finds the
  # host's 32-bit libc (if any) before the root's.
  mkdir -p "$root/etc" || return 1
  printf '/lib/i386-linux-gnu\n/usr/lib/i386-linux-gnu\ninclude /etc/ld.so.conf.d/*.conf\n' >"$root/etc/ld.so.conf"
  ldconfig -r "$root" || return 1
}

# wine32_root: prints the ready root, building it if needed.
wine32_root() {
  local base=${TMPDIR:-/tmp} key root tmp deb t0=$SECONDS
  key=$(_wine32_key)
  root=$base/grabwell-wine32.$key
  if [[ -x $root/usr/lib/wine/wine ]]; then
    printf '%s' "$root"
    return 0
  fi
  tmp=$(mktemp -d "$base/grabwell-wine32.$key.tmp.XXXXXX") || return 1
  chmod 755 "$tmp"
  _wine32_say "building the 32-bit Wine root (one download of about 200 MB)"
  if ! _wine32_fetch "$tmp/apt-i386" i386 bookworm bookworm-updates bookworm-security -- "${WINE32_PACKAGES[@]}" ||
    ! _wine32_fetch "$tmp/apt-qemu" amd64 "$WINE32_QEMU_SUITE" -- qemu-user; then
    _wine32_say "download failed"
    rm -rf "$tmp"
    return 1
  fi
  WINE32_DOWNLOAD_BYTES=$(cat "$tmp"/apt-*/archives/*.deb | wc -c)
  mkdir -p "$tmp/root/qemu"
  for deb in "$tmp"/apt-i386/archives/*.deb; do
    dpkg-deb -x "$deb" "$tmp/root" || { rm -rf "$tmp"; return 1; }
  done
  # Only the one emulator, apart from the guest's files.
  for deb in "$tmp"/apt-qemu/archives/qemu-user_*.deb; do
    dpkg-deb -x "$deb" "$tmp/qemu" || { rm -rf "$tmp"; return 1; }
  done
  cp "$tmp/qemu/usr/bin/qemu-i386" "$tmp/root/qemu/" || { _wine32_say "no qemu-i386 in qemu-user"; rm -rf "$tmp"; return 1; }
  rm -rf "$tmp/qemu" "$tmp"/apt-*
  _wine32_finish "$tmp/root" || { rm -rf "$tmp"; return 1; }
  chmod 755 "$tmp/root"
  # A concurrent run may have finished the same root first; keep theirs.
  if ! mv -T "$tmp/root" "$root" 2>/dev/null; then
    [[ -x $root/usr/lib/wine/wine ]] || { _wine32_say "could not place $root"; rm -rf "$tmp"; return 1; }
  fi
  rm -rf "$tmp"
  find "$base" -maxdepth 1 -name 'grabwell-wine32.*' ! -name "grabwell-wine32.$key*" \
    -mmin +60 -exec rm -rf {} + 2>/dev/null || true
  _wine32_say "root ready in $((SECONDS - t0))s, ${WINE32_DOWNLOAD_BYTES} bytes downloaded: $root"
  printf '%s' "$root"
}

# i386 ELF executables and shared objects (e_type 2 or 3, e_machine 3).
_WINE32_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
_WINE32_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# wine32_binfmt ROOT: qemu-i386 from ROOT registered for 32-bit ELF files.
# F opens the emulator now, so it serves any mount namespace; P hands it the
# program's own argv[0], which Wine's loader relies on.
wine32_binfmt() {
  local root=$1 entry
  if [[ ! -e $_WINE32_BINFMT/register ]]; then
    mount -t binfmt_misc binfmt_misc "$_WINE32_BINFMT" 2>/dev/null ||
      { _wine32_say "binfmt_misc is not mounted and could not be (needs root)"; return 1; }
  fi
  entry=$_WINE32_BINFMT/$_WINE32_NAME
  if [[ -e $entry ]]; then
    # Registered by an earlier run: kept while its emulator is current.
    if grep -q '^enabled' "$entry" && grep -qx "interpreter $root/qemu/qemu-i386" "$entry"; then
      return 0
    fi
    echo -1 >"$entry" || return 1
  fi
  printf ':%s:M::%s:%s:%s:FP' "$_WINE32_NAME" "$_WINE32_MAGIC" "$_WINE32_MASK" "$root/qemu/qemu-i386" \
    >"$_WINE32_BINFMT/register" || { _wine32_say "could not register qemu-i386 with binfmt_misc"; return 1; }
}

# wine32_up: the root and its emulator ready.
wine32_up() {
  WINE32_ROOT=$(wine32_root) || return 1
  wine32_binfmt "$WINE32_ROOT" || return 1
  export WINE32_ROOT
}
