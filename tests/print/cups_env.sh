# shellcheck shell=bash
# Sourced. A private CUPS server for print tests: its own cupsd on a Unix
# socket in a throwaway folder (the system's CUPS, if any, is not touched),
# with one cups-pdf queue as the default printer.
#
#   cups_up           start cupsd, add queue $CUPS_ENV_QUEUE; exports CUPS_SERVER
#   cups_wait_pdf DIR [SECONDS]
#                     waits for the next PDF cups-pdf writes and moves it to
#                     DIR; prints the new path
#   cups_down         remove the queue, stop cupsd, remove the folder; idempotent
#
# Callers: `cups_up; trap cups_down EXIT`, before the Wine prefix's programs
# start (Wine's spooler lists CUPS printers when winspool loads, through the
# CUPS_SERVER this exports).
#
# cups-pdf reads its settings only from /etc/cups and writes to the job
# owner's ~/PDF; its output is collected from there and moved away.

CUPS_ENV_QUEUE=${CUPS_ENV_QUEUE:-GrabwellPDF}
CUPS_ENV_PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

_cups_say() { printf 'cups_env: %s\n' "$*" >&2; }

cups_available() {
  [[ -x /usr/sbin/cupsd && -x /usr/lib/cups/backend/cups-pdf && -r $CUPS_ENV_PPD ]]
}

_cups_write_config() {
  local d=$1
  cat >"$d/cupsd.conf" <<CONF
LogLevel info
Listen $d/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$d/cups-files.conf" <<CONF
ServerRoot $d/etc
RequestRoot $d/spool
TempDir $d/tmp
CacheDir $d/cache
StateDir $d/state
ErrorLog $d/log/error_log
AccessLog $d/log/access_log
PageLog $d/log/page_log
Printcap $d/printcap
SystemGroup root
User lp
Group lp
CONF
}

cups_up() {
  if [[ -n ${CUPS_ENV_DIR:-} ]]; then
    _cups_say "already up ($CUPS_ENV_DIR)"
    return 1
  fi
  if ! cups_available; then
    _cups_say "cupsd or cups-pdf missing (apt-get install cups printer-driver-cups-pdf)"
    return 1
  fi
  _CUPS_ENV_SAVED_SERVER=${CUPS_SERVER-}
  CUPS_ENV_DIR=$(mktemp -d "${TMPDIR:-/tmp}/grabwell-cups.XXXXXX") || return 1
  # Filters run as lp and must reach the spool and temp folders.
  chmod 755 "$CUPS_ENV_DIR"
  mkdir -p "$CUPS_ENV_DIR"/{etc/ppd,spool,tmp,cache,state,log}
  chown lp:lp "$CUPS_ENV_DIR"/{tmp,cache} 2>/dev/null || true
  chmod 1777 "$CUPS_ENV_DIR/tmp"
  _cups_write_config "$CUPS_ENV_DIR"

  /usr/sbin/cupsd -f -c "$CUPS_ENV_DIR/cupsd.conf" -s "$CUPS_ENV_DIR/cups-files.conf" \
    </dev/null >"$CUPS_ENV_DIR/log/cupsd.out" 2>&1 &
  _CUPS_ENV_PID=$!
  export CUPS_SERVER=$CUPS_ENV_DIR/cups.sock
  local until=$((SECONDS + 10))
  # lpstat -r exits 0 either way; only its words tell.
  until [[ -S $CUPS_SERVER ]] && lpstat -r 2>/dev/null | grep -q "is running"; do
    if ((SECONDS >= until)) || ! kill -0 "$_CUPS_ENV_PID" 2>/dev/null; then
      _cups_say "cupsd did not start; log:"
      cat "$CUPS_ENV_DIR/log/cupsd.out" "$CUPS_ENV_DIR/log/error_log" 2>/dev/null | tail -n 20 >&2
      cups_down
      return 1
    fi
    sleep 0.1
  done
  if ! lpadmin -p "$CUPS_ENV_QUEUE" -E -v cups-pdf:/ -P "$CUPS_ENV_PPD" ||
     ! lpadmin -d "$CUPS_ENV_QUEUE"; then
    _cups_say "could not add queue $CUPS_ENV_QUEUE"
    cups_down
    return 1
  fi
  _CUPS_ENV_PDF_DIR=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
  [[ -d $_CUPS_ENV_PDF_DIR ]] && _CUPS_ENV_PDF_DIR_WAS_THERE=1 || _CUPS_ENV_PDF_DIR_WAS_THERE=
  touch "$CUPS_ENV_DIR/started"
  _cups_say "up (CUPS_SERVER=$CUPS_SERVER, queue $CUPS_ENV_QUEUE)"
}

cups_wait_pdf() {
  local dest=${1:?usage: cups_wait_pdf DIR [SECONDS]} seconds=${2:-60} f until
  until=$((SECONDS + seconds))
  while ((SECONDS < until)); do
    for f in "$_CUPS_ENV_PDF_DIR"/*.pdf; do
      [[ -f $f && $f -nt $CUPS_ENV_DIR/started ]] || continue
      # cups-pdf writes in place; wait until the size stops changing.
      local size=-1
      while [[ $(stat -c %s "$f") != "$size" ]]; do size=$(stat -c %s "$f"); sleep 0.5; done
      mkdir -p "$dest" && mv "$f" "$dest/" && printf '%s\n' "$dest/${f##*/}"
      return 0
    done
    sleep 0.1
  done
  _cups_say "no PDF after ${seconds}s; error_log tail:"
  tail -n 20 "$CUPS_ENV_DIR/log/error_log" >&2 2>/dev/null
  return 1
}

cups_down() {
  [[ -n ${CUPS_ENV_DIR:-} ]] || return 0
  if [[ -n ${_CUPS_ENV_PID:-} ]]; then
    lpadmin -x "$CUPS_ENV_QUEUE" 2>/dev/null || true
    kill "$_CUPS_ENV_PID" 2>/dev/null || true
    wait "$_CUPS_ENV_PID" 2>/dev/null || true
  fi
  # Output of our jobs that nobody collected.
  if [[ -n ${_CUPS_ENV_PDF_DIR:-} && -e $CUPS_ENV_DIR/started ]]; then
    find "$_CUPS_ENV_PDF_DIR" -maxdepth 1 -name '*.pdf' -newer "$CUPS_ENV_DIR/started" -delete \
      2>/dev/null || true
  fi
  rm -rf "$CUPS_ENV_DIR"
  # cups-pdf made ~/PDF for us; leave it only if it was there before.
  if [[ -z ${_CUPS_ENV_PDF_DIR_WAS_THERE:-} && -n ${_CUPS_ENV_PDF_DIR:-} ]]; then
    rmdir "$_CUPS_ENV_PDF_DIR" 2>/dev/null || true
  fi
  if [[ -n ${_CUPS_ENV_SAVED_SERVER:-} ]]; then
    export CUPS_SERVER=$_CUPS_ENV_SAVED_SERVER
  else
    unset CUPS_SERVER
  fi
  CUPS_ENV_DIR='' _CUPS_ENV_PID=''
  return 0
}
