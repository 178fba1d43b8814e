# Sourced by the measuring scripts with their arguments: the build's two programs, a scratch
# folder that goes at exit (KEEP=1 keeps it and names it) and Qt's offscreen platform with
# settings of its own.
build=$(cd "${1:?usage: $(basename "$0") BUILD_DIR ...}" && pwd)
program="$build/src/GUIMain/skyfirewright"
cli="$build/tools/cli/skyfirewright-cli"
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
[ -z "${KEEP:-}" ] || echo "kept: $work"
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
