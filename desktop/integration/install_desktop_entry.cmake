# Installs the desktop entry so that its menu item starts the installed
# program at once. Under /usr and /usr/local the program is on everybody's
# PATH; anywhere else (~/.local, /opt/...) the PATH may not name the folder
# until the user logs in again, so Exec= carries the installed path.
# Runs at install time: CMAKE_INSTALL_PREFIX is the prefix of this install.
# Expects veridrift_desktop_source, veridrift_desktop_work, veridrift_bindir
# and veridrift_datadir.
if(IS_ABSOLUTE "${veridrift_bindir}")
  set(bin_dir "${veridrift_bindir}")
else()
  set(bin_dir "${CMAKE_INSTALL_PREFIX}/${veridrift_bindir}")
endif()
cmake_path(NORMAL_PATH bin_dir)
string(REGEX REPLACE "/$" "" bin_dir "${bin_dir}")

if(bin_dir STREQUAL "/usr/bin" OR bin_dir STREQUAL "/usr/local/bin")
  set(exec "veridrift")
else()
  # The desktop entry's quoting: an argument with a reserved character goes
  # in double quotes with " ` $ \ escaped, then every backslash is doubled
  # for the string value, and % is doubled against field codes.
  set(exec "${bin_dir}/veridrift")
  if(exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
  endif()
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "%" "%%" exec "${exec}")
endif()

file(READ "${veridrift_desktop_source}" entry)
# A plain replacement: a regular expression's replacement would eat backslashes.
string(REGEX MATCH "\nExec=[^\n]*" exec_line "${entry}")
string(REPLACE "${exec_line}" "\nExec=${exec}" entry "${entry}")
get_filename_component(entry_name "${veridrift_desktop_source}" NAME)
# One folder per destination, so that two installs at once (a package being
# made while a test installs elsewhere) never share the written entry.
string(MD5 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(work "${veridrift_desktop_work}/${destination}")
file(WRITE "${work}/${entry_name}" "${entry}")
file(INSTALL "${work}/${entry_name}"
  DESTINATION "${CMAKE_INSTALL_PREFIX}/${veridrift_datadir}/applications")
