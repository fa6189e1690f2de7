# What bench/run.sh and bench/access.sh share; sourced, not run.

# A digest of the rows and the structure of the upgraded tables in folder $1,
# storage types included, for comparing the results of two upgrading paths.
content_of() {
  sqlite3 "$1/katalog.mdb" ".mode quote" \
    "SELECT * FROM FILMY ORDER BY rowid" "SELECT * FROM WYPOZYCZ ORDER BY rowid" \
    "SELECT * FROM pragma_table_info('FILMY')" "SELECT * FROM pragma_table_info('WYPOZYCZ')" \
    "SELECT name FROM sqlite_schema WHERE type = 'index' ORDER BY name" \
    "SELECT * FROM MSysFields ORDER BY 1, 2" "SELECT * FROM MSysIndexes ORDER BY 1, 2" | sha256sum
}

# Sets shape_option to the sample generator's option for shape $1 ("usual", "heavy").
set_shape_option() {
  case $1 in
    usual) shape_option=() ;;
    heavy) shape_option=(--heavy) ;;
    *) echo "unknown shape $1 (usual, heavy)" >&2; exit 2 ;;
  esac
}

# Runs a command on a fresh copy of a source folder ($work/run), the folder
# last; sets took (wall-clock seconds), kib (peak resident memory) and out
# (its output).
run_once() {
  local source=$1; shift
  rm -rf "$work/run"
  cp -r "$source" "$work/run"
  sync
  local start=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$work/peak" "$@" "$work/run" >"$work/out" 2>&1 ||
    { cat "$work/out" >&2; echo "failed: $*" >&2; exit 1; }
  local end=$EPOCHREALTIME
  took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  kib=$(tail -n 1 "$work/peak")
  out=$(cat "$work/out")
}
