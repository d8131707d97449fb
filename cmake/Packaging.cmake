# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zb-sequenta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZB-SEQUENTA")
set(ZB_PACKAGE_MAINTAINER "ZB-SEQUENTA maintainers <maintainers@users.noreply.github.com>"
  CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${ZB_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop launcher that runs a chain of programs one after another")
set(CPACK_PACKAGE_DESCRIPTION "ZB-SEQUENTA runs up to twenty numbered tasks in slot order, one step per
second. A task can hold the chain until no process of a given name runs any
more. An autostart and an autoclose countdown, a crontab entry and e-mail at
the start and end of a run make unattended runs possible. Copies of the
program under other names keep settings of their own.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links decide its dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The e-mail scripts run sendemail; the scheduled start needs a cron daemon.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sendemail, cron")
include(CPack)
