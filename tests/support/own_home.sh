# Sourced by a test script first thing: a scratch folder ($work), removed when the script
# ends, that is its home and holds its XDG folders, so that nothing the script runs reads or
# writes the caller's.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
export XDG_RUNTIME_DIR=$work/runtime
