#!/usr/bin/env bash
# The release packages, statically: the ZIP holds exactly the program folder
# that the build made; the installer and the programs are PE files of the
# package's architecture; each program has its subsystem, imports only DLLs
# of Windows itself, carries no manifest and no debug traces; the monitor
# keeps its version resource.
#
#   files_test.sh ROOT SOURCE_DIR VERSION
#
# ROOT holds the builds of scripts/release --build-root ROOT.
set -u
export LC_ALL=C
root=$(cd "$1" && pwd) source=$2 version=$3

# DLLs that come with Windows (XP and later); the runtime is linked in.
allowed_dlls=(advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll winspool.drv ws2_32.dll)
windows_dll() {
  local d
  for d in "${allowed_dlls[@]}"; do [ "$d" = "$1" ] && return 0; done
  return 1
}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

work=$(mktemp -d "${TMPDIR:-/tmp}/release-files.XXXXXX")
trap 'rm -rf "$work"' EXIT

# preset  package  objdump prefix  PE format
packages=(
  "win32-release win32 i686-w64-mingw32 pei-i386"
  "win64-release win64 x86_64-w64-mingw32 pei-x86-64"
)
# program  version resource  subsystem
programs=(
  "spoolscope.exe yes Windows GUI"
  "procfix.exe no Windows CUI"
)

# The resource types at the top of a program's resource directory.
resource_types() {
  "$1-objdump" -p "$2" | sed -n 's/^[0-9a-f]\{3\}   Entry: ID: 0x0*\([0-9a-f]*\),.*/\1/p'
}

# The file version and flags of the VS_FIXEDFILEINFO in a file ("" if none).
fixed_file_info() {
  local off ms lsw flags
  off=$(grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -1 | cut -d: -f1)
  [ -n "$off" ] || return 0
  read -r _ _ ms lsw _ _ _ flags < <(od -An -tx4 -j "$off" -N 32 "$1" | tr -s ' \n' '  ')
  echo "$((16#$ms >> 16)).$((16#$ms & 0xffff)).$((16#$lsw >> 16)).$((16#$lsw & 0xffff)) flags=$((16#$flags))"
}

for entry in "${packages[@]}"; do
  read -r preset system triple format <<<"$entry"
  build=$root/$preset
  name=spoolscope-$version-$system
  zip=$build/packages/$name.zip
  installer=$build/packages/$name.exe
  echo "== $name"

  if ! [ -f "$zip" ]; then
    fail "$zip is missing"
    continue
  fi
  expected=$(printf '%s\n' "$name/README.txt" "$name/procfix.exe" "$name/spoolscope.exe")
  listed=$(cd "$work" && cmake -E tar tf "$zip" | sort)
  [ "$listed" = "$expected" ] || fail "$name.zip holds:"$'\n'"$listed"$'\n'"expected:"$'\n'"$expected"
  mkdir -p "$work/$system"
  (cd "$work/$system" && cmake -E tar xf "$zip")
  folder=$work/$system/$name

  if [ -f "$installer" ]; then
    "$triple-objdump" -f "$installer" | grep -q "file format $format\$" || fail "$name.exe is not $format"
  else
    fail "$installer is missing"
  fi

  for entry2 in "${programs[@]}"; do
    read -r program has_version subsystem <<<"$entry2"
    exe=$folder/$program
    [ -f "$exe" ] || { fail "$name: no $program"; continue; }
    # The build links both programs into one folder, as the monitor expects,
    # and the packages ship them as they are.
    cmp -s "$build/bin/$program" "$exe" || fail "$name/$program is not $preset/bin/$program"
    headers=$("$triple-objdump" -p "$exe")
    grep -q "file format $format\$" <<<"$headers" || fail "$name/$program is not $format"
    grep -Eq "^Subsystem[[:space:]]+[0-9a-f]+[[:space:]]+\($subsystem\)" <<<"$headers" ||
      fail "$name/$program: subsystem is not $subsystem: $(grep '^Subsystem' <<<"$headers")"
    dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | tr -d '\r')
    grep -qx kernel32.dll <<<"$dlls" || fail "$name/$program: no import table read (no KERNEL32.dll)"
    for dll in $dlls; do
      windows_dll "$dll" || fail "$name/$program imports $dll, which Windows does not ship"
    done
    # No manifest (see spoolscope/res); the monitor's version resource as
    # the .rc defines it, VS_FF_DEBUG included.
    types=$(resource_types "$triple" "$exe")
    grep -qx 18 <<<"$types" && fail "$name/$program carries a manifest"
    if [ "$has_version" = yes ]; then
      grep -qx 10 <<<"$types" || fail "$name/$program has no version resource"
      info=$(fixed_file_info "$exe")
      [ "$info" = "$version flags=1" ] || fail "$name/$program: version resource is '$info', not '$version flags=1'"
    fi
    # TRACE and assert name their source file; a release build has neither.
    if grep -a -q -F "$source/" "$exe"; then
      fail "$name/$program holds source paths (debug traces or asserts): $(grep -a -o -F "$source/" "$exe" | head -1)"
    fi
  done

  readme=$folder/README.txt
  if [ -f "$readme" ]; then
    grep -q -v $'\r$' "$readme" && fail "$name/README.txt has lines without CRLF"
    grep -q "^spoolscope $version"$'\r$' "$readme" || fail "$name/README.txt does not name version $version"
  fi
done

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "release packages: all checks passed"
