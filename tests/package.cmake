# The check that compares the libraries the program opens at run time with
# the Debian package's Depends (scripts/check-dlopen-depends), on a small
# made-up input: it must find every name and report a missing one.
quillery_script_test(package_dlopen_depends_self_test
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/check-dlopen-depends --self-test)
