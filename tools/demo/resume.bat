@echo off
rem The demo's resume command: one log line. See suspend.bat for the time.
for /f "tokens=3*" %%a in ('time /t') do echo %%b resume command ran>> "%~dp0power.log"
