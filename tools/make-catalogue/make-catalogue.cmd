@echo off
rem make-catalogue: writes the catalogues of one plug-in folder beside this script,
rem briskspi.txt (with spilist) and briskspi64.txt (with spilist64, where that is here
rem too), each with every plug-in its set can serve: those of its own width first, then
rem those of the other width, which the set's bridge helper serves. A plug-in that is
rem in the folder in both widths (NAME.spi and NAME.sph side by side) is listed once in
rem each catalogue, in that catalogue's own width. A catalogue it replaces is kept as
rem NAME.bak. Give the folder as the argument, or drop the folder onto this file.
setlocal EnableExtensions
set "here=%~dp0"
set "status=0"
if "%~1"=="" goto usage
set "plugins=%~f1"
if not exist "%plugins%\*" (
  echo make-catalogue: "%plugins%" is not a folder
  set "status=2"
  goto done
)
echo Plug-in folder: %plugins%
call :catalogue spi sph spilist.exe briskspi.txt
call :catalogue sph spi spilist64.exe briskspi64.txt
goto done

:catalogue
rem %1 the set's own plug-in extension, %2 the other width's, %3 the builder, %4 the
rem catalogue it writes.
set "builder=%here%%~3"
set "target=%here%%~4"
set "list=%TEMP%\make-catalogue-%RANDOM%.txt"
if not exist "%builder%" (
  echo %~4: not written, %~3 is not beside this script
  goto :eof
)
rem The front plug-ins themselves are never listed: they would forward to themselves.
type nul >"%list%"
for /f "usebackq delims=" %%p in (`dir /b /s /a-d "%plugins%\*.%~1" 2^>nul`) do (
  if /i not "%%~nxp"=="BriskImp.%~1" if /i not "%%~nxp"=="BriskArc.%~1" echo %%p>>"%list%"
)
for /f "usebackq delims=" %%p in (`dir /b /s /a-d "%plugins%\*.%~2" 2^>nul`) do (
  if /i not "%%~nxp"=="BriskImp.%~2" if /i not "%%~nxp"=="BriskArc.%~2" if not exist "%%~dpnp.%~1" echo %%p>>"%list%"
)
set "size=0"
for %%s in ("%list%") do set "size=%%~zs"
if "%size%"=="0" (
  echo %~4: not written, no .%~1 or .%~2 plug-ins in that folder
  del "%list%" >nul 2>&1
  goto :eof
)
"%builder%" <"%list%" >"%target%.new"
del "%list%" >nul 2>&1
set "records=0"
for /f "usebackq delims=" %%l in ("%target%.new") do if "%%l"=="-----" set /a records+=1 >nul
if "%records%"=="0" (
  echo %~4: not written, none of the .%~1 and .%~2 files answered as a plug-in
  del "%target%.new" >nul 2>&1
  set "status=1"
  goto :eof
)
if exist "%target%" (
  copy /y "%target%" "%target%.bak" >nul
  echo %~4: the previous catalogue is kept as %~4.bak
)
move /y "%target%.new" "%target%" >nul
echo %~4: written with %records% plug-in record(s) to %target%
goto :eof

:usage
echo usage: make-catalogue PLUGIN-FOLDER
echo   or drop the plug-in folder onto make-catalogue.cmd in Explorer
set "status=2"

:done
rem Started by its full path, as Explorer does when a folder is dropped onto it, its
rem window would close before the report can be read; typed at a prompt, it does not
rem wait.
if /i "%~0"=="%~f0" pause
exit /b %status%
