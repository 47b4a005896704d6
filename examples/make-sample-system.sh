#!/usr/bin/env bash
# Builds examples/sample-system: a stand-in system image whose registry is
# exported from a fresh 64-bit Wine prefix (only the keys the shipped topics
# look at, trimmed), with a small set of planted problems on top
# (examples/planted.reg and the files made below).
#
#   examples/make-sample-system.sh [OUTPUT_DIR]    (default: examples/sample-system)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/sample-system}"
work="$(mktemp -d)"
trap 'WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
"$wine" wineboot -i >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w || true

# The keys the topics read, and the shell folders that "@Desktop" and the
# other folder names resolve through.
keys=(
  'HKEY_CLASSES_ROOT\CLSID'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\HTML Help'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Drivers32'
  'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
  'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts'
  'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
  'HKEY_CURRENT_USER\Control Panel\Desktop'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Multimedia\SystemProfile'
  'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\FileSystem'
  'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management'
  'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters'
  'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\LanmanWorkstation\Parameters'
)
n=0
for key in "${keys[@]}"; do
  n=$((n + 1))
  "$wine" regedit /e "$(winepath -w "$work/$n.reg" 2>/dev/null || echo "Z:${work//\//\\}\\$n.reg")" "$key" \
    >/dev/null 2>&1 || true
done
/usr/lib/wine/wineserver -w || true

python3 "$here/trim-export.py" "$work" "$n" "$here/planted.reg" "$work/registry.reg" "${USER:-root}"

rm -rf "$out"
mkdir -p "$out"
cp "$work/registry.reg" "$out/registry.reg"
cat > "$out/environment" <<'ENV'
# The sample system's environment (NAME=VALUE); Windows-like defaults fill
# in the rest. The user folders match the exported shell folders.
USERNAME=sample
USERPROFILE=C:\users\sample
APPDATA=C:\users\sample\AppData\Roaming
LOCALAPPDATA=C:\users\sample\AppData\Local
TEMP=C:\users\sample\AppData\Local\Temp
TMP=C:\users\sample\AppData\Local\Temp
SystemRoot=C:\windows
windir=C:\windows
BRIMLOW_WINDOWS_VERSION=6.1.7601
ENV
python3 "$here/plant-files.py" "$out"
echo "sample system written to $out"
