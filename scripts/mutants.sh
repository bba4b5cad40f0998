#!/usr/bin/env bash
# The mutation check: applies, one at a time, each small fault listed below to the code
# that decides what happens to files, builds, and runs the test suite, which must fail
# for every one of them. Prints each fault with "caught" or "MISSED" and the score;
# fails when any fault is missed. Slow (a build and a test run per fault): .ci/run runs
# it only with MUTANTS=1. The sources are put back after each fault, also when stopped.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-mutants"
cd "$here"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null

# Each fault: the file, an exact text found there once, what it becomes, and what the
# fault would do.
files=() olds=() news=() faults=()
mutant() { files+=("$1") olds+=("$2") news+=("$3") faults+=("$4"); }

m=src/compare/matcher.cpp
mutant $m '> static_cast<quint64>(2 * one_second)' \
  '>= static_cast<quint64>(2 * one_second)' 'the tolerance takes in its bound'
mutant $m '(2 * one_second)' '(3 * one_second)' 'the tolerance is three seconds'
mutant $m 'file1.modified > file2.modified ? ListId::List3' \
  'file1.modified < file2.modified ? ListId::List3' 'the older file counts as newer'
mutant $m 'if (file1.length == file2.length) return ListId::List5;' 'return ListId::List5;' \
  'equal times are aligned whatever the lengths'
mutant $m 'file1.length > file2.length ? ListId::List3' 'file1.length < file2.length ? ListId::List3' \
  'the shorter file counts as newer'
c=src/compare/comparison.cpp
mutant $c 'open ? open->dir1->self().same_file(open->dir2->self()) : common.same_place(pane1, pane2)' \
  'false' 'a directory is compared with itself'

dr=src/models/drop_rules.h
mutant $dr '{{}, {move, 2}, {delete_other, 1}' '{{}, {move, 1}, {delete_other, 1}' \
  'a drop into "only in dir 1" moves the wrong way'
mutant $dr '{move, 2}, {delete_other, 1}, {delete_other, 1}, {delete_other, 1}}' \
  '{move, 2}, {delete_other, 2}, {delete_other, 2}, {delete_other, 2}}' \
  'a drop into "only in dir 1" deletes the copy it keeps'
mutant $dr '{copy, 2}, {copy, 1}, {copy, 2}' '{copy, 2}, {copy, 2}, {copy, 2}' \
  'a drop of "newer in dir 1" into "aligned" copies the older file'
mutant $dr '{copy, 2}, {}},' '{copy, 2}, {copy, 2}},' 'a drop on its own list acts'
t=src/align/transfers.cpp

g=src/align/file_guard.cpp
mutant $g 'now.modified != seen.modified ||' 'false ||' \
  'a file whose time changed passes the freshness check'
mutant $g 'now.length != seen.length)' 'false)' \
  'a file whose length changed passes the freshness check'
mutant $g '!now.regular ||' 'false ||' 'a directory in a file'\''s place passes the freshness check'
mutant $g 'if (a.dir->info(a.name).same_file(b.dir->info(b.name)))' 'if (false)' \
  'two names of one file pass the identity check'
mutant $g '  check_distinct(file, *other);' '' 'a deletion skips the identity check'
mutant $g '  check_unchanged(*other);' '' 'a copy is deleted for the sake of one that is gone'
mutant $g '  if (!target.exists(name)) return;' '  return;' 'a file that appeared since is overwritten'

mutant src/align/copier.cpp 'to.length == from.length' 'true' 'the copy check ignores the length'
mutant src/align/copier.cpp 'seconds_apart(to.modified, from.modified) <= 2' \
  'seconds_apart(to.modified, from.modified) <= 3600' 'the copy check ignores the time'

d=src/align/deletion.cpp
mutant $d 'if (answer != Answer::Yes) continue;' 'if (answer == Answer::Cancel) continue;' \
  'a deletion answered No deletes'
