# Installs the Debian packages the build needs when any is missing.
# Sourced by scripts/run and scripts/test.

VORK_PACKAGES="cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev"

vork_install_packages() {
  local missing=""
  for package in $VORK_PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $package"
    fi
  done
  if [ -z "$missing" ]; then
    return 0
  fi
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "These Debian packages are missing:$missing" >&2
      echo "Install them as root (apt-get install$missing), or install sudo, and run this again." >&2
      return 1
    fi
    sudo="sudo"
  fi
  echo "Installing:$missing"
  $sudo apt-get update
  # Through env, since sudo clears the caller's environment.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
}
