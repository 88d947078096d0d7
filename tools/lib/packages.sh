# Installs Debian packages that are missing, as root or through sudo; sourced by sh and bash scripts alike.
#   install_packages PACKAGE...   those of them not installed yet: one line naming them, apt-get update,
#                                 then a quiet install (only errors show)
#   missing_packages PACKAGE...   prints those of them not installed yet
#   as_root COMMAND...            a command as root: as it is for root, else through sudo
# shellcheck shell=sh disable=SC3043 # local: Debian's sh (dash) has it, as bash does

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo > /dev/null; then
        sudo "$@"
    else
        echo "Installing packages needs root: run as root or install sudo." >&2
        exit 1
    fi
}

# Prints those of the given packages that are not installed, on one line
missing_packages() {
    local missing='' package
    for package; do
        dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q "install ok installed" ||
            missing="$missing $package"
    done
    echo "${missing# }"
}

install_packages() {
    local missing
    missing=$(missing_packages "$@")
    [ -n "$missing" ] || return 0
    echo "Installing: $missing"
    # Only the packages need root: what the scripts build and the best-score file stay the user's own.
    as_root apt-get update -qq
    # shellcheck disable=SC2086 # one word a package
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing > /dev/null
}
