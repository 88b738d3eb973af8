#!/bin/sh
# Installs the Debian packages named on the command line that are not installed yet.
# Quiet when everything is there; apt-get update runs only when something is missing.
set -e
missing=""
for package in "$@"; do
    case "$package" in
    *:i386)
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
    esac
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends $missing >/dev/null
