# shellcheck shell=bash
# Sourced by winenv.sh. Makes initialised Wine prefixes and removes them.
#
# `wineboot -i` costs 7-15 s, so the first prefix made with a given setup is
# kept as a template under $TMPDIR and later ones are plain copies of it
# (under a second). Every caller still gets its own prefix; the template is
# never run in. GRABWELL_WINE_TEMPLATE=0 builds every prefix from scratch.
#
# Needs WINE, WINESERVER, WINEDEBUG, WINEDLLOVERRIDES and DISPLAY exported;
# WINEPREFIX_OWNER names the user WINE runs as when that is not the caller.

WINEPREFIX_CJK_FONT="wqy-microhei.ttc,WenQuanYi Micro Hei"
_WP_WINE_FONTS=/usr/share/wine/fonts

# Unix absolute path -> Windows path through the Z: drive every prefix has.
_wp_winpath() {
  local p=${1//\//\\}
  printf 'Z:%s' "$p"
}

# REG_MULTI_SZ data of one string, as regedit's hex(7) (UTF-16LE, double NUL).
_wp_multi_sz_hex() {
  { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; printf '\0\0\0\0'; } \
    | od -An -v -tx1 | tr -s ' \n' ',,' | sed 's/^,//; s/,$//'
}

# Wine's Tahoma and the dialog fonts have no CJK glyphs: without a linked
# font, Chinese text renders as boxes.
wineprefix_reg_fontlink() {
  local hex face
  hex=$(_wp_multi_sz_hex "$WINEPREFIX_CJK_FONT")
  printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\n'
  for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    printf '"%s"=hex(7):%s\n' "$face" "$hex"
  done
  printf '\n'
}

# A crashing program would otherwise wait behind winedbg's "Program Error"
# dialog that nobody can click, holding a test run until its timeout. With
# the dialog off, winedbg prints a backtrace and the process ends non-zero.
wineprefix_reg_no_crash_dialog() {
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n'
}

# Every program of the prefix opens inside one desktop window of that size:
# no window manager needed, and screenshots show Wine's own frames.
wineprefix_reg_desktop() {
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="%s"\n\n' "$1"
}

# The display scale: Wine's system DPI, which its processes read at start-up
# (96 is 100%, 144 is 150%, 192 is 200%). GDI's font scaling reads the second
# key.
wineprefix_reg_dpi() {
  local hex
  hex=$(printf '%08x' "$1")
  printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%s\n\n' "$hex"
  printf '[HKEY_CURRENT_CONFIG\\Software\\Fonts]\n"LogPixels"=dword:%s\n\n' "$hex"
}

# Debian's wine loads Tahoma, Marlett and MS Sans Serif only from
# C:\windows\Fonts, and wineboot leaves that empty: without them every UI
# font falls back to DejaVu and caption buttons show Marlett's letters.
_wp_install_wine_fonts() {
  local dst=$1/drive_c/windows/Fonts f
  if [[ ! -e $_WP_WINE_FONTS/tahoma.ttf ]]; then
    printf 'wineprefix: warning: %s missing (package fonts-wine); UI fonts fall back to DejaVu\n' \
      "$_WP_WINE_FONTS/tahoma.ttf" >&2
    return 0
  fi
  mkdir -p "$dst" || return 1
  for f in "$_WP_WINE_FONTS"/*; do
    ln -sf "$f" "$dst/${f##*/}" || return 1
  done
}

