#!/bin/sh
# Runs a test with a HOME and XDG_CONFIG_HOME of its own, so settings stores never meet.
root=${VG_TEST_HOME_ROOT:-${TMPDIR:-/tmp}}
mkdir -p "$root"
home=$(mktemp -d "$root/home.XXXXXX") || exit 1
HOME=$home XDG_CONFIG_HOME=$home/.config "$@"
status=$?
rm -rf "$home"
exit $status
