# Shared by the shell tests: a temporary folder removed at the end, failure
# counting, a tab for comparing tab-separated output.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
tab=$'\t'
