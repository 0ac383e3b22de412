#!/bin/sh
# Installs the Debian packages Tarvel needs to build, test and run, if any are missing.
set -e
packages="cmake ninja-build g++ libgtest-dev libbenchmark-dev qt6-base-dev fonts-wqy-zenhei"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
