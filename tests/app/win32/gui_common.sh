# Shared by the GUI test scripts: the Wine prefix, the virtual display and the time
# limits. Sourced, not run.

die() { echo "FAIL: $*" >&2; exit 1; }

need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 ||
      die "$tool is missing (scripts/install-deps.sh windows)"
  done
}

# Quiet Wine, no downloads of its .NET and HTML engines when a prefix is made.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="

# Makes the prefix $WINEPREFIX if it is not there yet (about 15 s), with a virtual desktop
# so that windows get their captions drawn and the screen is one known rectangle.
# Runs inside the virtual display.
prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "making the Wine prefix $WINEPREFIX"
    timeout 300 wineboot -i >/dev/null 2>&1 || die "wineboot could not make $WINEPREFIX"
    timeout 120 wineserver -w || true
  fi
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 ||
    die "cannot set Wine's virtual desktop"
  timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
    >/dev/null 2>&1 || die "cannot size Wine's virtual desktop"
  timeout 60 wineserver -w || true
}

# The virtual X display (xvfb-run -a picks a free one).
display_options="-screen 0 1280x1024x24 -nolisten tcp"
