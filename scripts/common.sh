# Shared by scripts/run and scripts/test: install what is missing, configure, build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="${JOBS:-$(nproc)}"

# install_packages [LIST]: the packages of LIST (default scripts/packages.txt).
install_packages() {
  local list="${1:-$ROOT/scripts/packages.txt}"
  local missing=()
  while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done < "$list"
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# ensure_locale NAME (e.g. ja_JP.UTF-8): generates the locale when it is missing (the
# viewer's tests run under C.UTF-8 and ja_JP.UTF-8; the locales package is listed).
ensure_locale() {
  local name="$1"
  local short="${name%%.*}.utf8"
  if locale -a 2> /dev/null | grep -qix "$short"; then return; fi
  echo "Generating the $name locale"
  local sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  if grep -q "^# *$name " /etc/locale.gen; then
    $sudo sed -i "s/^# *$name /$name /" /etc/locale.gen
  elif ! grep -q "^$name " /etc/locale.gen; then
    echo "$name ${name#*.}" | $sudo tee -a /etc/locale.gen > /dev/null
  fi
  $sudo locale-gen > /dev/null
}

# configure_build DIR [cmake args...]
configure_build() {
  local dir="$1"; shift
  configure_build_targets "$dir" "" "$@"
}

# configure_build_targets DIR "TARGET..." [cmake args...]: builds only those targets
# (and what they depend on); all of them when the list is empty.
configure_build_targets() {
  local dir="$1" targets="$2"; shift 2
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" > "$ROOT/$dir.configure.log" 2>&1 || {
    cat "$ROOT/$dir.configure.log"; return 1; }
  if [[ -n "$targets" ]]; then
    # shellcheck disable=SC2086
    cmake --build "$ROOT/$dir" -j "$JOBS" --target $targets
  else
    cmake --build "$ROOT/$dir" -j "$JOBS"
  fi
}
