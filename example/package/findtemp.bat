@echo off
rem Leaves the staging directory for cdc-install in temploc.txt: the line of the TEMP variable.
set TEMP>temploc.txt