# wineboot links Desktop, Documents and the other profile folders to the
# Unix home, so a file a test saves there would outlive the prefix (and be
# found by the next run): each becomes a folder of the prefix's own.
_wp_unlink_profile_folders() {
  local link
  for link in "$1"/drive_c/users/*/*; do
    [[ -L $link ]] || continue
    rm "$link" && mkdir "$link" && chown --reference="${link%/*}" "$link" || return 1
  done
}

# Debian's wineserver keeps its socket in $TMPDIR/wine-XXXXXX, named in the
# prefix's `wineserver` file; it outlives the prefix unless removed.
_wp_forget_server_dir() {
  local prefix=$1 name base
  [[ -f $prefix/wineserver ]] || return 0
  name=$(<"$prefix/wineserver")
  if [[ $name =~ ^wine-[A-Za-z0-9]+$ ]]; then
    for base in "${TMPDIR:-/tmp}" /tmp; do
      [[ -d $base/$name ]] && rm -rf "${base:?}/$name"
    done
  fi
  rm -f "$prefix/wineserver"
}

# Ends every process of the prefix and waits for its server to exit.
_wp_stop_server() {
  WINEPREFIX=$1 timeout 20 "$WINESERVER" -k 2>/dev/null || true
  WINEPREFIX=$1 timeout 20 "$WINESERVER" -w 2>/dev/null || true
}

# wineboot, fonts and registry into an empty PREFIX; output appended to LOG.
_wp_build() {
  local prefix=$1 reg=$2 log=$3
  if ! WINEPREFIX=$prefix "$WINE" wineboot -i </dev/null >>"$log" 2>&1; then
    printf 'wineprefix: wineboot -i failed; log:\n' >&2
    tail -n 30 "$log" >&2
    _wp_stop_server "$prefix"
    return 1
  fi
  _wp_install_wine_fonts "$prefix" || return 1
  _wp_unlink_profile_folders "$prefix" || return 1
  # Native regedit files are UTF-16LE with a BOM; without one Wine's regedit
  # reads hex(7) data as ANSI and widens every byte.
  local reg16=$prefix.setup16.reg
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$reg"; } >"$reg16" || return 1
  if ! WINEPREFIX=$prefix "$WINE" regedit /S "$(_wp_winpath "$reg16")" </dev/null >>"$log" 2>&1; then
    printf 'wineprefix: regedit failed; log:\n' >&2
    tail -n 30 "$log" >&2
    _wp_stop_server "$prefix"
    return 1
  fi
  rm -f "$reg16"
  # wineboot started a desktop before the registry said what it should be;
  # stopping everything makes the next process read the keys afresh.
  _wp_stop_server "$prefix"
}

# What a template depends on: the Wine build, its fonts, this file, the
# registry fragment and the locale wineboot saw.
_wp_template_key() {
  local reg=$1
  {
    "$WINE" --version
    echo "${WINEARCH:-} ${QEMU_LD_PREFIX:-}"
    stat -c %Y /usr/share/wine/wine.inf 2>/dev/null
    ls "$_WP_WINE_FONTS" 2>/dev/null
    cat "${BASH_SOURCE[0]}" "$reg"
    locale 2>/dev/null
    echo "${WINEPREFIX_OWNER:-$(id -un)}"
  } | sha1sum | cut -c1-16
}

# Prints the path of a finished template for REG, building it if needed.
_wp_template() {
  local reg=$1 log=$2 key base tpl tmp
  base=${TMPDIR:-/tmp}
  key=$(_wp_template_key "$reg")
  tpl=$base/grabwell-wine-template.$key
  if [[ ! -d $tpl/prefix ]]; then
    tmp=$(mktemp -d "$base/grabwell-wine-template.$key.tmp.XXXXXX") || return 1
    if [[ -n ${WINEPREFIX_OWNER:-} ]]; then chown "$WINEPREFIX_OWNER:" "$tmp" || return 1; fi
    if ! _wp_build "$tmp/prefix" "$reg" "$log"; then
      _wp_forget_server_dir "$tmp/prefix"
      rm -rf "$tmp"
      return 1
    fi
    _wp_forget_server_dir "$tmp/prefix"
    # A concurrent run may have finished the same template first; keep theirs.
    if ! mv -T "$tmp" "$tpl" 2>/dev/null; then
      if [[ -d $tpl/prefix ]]; then rm -rf "$tmp"; else tpl=$tmp; fi
    fi
    # Templates for an older Wine or an older copy of this file, unused for an hour.
    find "$base" -maxdepth 1 -name 'grabwell-wine-template.*' ! -name "grabwell-wine-template.$key*" \
      -mmin +60 -exec rm -rf {} + 2>/dev/null || true
  fi
  printf '%s' "$tpl"
}

# wineprefix_create PREFIX REGFILE LOG: a ready prefix at PREFIX (must not exist).
wineprefix_create() {
  local prefix=$1 reg=$2 log=$3 tpl
  if [[ ${GRABWELL_WINE_TEMPLATE:-1} == 0 ]]; then
    _wp_build "$prefix" "$reg" "$log"
    return
  fi
  tpl=$(_wp_template "$reg" "$log") || return 1
  # In use: keeps it out of the pruning of stale templates.
  touch "$tpl" 2>/dev/null || true
  cp -a "$tpl/prefix" "$prefix"
}

# wineprefix_remove PREFIX: ends its processes, then deletes it.
wineprefix_remove() {
  local prefix=$1
  [[ -d $prefix ]] || return 0
  _wp_stop_server "$prefix"
  _wp_forget_server_dir "$prefix"
  # A process of the prefix that was still on its way out may write one
  # more file (the registry, flushed at exit) while the tree is removed.
  local tries=3
  until rm -rf "$prefix" 2>/dev/null; do
    ((--tries > 0)) || { rm -rf "$prefix"; return; }
    sleep 1
    _wp_stop_server "$prefix"
  done
}
