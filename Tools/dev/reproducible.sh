#!/usr/bin/env bash
# ./dev reproducible [ARCH] the packages of ./dev package built again elsewhere, compared byte for byte
source "$(dirname "$0")/lib.sh"
arch=${1:-$(dpkg --print-architecture)}
first=build-package/$arch
# A later build, from a deeper directory of another length: neither the time nor the build path
# may show in a package (the changelog's date stands for the time).
again=build-package/again/$arch/from/somewhere/else
shopt -s nullglob
debs=("$first"/*.deb)
if [ ${#debs[@]} -eq 0 ]; then
  echo "dev: no packages in $first; run ./dev package $arch first" >&2
  exit 1
fi
build_packages "$arch" "$again"
differ=()
for deb in "${debs[@]}"; do
  cmp -s "$deb" "$again/$(basename "$deb")" || differ+=("$(basename "$deb")")
done
if [ ${#differ[@]} -gt 0 ]; then
  ensure_packages diffoscope-minimal
  for deb in "${differ[@]}"; do
    diffoscope --text - "$first/$deb" "$again/$deb" | head -n 60 || true
  done
  echo "dev: ${#differ[@]} of ${#debs[@]} packages differ: ${differ[*]}" >&2
  exit 1
fi
echo "dev: all ${#debs[@]} $arch packages are byte for byte the same"
