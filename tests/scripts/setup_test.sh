#!/usr/bin/env bash
# scripts/setup.sh installs what is missing with apt-get so that nothing can wait on a question:
# DEBIAN_FRONTEND=noninteractive reaches apt-get as root and through sudo, whose env_reset drops
# the caller's environment; and apt's own lines are shown, not thrown away. apt-get, sudo, id
# and dpkg-query are stood in for: every package is missing, sudo runs its command in a reset
# environment as the real one does, and apt-get says what it was asked and what it was given.
set -euo pipefail
setup=${1:?usage: setup_test.sh <scripts/setup.sh>}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stub() {
    printf '#!/bin/sh\n%s\n' "$2" >"$work/$1"
    chmod +x "$work/$1"
}
stub dpkg-query 'exit 1'
stub sudo 'exec env -i PATH="$PATH" "$@"'
stub apt-get 'for a; do case $a in update | install)
    echo "apt-get $a, DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-unset}"; exit 0 ;; esac; done; exit 1'

failed=0
# name | the user id that id(1) reports
for row in "as root|0" "through sudo|1000"; do
    IFS='|' read -r name uid <<<"$row"
    stub id "echo $uid"
    said=$(env -u DEBIAN_FRONTEND PATH="$work:$PATH" \
        bash -c 'source "$1" && karuta_install_packages' setup "$setup" 2>&1) || true
    echo "$name: $(tr '\n' ';' <<<"$said")"
    for step in update install; do
        if ! grep -qx "apt-get $step, DEBIAN_FRONTEND=noninteractive" <<<"$said"; then
            echo "FAIL: $name: apt-get $step was not seen, or ran without DEBIAN_FRONTEND" >&2
            failed=1
        fi
    done
done
exit "$failed"
