#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Quick and silent when everything is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libfontconfig-dev libharfbuzz-dev fontconfig
  libharfbuzz-bin                                         # hb-subset, run by the program
  fonts-dejavu-core fonts-wqy-microhei fonts-urw-base35   # window text and test fonts
  fonts-dejavu-extra                                      # families with Condensed and ExtraLight faces
  fonts-noto-cjk fonts-wqy-zenhei fonts-arphic-uming      # collections of many faces; more families than the tests count on
  opentype-sanitizer                                      # ots-sanitize: every written font must pass it
  libwoff-dev woff2                                       # WOFF2 output; woff2_compress compared against in bench/
  qt6-translations-l10n                                   # Qt's own buttons and file dialogs in Chinese
  unicode-data locales                                    # sources of the standard character sets' table
  xvfb xauth xdotool imagemagick                          # a real display for tests, and screenshots of it
  desktop-file-utils dpkg-dev                             # checking the menu entry, building the .deb
  fonttools python3-fonttools                             # pyftsubset in bench/; tests read subsets back, build variable fonts
  libfreetype-dev                                         # rasterizing LVGL bitmap fonts
  nodejs                                                  # runs lv_font_conv, the reference LVGL font converter
  chromium                                                # opens the web slices' test page headless in a test
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  if [ "$(id -u)" != 0 ]; then
    echo "These Debian packages are missing; run as root to install them: ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The LVGL font converter the tests and benchmarks compare against, pinned.
lv_font_conv_dir=/opt/lv_font_conv
lv_font_conv_version=1.5.3
if ! grep -qs "\"version\": \"$lv_font_conv_version\"" "$lv_font_conv_dir/node_modules/lv_font_conv/package.json"; then
  if [ "$(id -u)" != 0 ]; then
    echo "lv_font_conv $lv_font_conv_version is missing; run as root to install it into $lv_font_conv_dir" >&2
    exit 1
  fi
  echo "Installing lv_font_conv $lv_font_conv_version into $lv_font_conv_dir"
  # Debian's nodejs comes without npm; other builds of it carry their own.
  if ! command -v npm >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm >/dev/null
  fi
  mkdir -p "$lv_font_conv_dir"
  npm install --prefix "$lv_font_conv_dir" --no-audit --no-fund --silent "lv_font_conv@$lv_font_conv_version" >/dev/null
fi
