# Shared by scripts/run, scripts/test and scripts/fuzz: installs what is missing,
# configures and builds. Sourced, not run; sets BUILD_DIR. EXTRA_PACKAGES adds packages,
# BUILD_TARGETS builds only those targets.
set -euo pipefail

ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT_DIR/build}

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev libsqlite3-dev libasound2-dev
  qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  gstreamer1.0-alsa gstreamer1.0-pulseaudio
  fonts-liberation fonts-dejavu-core fonts-dejavu-extra
  poppler-utils
  ${EXTRA_PACKAGES:-}
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Kuruluyor: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S "$ROOT_DIR" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_EXTRA_ARGS:-} >/dev/null
  local targets=()
  for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
  cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${targets[@]}"
}

install_missing
build
