#!/usr/bin/env bash
# Placeholder until the Wine runner lands: runs a Windows test binary under wine64.
exec wine64 "$@"
