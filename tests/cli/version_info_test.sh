#!/usr/bin/env bash
# version-info end to end over the MinGW-built fixtures: first lines in UTF-8,
# empty values for files without strings, a message and exit status 1 for a
# missing file while the other files are still shown.
set -u
cli=$1
pe=$2
. "$(dirname "$0")/../check.sh"

# Files are named by their whole paths, with the system's separators.
shown() { if [ -n "${OSTRAVION_WINDOWS:-}" ]; then printf 'Z:%s' "${1//\//\\}"; else printf %s "$1"; fi; }

expected="$(shown "$pe/korean.exe")
  CompanyName: 국내 소프트웨어(주)
  FileDescription: 감사 도구
  ProductName: 오스트라비온 점검
  ProductVersion: 1, 2, 3, 4
$(shown "$pe/twoline.dll")
  CompanyName: Two Line Co.
  FileDescription: line1
  ProductName: first
  ProductVersion: 3.0
$(shown "$pe/nover.dll")
  CompanyName:
  FileDescription:
  ProductName:
  ProductVersion:"
out=$("$cli" version-info "$pe/korean.exe" "$pe/twoline.dll" "$pe/nover.dll" 2>&1)
check "strings of three files" "$expected" "$out"

err=$("$cli" version-info "$pe/missing.exe" "$pe/english.dll" 2>&1 >/dev/null)
status=$?
check "missing file: message" "ostravion-cli: $(shown "$pe/missing.exe"): 파일이 없습니다" "$err"
check "missing file: status" "1" "$status"
out=$("$cli" version-info "$pe/missing.exe" "$pe/english.dll" 2>/dev/null)
check "the other file is still shown" "  CompanyName: Example Software Inc." "$(echo "$out" | sed -n 2p)"

err=$("$cli" version-info "$pe" 2>&1 >/dev/null)
check "a folder is refused" "ostravion-cli: $(shown "$pe"): 파일이 아닙니다" "$err"

exit $fail
