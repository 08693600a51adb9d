# What `cmake --install` adds for the command on Linux beyond the program and its data
# (cli/, data/): the manual page, the bash completion and the package's documents. And the
# Debian package, made by CPack from the same install rules:
#   cmake --build --preset linux-release && cpack --preset deb
# gives quillon_<version>_amd64.deb in build/linux-release, its dependencies computed by
# dpkg-shlibdeps.
find_program(QUILLON_GZIP gzip REQUIRED)
set(QUILLON_PACKAGING_OUTPUT ${CMAKE_BINARY_DIR}/packaging)

# The manual page carries the version; pages and changelogs go compressed, without a
# time stamp, so the same sources give the same package.
configure_file(${PROJECT_SOURCE_DIR}/cli/quillon.1 ${QUILLON_PACKAGING_OUTPUT}/quillon.1 @ONLY)
string(TIMESTAMP QUILLON_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${QUILLON_PACKAGING_OUTPUT}/changelog @ONLY)
foreach(name quillon.1 changelog)
  add_custom_command(
    OUTPUT ${QUILLON_PACKAGING_OUTPUT}/${name}.gz
    COMMAND ${QUILLON_GZIP} -9 -n -c ${name} > ${name}.gz
    DEPENDS ${QUILLON_PACKAGING_OUTPUT}/${name}
    WORKING_DIRECTORY ${QUILLON_PACKAGING_OUTPUT}
    VERBATIM)
endforeach()
add_custom_target(quillon_docs ALL DEPENDS
  ${QUILLON_PACKAGING_OUTPUT}/quillon.1.gz ${QUILLON_PACKAGING_OUTPUT}/changelog.gz)

install(FILES ${QUILLON_PACKAGING_OUTPUT}/quillon.1.gz DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/cli/quillon.bash
        DESTINATION share/bash-completion/completions RENAME quillon)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${QUILLON_PACKAGING_OUTPUT}/changelog.gz
        DESTINATION share/doc/quillon)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION share/lintian/overrides RENAME quillon)

# Symbols resolved at start-up, so the relocations can be made read-only.
target_link_options(quillon PRIVATE -Wl,-z,now)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "The Quillon developers")
set(CPACK_PACKAGE_CONTACT "The Quillon developers <quillon@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "program sources to syntax-coloured HTML pages")
# The long description below the summary; CPack indents its lines for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Quillon turns C/C++, C#, Java and Visual Basic sources into syntax-coloured
HTML pages for reading in a browser: keywords and comments in their colours,
tabs and spaces kept, quoted includes linked to the included file's page,
classes, structs and enums linked from every mention of their names, and the
words of your own reference-link table linked to their URLs.

Visual Studio projects, solutions or sets of files become browsable HTML
workspaces with a source tree, a class tree with members, and tab pages.")
include(CPack)
