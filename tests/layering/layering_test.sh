#!/bin/sh
# Builds each layering probe (CMAKE BUILD_DIR PROBES): a probe whose library may include the
# header must compile, one whose library may not must fail with the header not found.
cmake=$1 build=$2 probes=$3
failures=0
while read -r target expected library header; do
  out=$("$cmake" --build "$build" --target "$target" 2>&1)
  status=$?
  if [ "$expected" = yes ] && [ $status -ne 0 ]; then
    echo "FAIL: $library cannot include $header:"; echo "$out" | tail -5
    failures=$((failures + 1))
  elif [ "$expected" = no ] && [ $status -eq 0 ]; then
    echo "FAIL: $library includes $header although it does not link its library"
    failures=$((failures + 1))
  elif [ "$expected" = no ] && ! echo "$out" | grep -q "$header: No such file"; then
    echo "FAIL: $library with $header failed for another reason:"; echo "$out" | tail -5
    failures=$((failures + 1))
  else
    echo "ok: $library $( [ "$expected" = yes ] && echo includes || echo 'cannot include' ) $header"
  fi
done < "$probes"
[ $failures -eq 0 ]
