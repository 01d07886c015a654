#!/usr/bin/env bash
# Builds the Debian package from a configured and built folder (build, or
# $CRICKLET_BUILD_DIR), lists what it installs and lets lintian check it:
# lintian's errors fail, its warnings are shown.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${CRICKLET_BUILD_DIR:-build}
rm -f "$build_dir"/cricklet_*.deb
(cd "$build_dir" && cpack -G DEB)
package=$(ls "$build_dir"/cricklet_*.deb)
dpkg-deb --info "$package"
contents=$(dpkg-deb --contents "$package")
echo "$contents"
for file in bin/cricklet bin/cricklet-cmd share/applications/ share/metainfo/ \
    share/icons/hicolor/48x48/apps/cricklet.png share/icons/hicolor/scalable/apps/cricklet.svg \
    share/cricklet/Template.htm share/cricklet/Help/ckhelp.htm \
    share/man/man1/cricklet.1.gz share/man/man1/cricklet-cmd.1.gz share/doc/cricklet/copyright; do
    if ! grep -q "\./usr/$file" <<<"$contents"; then
        echo "package: /usr/$file is missing from $package" >&2
        exit 1
    fi
done
lintian --fail-on error "$package"
