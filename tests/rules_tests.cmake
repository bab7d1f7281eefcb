# Rules of the source tree itself: each room includes only what it may, and
# every shell script passes shellcheck.
add_test(NAME include_rules COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/include_rules.sh ${PROJECT_SOURCE_DIR})
add_test(NAME shell_scripts COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/lint_scripts.sh ${PROJECT_SOURCE_DIR})
