# Manual pages, AppStream metadata, the package's own documents, and the
# Debian package made from all install rules: `cpack -G DEB` in the build
# folder writes vidarkon-patch_<version>_<arch>.deb.

set(vk_package vidarkon-patch)
set(vk_package_docdir ${CMAKE_INSTALL_DATADIR}/doc/${vk_package})

# Debian wants manual pages and changelogs compressed; -n keeps the name and
# time stamp out, so that the same sources give the same package.
find_program(VK_GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
set(vk_gzipped)
function(vk_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${VK_GZIP} -9 -n -c ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
  set(vk_gzipped ${vk_gzipped} ${output} PARENT_SCOPE)
endfunction()

foreach(program vidarkon-patch vidarkon-patch-cli vidarkon-sample)
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
  vk_gzip(${PROJECT_SOURCE_DIR}/docs/man/${program}.1 ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
vk_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/man/changelog.gz)
add_custom_target(vidarkon-patch-docs ALL DEPENDS ${vk_gzipped})

install(FILES ${CMAKE_BINARY_DIR}/man/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${vk_package_docdir})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pl.vidarkon.patch.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(VK_PACKAGE_MAINTAINER "Vidarkon <wenk@vidarkon.pl>" CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${vk_package})
set(CPACK_PACKAGE_VENDOR Vidarkon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "upgrade tool for Vidarkon film catalogue files")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/packaging/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs are linked against decide the dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only the programs' packaging: no source package target.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
