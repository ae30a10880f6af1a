#!/usr/bin/env bash
# Installs every Debian package Zendrik needs to build, run and test. Idempotent: asks dpkg first
# and runs apt-get only for what is missing.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build ccache g++ pkg-config
  # GUI toolkit
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # called libraries
  libjpeg62-turbo-dev libzip-dev libcurl4-openssl-dev libssl-dev libtirpc-dev rpcsvc-proto
  libusb-1.0-0-dev
  # fonts with fixed metrics, so text measures the same everywhere
  fonts-liberation2 fonts-dejavu-core
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev locales-all xvfb xauth
  # the chart benchmark's comparison: QCustomPlot (its Qt 6 library)
  libqcustomplot-dev
  # fuzzing (the fuzz preset and scripts/fuzz.sh)
  clang-14 libfuzzer-14-dev
  # real peers used by tests: VISA clients, rpcbind, metafile reader, zip checker
  python3 python3-pyvisa-py lxi-tools rpcbind libwmf-bin fonts-urw-base35 unzip zip poppler-utils
  # readers of the exported chart pictures: djpeg, ImageMagick's identify and mogrify, file
  libjpeg-turbo-progs imagemagick file
  # a reader of the exported enhanced metafiles (converts them to PNG and PDF)
  libreoffice-draw-nogui
  # KML readers: a validating XML parser and GDAL
  libxml2-utils gdal-bin
  # an NMEA reader that checks the receiver's sentences
  python3-nmea2
  # numpy recomputes the calculated series
  python3-numpy
  # an SMTP server on loopback for the mail tests, and the command that makes their certificate
  python3-aiosmtpd openssl
  # a second metafile reader: ImageMagick with its extra coders (WMF through libwmf, SVG)
  imagemagick libmagickcore-6.q16-6-extra
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
