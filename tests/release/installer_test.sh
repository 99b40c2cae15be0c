#!/usr/bin/env bash
# The installer under Wine, silently, in a Wine prefix and session of its
# own: it puts the programs and the readme of the ZIP into one folder, where
# they run, adds the Start-menu shortcut to the monitor and the uninstall
# entry, and the uninstaller that the entry names removes all of it.
#
#   installer_test.sh WINE_RUN WORK_DIR INSTALLER ZIP
set -u
export LC_ALL=C
wine_run=$1 work=$2 installer=$3 zip=$4

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# A fresh prefix each run; no menu entries on the host for the shortcut.
rm -rf "$work"
mkdir -p "$work/zip"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
"$wine_run" --build "$work" --start || { echo "FAIL: no Wine session"; exit 1; }
trap '"$wine_run" --build "$work" --stop' EXIT
eval "$("$wine_run" --build "$work" --env)"
drive_c=$WINEPREFIX/drive_c

(cd "$work/zip" && cmake -E tar xf "$zip")
shipped=$(echo "$work"/zip/*)

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Spoolscope'
maker_key='HKLM\Software\Spoolscope project'
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }

# The Start-menu folder of all users or of the user, as Wine's account decides.
shortcut_dir() {
  local d
  for d in "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Spoolscope" \
    "$drive_c"/users/*/"AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Spoolscope"; do
    [ -e "$d" ] && { echo "$d"; return 0; }
  done
  return 1
}

# installer arguments | Windows folder | its path in the prefix
cases=(
  "/S|C:\\Program Files\\Spoolscope|Program Files/Spoolscope"
  "/S /D=C:\\Apps\\Spoolscope|C:\\Apps\\Spoolscope|Apps/Spoolscope"
)

for entry in "${cases[@]}"; do
  IFS='|' read -r args win_dir dir <<<"$entry"
  echo "== $args"
  # shellcheck disable=SC2086 # the arguments split on purpose
  "$wine_run" --build "$work" "$installer" $args || fail "$args: the installer failed"
  folder=$drive_c/$dir

  listed=$(cd "$folder" 2>/dev/null && find . -mindepth 1 -printf "%P\n" | sort)
  expected=$(printf '%s\n' README.txt Uninstall.exe procfix.exe spoolscope.exe)
  [ "$listed" = "$expected" ] || fail "$args: $dir holds:"$'\n'"$listed"
  for f in README.txt procfix.exe spoolscope.exe; do
    cmp -s "$shipped/$f" "$folder/$f" || fail "$args: $dir/$f differs from the ZIP's"
  done

  # The installed console tool starts from there: nothing it needs is missing.
  out=$("$wine_run" --build "$work" "$win_dir\\procfix.exe" 2>&1)
  grep -q "^Check over" <<<"$out" || fail "$args: the installed procfix.exe did not run: $out"

  if links=$(shortcut_dir); then
    lnk=$links/Spoolscope.lnk
    if [ -f "$lnk" ]; then
      grep -a -q -F "$win_dir\\spoolscope.exe" "$lnk" || fail "$args: the shortcut does not start $win_dir\\spoolscope.exe"
    else
      fail "$args: no Spoolscope.lnk in $links"
    fi
  else
    fail "$args: no Start-menu folder"
  fi

  uninstaller=$("$WINE" reg query "$uninstall_key" /v UninstallString 2>/dev/null |
    sed -n 's/^ *UninstallString *REG_SZ *"\(.*\)"\r*$/\1/p')
  [ "$uninstaller" = "$win_dir\\Uninstall.exe" ] ||
    fail "$args: the uninstall entry names '$uninstaller', not $win_dir\\Uninstall.exe"

  # The uninstaller runs a copy of itself from the temporary folder and
  # returns at once: wait until that copy is done.
  "$wine_run" --build "$work" "${uninstaller:-$win_dir\\Uninstall.exe}" /S || fail "$args: the uninstaller failed"
  for ((i = 0; i < 60; i++)); do
    ! [ -e "$folder" ] && ! shortcut_dir >/dev/null && ! key_exists "$maker_key" && break
    sleep 0.5
  done
  [ -e "$folder" ] && fail "$args: after uninstalling, $dir still holds: $(ls "$folder")"
  links=$(shortcut_dir) && fail "$args: after uninstalling, the Start-menu folder is left: $(ls "$links")"
  key_exists "$uninstall_key" && fail "$args: after uninstalling, the uninstall entry is left"
  key_exists "$maker_key" && fail "$args: after uninstalling, $maker_key is left"
done

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed; the prefix stays in $WINEPREFIX"
  exit 1
fi
"$wine_run" --build "$work" --stop
trap - EXIT
rm -rf "$work"
echo "installer: all checks passed"
