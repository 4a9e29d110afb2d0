#!/bin/sh
# Runs a Windows program under Wine for ctest. The prefix and display come from the caller.
exec wine "$@"
