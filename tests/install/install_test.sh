#!/usr/bin/env bash
# install_test.sh prefix|deb BUILD_DIR SOURCE_DIR
#   prefix: cmake --install into a temporary prefix, then from there: both programs run
#           and find their folder, the delivered files are there, the desktop entry and
#           the AppStream metainfo validate, a payer file has the program's file type and
#           opens in the program, bash completes qnvr's commands.
#   deb:    CPack's .deb, inspected with dpkg-deb: its dependencies and its files.
set -euo pipefail
mode=$1 build=$2 source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
check() { echo "ok: $*"; }

if [ "$mode" = prefix ]; then
  prefix=$work/usr
  cmake --install "$build" --prefix "$prefix" >/dev/null
  program=$prefix/lib/quenvora-w2/2026

  # The programs, through the links on the PATH, with no hint where their folder is.
  # The user who installed into the prefix may write the program folder: it is its own
  # state folder then.
  out=$(env -u QNVR_PROGRAM_DIR PATH="$prefix/bin:/usr/bin:/bin" quenvora-w2 --version)
  [ "$out" = "Quenvora W-2 Version 2026.00
Program folder: $program/
State folder: $program/" ] || fail "quenvora-w2 --version said: $out"
  check "quenvora-w2 runs from $prefix/bin and finds $program/"
  env -u QNVR_PROGRAM_DIR PATH="$prefix/bin:/usr/bin:/bin" qnvr help | grep -q 'qnvr transfer' || fail "qnvr help"
  check "qnvr runs from $prefix/bin"
  # qnvr hands print and design to qnvr-print in the program folder.
  env -u QNVR_PROGRAM_DIR PATH="$prefix/bin:/usr/bin:/bin" qnvr design FormW3 --names --pdf "$work/design.pdf" \
    >/dev/null || fail "qnvr design"
  [ "$(head -c 5 "$work/design.pdf")" = "%PDF-" ] || fail "qnvr design wrote no PDF"
  check "qnvr design runs the installed qnvr-print"

  # The program folder holds every asset of the source tree and the documents.
  while IFS= read -r asset; do
    [ -f "$program/$asset" ] || fail "not installed: $asset"
  done < <(cd "$source/assets" && find . -type f ! -name CMakeLists.txt | sed 's|^\./||')
  for f in "Inst W2W3.pdf" CountryCodes.pdf; do [ -s "$program/$f" ] || fail "not installed: $f"; done
  check "assets and documents in the program folder"

  # A user who may not write the program folder keeps the program's own files in a state
  # folder below the home folder, which the program creates.
  chmod a-w "$program"
  chmod 755 "$work"
  home=$work/home
  mkdir -p "$home"
  as_user=()
  if [ "$(id -u)" = 0 ]; then
    chown nobody "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  out=$("${as_user[@]}" env -u QNVR_PROGRAM_DIR -u XDG_STATE_HOME HOME="$home" "$prefix/bin/quenvora-w2" --version)
  [ "$(echo "$out" | tail -1)" = "State folder: $home/.local/state/quenvora-w2/2026/" ] || fail "state folder: $out"
  [ -d "$home/.local/state/quenvora-w2/2026" ] || fail "state folder not created"
  chmod u+w "$program"
  check "a user who may not write $program/ keeps the program's files in ~/.local/state/quenvora-w2/2026/"

  # qnvr works from there on a file: last year's folder without files is refused.
  mkdir -p "$work/2025" "$work/2026"
  if env -u QNVR_PROGRAM_DIR "$prefix/bin/qnvr" transfer --to "$work/2026" "$work/2025" 2>"$work/err"; then
    fail "transfer of an empty folder succeeded"
  fi
  grep -q "2025 data files not found in specified location" "$work/err" || fail "transfer message: $(cat "$work/err")"

  desktop=$prefix/share/applications/com.quenvora.W2.desktop
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  check "desktop-file-validate"
  appstreamcli validate --no-net "$prefix/share/metainfo/com.quenvora.W2.metainfo.xml" || fail "appstreamcli validate"
  check "appstreamcli validate"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/com.quenvora.W2.svg" ] || fail "icon"
  for page in qnvr quenvora-w2; do
    [ -f "$prefix/share/man/man1/$page.1" ] || fail "man page $page"
    man -l "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null | grep . && fail "man page $page has errors"
  done
  check "icon and man pages"

  # The payer file type and the program that opens it, as a file manager finds them.
  update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail update-mime-database
  update-desktop-database "$prefix/share/applications" || fail update-desktop-database
  printf 'x' > "$work/ACME.W226"
  printf 'x' > "$work/acme.w226"
  export XDG_DATA_DIRS=$prefix/share:/usr/share XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
  export XDG_CURRENT_DESKTOP=X-Generic
  type=$(xdg-mime query filetype "$work/ACME.W226")
  [ "$type" = application/x-quenvora-w2-payer ] || fail "xdg-mime query filetype: $type"
  other=$(xdg-mime query filetype "$work/acme.w226")
  [ "$other" != application/x-quenvora-w2-payer ] || fail "a lower-case .w226 is no payer file"
  default=$(xdg-mime query default application/x-quenvora-w2-payer)
  [ "$default" = com.quenvora.W2.desktop ] || fail "xdg-mime query default: $default"
  check "xdg-mime: $type opens with $default"

  # Bash completes qnvr's commands and options.
  completions=$(bash -c '
    source "$1"
    complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(( $# - 1 )); COMPREPLY=(); _qnvr; echo "${COMPREPLY[*]}"; }
    complete_words qnvr tr
    complete_words qnvr transfer --o' _ "$prefix/share/bash-completion/completions/qnvr")
  [ "$completions" = "transfer
--overwrite" ] || fail "bash completion: $completions"
  check "bash completion"
  exit 0
fi

if [ "$mode" = deb ]; then
  cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
  deb=$(ls "$work"/package/*.deb)
  info=$(dpkg-deb --info "$deb")
  echo "$info" | grep -q '^ Package: quenvora-w2$' || fail "package name"
  depends=$(echo "$info" | sed -n 's/^ Depends: //p')
  for lib in libc6 libstdc++6 libqt6widgets6 libqt6network6 libcups2 libhpdf libpcre2-8-0 libssl3 qt6-qpa-plugins; do
    echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
  done
  check "Depends: $depends"
  contents=$(dpkg-deb --contents "$deb")
  for path in ./usr/lib/quenvora-w2/2026/quenvora-w2 ./usr/lib/quenvora-w2/2026/qnvr \
              ./usr/lib/quenvora-w2/2026/qnvr-print \
              "./usr/lib/quenvora-w2/2026/Inst W2W3.pdf" ./usr/lib/quenvora-w2/2026/help/1.html \
              ./usr/share/applications/com.quenvora.W2.desktop ./usr/share/mime/packages/com.quenvora.W2.xml \
              ./usr/share/metainfo/com.quenvora.W2.metainfo.xml ./usr/share/man/man1/qnvr.1 \
              ./usr/share/bash-completion/completions/qnvr; do
    echo "$contents" | grep -qF " $path" || fail "not in the package: $path"
  done
  echo "$contents" | grep -qF "./usr/bin/qnvr -> ../lib/quenvora-w2/2026/qnvr" || fail "qnvr link"
  echo "$contents" | grep -qF "./usr/bin/quenvora-w2 -> ../lib/quenvora-w2/2026/quenvora-w2" || fail "quenvora-w2 link"
  check "package contents"
  exit 0
fi
fail "unknown mode $mode"
