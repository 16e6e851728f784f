#!/usr/bin/env bash
# make install and make uninstall.
#
#   scripts/install-tree.sh install   BUILD_DIR PREFIX [DESTDIR]
#   scripts/install-tree.sh uninstall BUILD_DIR PREFIX [DESTDIR]
#
# install runs `cmake --install` for PREFIX (staged under DESTDIR when given)
# and records, for that destination alone, the files it put in place and the
# directories it had to make. uninstall removes exactly those files, then
# those directories where they are left empty, and forgets the record; with
# no record for the destination it touches nothing. The records live in
# BUILD_DIR/installs, one per destination, so installs to several prefixes
# are undone each on its own.
set -euo pipefail

usage() {
  echo "usage: $0 install|uninstall BUILD_DIR PREFIX [DESTDIR]" >&2
  exit 2
}

[[ $# -ge 3 && $# -le 4 ]] || usage
action=$1
build=$2
prefix=$(realpath -m -- "$3")
destdir=${4:-}
[[ -n "$destdir" ]] && destdir=$(realpath -m -- "$destdir")
root="$destdir$prefix"
records="$build/installs"
record="$records/$(printf '%s' "$root" | md5sum | cut -d' ' -f1).txt"

# The files an install lists (cmake's manifest names them without DESTDIR).
installed_files() {
  # The manifest's last line has no newline.
  while IFS= read -r file || [[ -n "$file" ]]; do
    echo "$destdir$file"
  done < "$build/install_manifest.txt"
}

# Every directory above the given files, up to /, that does not exist yet.
missing_directories() {
  while IFS= read -r file; do
    dir=$(dirname -- "$file")
    while [[ "$dir" != / && ! -e "$dir" ]]; do
      echo "$dir"
      dir=$(dirname -- "$dir")
    done
  done | sort -u
}

install_tree() {
  [[ -f "$build/cmake_install.cmake" ]] || { echo "$build is not a configured build" >&2; exit 1; }
  # A staged install first tells which files will come, so which directories
  # are missing for them can be known before the real install makes them.
  stage=$(mktemp -d)
  trap 'rm -rf "$stage"' EXIT
  DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" > /dev/null
  local made
  made=$(installed_files | missing_directories)

  DESTDIR="$destdir" cmake --install "$build" --prefix "$prefix"

  mkdir -p "$records"
  {
    echo "# $root"
    # A repeated install keeps what the earlier one made.
    if [[ -f "$record" ]]; then
      grep -E '^[fd] ' "$record" || true
    fi
    if [[ -n "$made" ]]; then
      sed 's/^/d /' <<< "$made"
    fi
    installed_files | sed 's/^/f /'
  } | awk '!seen[$0]++' > "$record.new"
  mv "$record.new" "$record"
}

uninstall_tree() {
  if [[ ! -f "$record" ]]; then
    echo "nothing installed to $root from $build"
    return
  fi
  grep '^f ' "$record" | cut -c3- | while IFS= read -r file; do
    if [[ -e "$file" || -L "$file" ]]; then
      rm -f -- "$file"
      echo "removed $file"
    fi
  done
  # Deepest first, so a directory empties before its parent is tried.
  grep '^d ' "$record" | cut -c3- | sort -r | while IFS= read -r dir; do
    rmdir -- "$dir" 2> /dev/null && echo "removed $dir/" || true
  done
  rm -f -- "$record"
}

case "$action" in
  install) install_tree ;;
  uninstall) uninstall_tree ;;
  *) usage ;;
esac
