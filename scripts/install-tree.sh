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
#
# A build tree may be writable by anyone while uninstall runs as root, so a
# record is not trusted: uninstall removes only regular files inside the
# destination and empty directories inside it (or inside DESTDIR), after
# resolving ".." and links; it names anything else and leaves it.
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
# Where uninstall may remove directories: the staging tree as a whole when
# there is one.
area=$(realpath -m -- "${destdir:-$root}")
real_root=$(realpath -m -- "$root")
records="$build/installs"
record="$records/$(printf '%s' "$root" | md5sum | cut -d' ' -f1).txt"

# The files an install lists (cmake's manifest names them without DESTDIR).
installed_files() {
  # The manifest's last line has no newline.
  while IFS= read -r file || [[ -n "$file" ]]; do
    echo "$destdir$file"
  done < "$build/install_manifest.txt"
}

# Whether path, with ".." and links resolved, is directory or lies in it.
within() {
  local real
  real=$(realpath -m -- "$1")
  [[ "$real" == "$2" || "$real" == "$2"/* ]]
}

# Every directory above the given files, inside the area, that does not
# exist yet.
missing_directories() {
  while IFS= read -r file; do
    dir=$(dirname -- "$file")
    while [[ "$dir" != / && ! -e "$dir" ]] && within "$dir" "$area"; do
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
    [[ -e "$file" || -L "$file" ]] || continue
    # The file's own name is not resolved: a link there is not a regular file.
    real="$(realpath -m -- "$(dirname -- "$file")")/$(basename -- "$file")"
    if ! within "$(dirname -- "$real")" "$real_root"; then
      echo "skipped $file: not inside $root" >&2
    elif [[ -L "$real" || ! -f "$real" ]]; then
      echo "skipped $file: not a regular file" >&2
    else
      rm -f -- "$real"
      echo "removed $file"
    fi
  done
  # Deepest first, so a directory empties before its parent is tried.
  grep '^d ' "$record" | cut -c3- | sort -r | while IFS= read -r dir; do
    [[ -e "$dir" || -L "$dir" ]] || continue
    if [[ -L "$dir" || ! -d "$dir" ]]; then
      echo "skipped $dir: not a directory" >&2
    elif ! within "$dir" "$area"; then
      echo "skipped $dir: not inside ${destdir:-$root}" >&2
    else
      rmdir -- "$(realpath -m -- "$dir")" 2> /dev/null && echo "removed $dir/" || true
    fi
  done
  rm -f -- "$record"
}

case "$action" in
  install) install_tree ;;
  uninstall) uninstall_tree ;;
  *) usage ;;
esac
