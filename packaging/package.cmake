# The Debian package of everything the install rules put under /usr;
# scripts/package.sh runs cpack on a release build.
set(CPACK_GENERATOR DEB)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME veridrift)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The project has no mail address of its own yet: .invalid is the name
# reserved for an address that cannot exist, rather than one that might.
set(CPACK_PACKAGE_CONTACT "The Veridrift developers <developers@veridrift.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "watch self-referential sentences with degrees of truth settle or oscillate")
# The extended description as Debian shows it: lines of at most 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Veridrift iterates the valuation maps of ten self-referential sentences,"
  "such as \"This sentence is 0.30 True\", from an initial estimate, and"
  "reveals the run step by step in a web (cobweb) diagram, a time-series"
  "diagram and a log of the values. It is meant for students and teachers of"
  "logic and dynamical systems."
  ""
  "The veridrift-series command prints the exact values of a run, reports"
  "whether it settles, cycles or wanders, and draws the diagrams as PNG, SVG,"
  "PDF or animated GIF.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies come from the binaries; the Wayland platform plugin is loaded
# at run time, so no tool can see it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
