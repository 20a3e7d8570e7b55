#!/usr/bin/env bash
# The Debian package's Depends name every package that ships something Qt loads at run time for the
# program: the SQL driver of each engine the sources open, the platform plugin, and Qt's own
# translation for each language the program is translated into; and the template head the brain
# space reads.
# A package that ships a library the program links is named by the package's library scan and
# counts as well.
#   check-depends.sh "DEPENDS" SOURCE_DIR QTPATHS PROGRAM
set -euo pipefail
depends="$1" source="$2"
for library in $(ldd "$4" | awk '$3 ~ /^\// { print $3 }'); do
  # dpkg knows a library by the path it installed, which a merged /usr may give in either form.
  owner=$({ dpkg-query -S "$library" || dpkg-query -S "$(readlink -f "$library")" || dpkg-query -S "/usr$library"; } 2>/dev/null | head -1 | cut -d: -f1) || true
  depends+=", $owner"
done
plugins=$("$3" --query QT_INSTALL_PLUGINS)
translations=$("$3" --query QT_INSTALL_TRANSLATIONS)
declare -A driver_files=([QSQLITE]=libqsqlite.so [QPSQL]=libqsqlpsql.so [QMYSQL]=libqsqlmysql.so [QODBC]=libqsqlodbc.so)

needed=()
for driver in $(grep -rhoE '"Q(SQLITE|PSQL|MYSQL|ODBC)"' "$source"/core "$source"/data | tr -d '"' | sort -u); do
  needed+=("$plugins/sqldrivers/${driver_files[$driver]}")
done
needed+=("$plugins/platforms/libqxcb.so")
needed+=(/usr/share/mricron/templates/ch2.nii.gz)
for ts in "$source"/translations/zokorvane_*.ts; do
  language=$(basename "$ts" .ts)
  language=${language#zokorvane_}
  [ "$language" = en ] && continue # the sources are English: Qt's texts need no translation
  needed+=("$translations/qtbase_$language.qm")
done

missing=0
for file in "${needed[@]}"; do
  package=$(dpkg-query -S "$file" 2>/dev/null | head -1 | cut -d: -f1) || true
  if [ -z "$package" ]; then
    echo "not installed here, so its package is unknown: $file" >&2
    missing=1
  elif ! tr ',' '\n' <<<"$depends" | sed 's/ //g; s/(.*//' | grep -qx "$package"; then
    echo "the package's Depends lack $package (for $file)" >&2
    missing=1
  else
    echo "$package ships $file"
  fi
done
exit $missing
