#!/usr/bin/env bash
# Sets up the machine, builds the programs with Debian's build flags and makes
# the Debian package vidarkon-patch_<version>_<arch>.deb at the top of the
# repository, then checks it (contents, lintian, the packaged programs).
# Install it with: apt-get install ./vidarkon-patch_<version>_<arch>.deb
. "$(dirname "$0")/build-lib.sh"

# Debian's hardening and optimisation flags, as a Debian package build uses them.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
dir=build-package
vk_configure "$dir" -DCMAKE_BUILD_TYPE=None -DVK_BUILD_TESTS=OFF -DVK_WERROR=OFF
vk_build "$dir"

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$dir/CPackConfig.cmake")
deb=vidarkon-patch_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
(cd "$dir" && cpack -G DEB)
cp "$dir/$deb" .
bash tests/package/package_test.sh "$deb" "$version"
echo "Made $deb; install it with: apt-get install ./$deb"
