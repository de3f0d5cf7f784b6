#!/usr/bin/env bash
# Checks the include graph of the product folders. The folders are layers,
#   common < document < framework < settings < view < shell,
# and a file includes only from its own folder and the ones below it;
# framework, view and shell may also include resources/, whose id header in
# turn takes the settings subsystem's ids from settings/. Outside the win32/ subfolders, framework/ and
# resources/ no file includes a Windows header: that code builds natively.
# Prints every offending line and exits 1 when there is one.
#   scripts/check-layers.sh [SOURCE-ROOT]
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "$root"
folders=(common document framework settings view shell resources)

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- "${folders[@]}")
else
  mapfile -t files < <(find "${folders[@]}" -type f)
fi
sources=()
for file in "${files[@]}"; do
  case "$file" in
    *.h | *.hpp | *.c | *.cc | *.cpp | *.rc) [[ -f "$file" ]] && sources+=("$file") ;;
  esac
done
[[ ${#sources[@]} -gt 0 ]] || exit 0

grep -EHn '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "${sources[@]}" | awk '
  BEGIN {
    n = split("common document framework settings view shell", order, " ")
    for (i = 1; i <= n; ++i) rank[order[i]] = i
    bad = 0
  }
  {
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    text = substr(rest, length(line) + 2)
    folder = file; sub(/\/.*/, "", folder)
    pure = folder != "framework" && folder != "resources" && file !~ /\/win32\//

    if (match(text, /<[^>]+>/)) {
      header = tolower(substr(text, RSTART + 1, RLENGTH - 2))
      if (pure && header ~ /^(windows|win[a-z0-9]*|commctrl|commdlg|shellapi|shlwapi|objbase|ole2)\.h$/) {
        printf "%s:%s: platform header <%s> outside a win32/ folder\n", file, line, header
        bad = 1
      }
      next
    }
    if (!match(text, /"[^"]+"/)) next
    path = substr(text, RSTART + 1, RLENGTH - 2)
    if (path !~ /\//) next
    target = path; sub(/\/.*/, "", target)
    if (target == folder) next
    allowed = 0
    if (target == "resources") {
      allowed = folder == "framework" || folder == "view" || folder == "shell"
    } else if (folder == "resources") {
      allowed = path ~ /^settings\/[a-z_]*_ids\.h$/
    } else if (target in rank && folder in rank) {
      allowed = rank[target] < rank[folder]
    }
    if (!allowed) {
      printf "%s:%s: %s/ may not include \"%s\"\n", file, line, folder, path
      bad = 1
    }
  }
  END { exit bad }
'