mutant $d 'if (rule.deletes(dir)) check_before_delete(entry, dir);' '(void)dir;' \
  'a drop deletes without checking the file'
mutant $d 'moves.left[ListId::List2].push_back(std::move(left));' '(void)left;' \
  'an aligned file half deleted leaves the lists'
mutant $t $'    place_as_found(std::move(*both));\n    throw Refusal' '    throw Refusal' \
  'a move whose source changed leaves the lists'

r=src/app/report.cpp
mutant $r 'if (failed || !tree.all_compared())' 'if (!tree.all_compared())' \
  'a tree report with a failed branch answers as complete'
mutant $r 'return differs ? report_status::differs : report_status::aligned;' \
  'return report_status::aligned;' 'trees that differ answer aligned'
mutant $r 'return g.GLB_difference_found ? report_status::differs : report_status::aligned;' \
  'return report_status::aligned;' 'a pair that differs answers aligned'

l=src/app/command_line.cpp
mutant $l "qsizetype p = text.indexOf(u'|');" "qsizetype p = text.lastIndexOf(u'|');" \
  'the last "|" separates'
mutant $l 'p = text.indexOf(QChar(0x00A7));' 'p = text.lastIndexOf(QChar(0x00A7));' \
  'the last "§" separates'

b=src/tree/branch_table.cpp
mutant $b '      side.flagged = true;' '      side.flagged = false;' 'the walk ignores the flag file'
mutant $b 'if (side1.flagged || side2.flagged) return;' 'if (side1.flagged) return;' \
  'the walk enters a branch flagged in tree 2'

# Every fault's text must be found once before anything is built: a text the code no
# longer holds is a fault that is no longer checked.
for i in "${!files[@]}"; do
  count=$(OLD="${olds[$i]}" perl -0ne '$n = () = /\Q$ENV{OLD}\E/g; print $n' "${files[$i]}")
  if [ "$count" != 1 ]; then
    echo "mutants: \"${olds[$i]}\" is found $count times in ${files[$i]}, not once" >&2
    exit 2
  fi
done

restore=""
# Put back with a new time, so that the next build compiles it again.
put_back() {
  if [ -n "$restore" ]; then
    mv -f "$restore.mutant-original" "$restore"
    touch "$restore"
    restore=""
  fi
}
trap put_back EXIT INT TERM

# The quick tests first, and the slow ones (the 100,000 files, the copy killed again and
# again) only once they pass: a fault is caught at the first test that fails.
slow='CopyKilled|BulkStress'
run_tests() {
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j2 -E "Install|FuseFolder|Layers|$slow" \
    --stop-on-failure >>"$build/mutant.log" 2>&1 &&
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j2 -R "$slow" --stop-on-failure \
      >>"$build/mutant.log" 2>&1
}

# The suite must pass without a fault, or no fault proves anything.
if ! cmake --build "$build" >"$build/mutant.log" 2>&1 || ! run_tests; then
  echo "mutants: the tests fail without any fault; see $build/mutant.log" >&2
  exit 2
fi

caught=0
missed=0
for i in "${!files[@]}"; do
  file="${files[$i]}" old="${olds[$i]}" new="${news[$i]}" fault="${faults[$i]}"
  cp "$file" "$file.mutant-original"
  restore="$file"
  OLD="$old" NEW="$new" perl -0pi -e 's/\Q$ENV{OLD}\E/$ENV{NEW}/' "$file"
  if ! cmake --build "$build" >"$build/mutant.log" 2>&1; then
    # A fault that does not build proves nothing about the tests.
    echo "mutants: the fault \"$fault\" does not build; see $build/mutant.log" >&2
    exit 2
  fi
  if run_tests; then
    echo "MISSED  $fault ($file)"
    missed=$((missed + 1))
  else
    echo "caught  $fault"
    caught=$((caught + 1))
  fi
  put_back
done
echo "mutants: $caught of ${#files[@]} caught"
[ "$missed" -eq 0 ]
