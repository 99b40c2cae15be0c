# shellcheck shell=bash
# Installs the Debian packages of the tools that are missing (sourced by
# scripts/test and scripts/demo).
#
#   install_missing TOOL:PACKAGE...
#
# TOOL is a command looked up in PATH, or an absolute path that must exist;
# PACKAGE is the Debian package that provides it. apt-get runs only when
# something is missing, through sudo unless we are root.
install_missing() {
  local missing=() entry tool pkg
  for entry in "$@"; do
    tool=${entry%%:*}
    pkg=${entry#*:}
    if [[ $tool == /* ]]; then
      [ -e "$tool" ] && continue
    elif command -v "$tool" >/dev/null 2>&1; then
      continue
    fi
    missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && { echo "all packages present"; return 0; }
  echo "installing: ${missing[*]}"
  local sudo=
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}
