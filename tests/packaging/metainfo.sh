#!/usr/bin/env bash
# The AppStream data passes appstreamcli validate and lists this version.
. "$(dirname "$0")/common.sh"
need appstreamcli appstream

file=$(ls "$RESHEAT_SOURCE_DIR"/packaging/*.metainfo.xml)
appstreamcli validate --no-net "$file" || fail "appstreamcli validate"
grep -qF "<release version=\"$RESHEAT_VERSION\"" "$file" || fail "no release $RESHEAT_VERSION in the metainfo"
echo "metainfo: valid"
