# shellcheck shell=bash disable=SC2034,SC2154
# Sourced by the scripts that run our Windows programs under Wine: 64-bit Wine's commands, the environment
# of a prefix of ours, the program's window title, and uidriver with its output made Unix text. The
# variables set here are read, and $uidriver is set, by the scripts that source it.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
# The program's window title, which is also its product name (Start menu folder, uninstall entry).
title='DAZE802.11d AVUD UDE Zadu Vuvivav'

# use_prefix PREFIX: Wine's environment for a prefix of ours. No debug output unless WINEDEBUG asks for it,
# and no offer to install .NET or a browser engine, which would wait for a click.
use_prefix() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree=;mshtml="
}

# ui ARGS...: runs $uidriver with ARGS; its messages go to the file $ui_log when that is set. Its console
# output comes with Windows line ends.
ui() {
  local status=0
  if [ -n "${ui_log:-}" ]; then
    "$wine" "$uidriver" "$@" </dev/null 2>>"$ui_log" | tr -d '\r' || status=$?
  else
    "$wine" "$uidriver" "$@" </dev/null | tr -d '\r' || status=$?
  fi
  return $status
}
