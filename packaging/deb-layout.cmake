# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs inside cpack on the staged files, before the .deb is made. Debian wants a copyright file
# and a changelog beside every package.
if(NOT CPACK_PACKAGE_CONTACT)
    message(FATAL_ERROR "The .deb needs a maintainer: configure with "
                        "-DQUENVARY_MAINTAINER=\"Name <address>\" and run cpack again.")
endif()
set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

set(doc "${usr}/share/doc/quenvary")
file(MAKE_DIRECTORY "${doc}")
configure_file("${CPACK_QUENVARY_PACKAGING_DIR}/copyright" "${doc}/copyright" COPYONLY)
configure_file("${CPACK_QUENVARY_PACKAGING_DIR}/changelog.in" "${doc}/changelog" @ONLY)
# -n leaves name and time out of the archive, so the same sources give the same package.
execute_process(COMMAND gzip -9 -n "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
