@echo off
rem The demo's suspend command: about two seconds of work between two log
rem lines, so the answer Somnivo holds until it ends can be seen.
rem Stored with LF line ends; demo.sh writes the CR LF copy that runs.
rem "time /t" because Wine's %time% leaves out the seconds; Wine prints
rem "Current Time is 2:00:35 PM": the time is all that follows "is".
for /f "tokens=3*" %%a in ('time /t') do echo %%b suspend command started>> "%~dp0power.log"
ping -n 3 127.0.0.1 > nul
for /f "tokens=3*" %%a in ('time /t') do echo %%b suspend command finished>> "%~dp0power.log"
