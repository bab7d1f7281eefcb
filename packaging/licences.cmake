# The licences of the libraries a package carries linked in: the copyright
# files of the Debian packages that own them, as licences/NAME.txt.

# Installs the copyright file of Debian package PACKAGE as licences/NAME.txt.
function(kestrun_install_licence name package)
  if(NOT EXISTS /usr/share/doc/${package}/copyright)
    message(FATAL_ERROR "No copyright file of the Debian package ${package}, for ${name}'s licence")
  endif()
  install(FILES /usr/share/doc/${package}/copyright DESTINATION licences RENAME ${name}.txt)
endfunction()

# Installs that of the package that owns FILE, a file of the library NAME.
function(kestrun_install_licence_of name file)
  get_filename_component(file ${file} ABSOLUTE)
  execute_process(COMMAND dpkg-query --search ${file} OUTPUT_VARIABLE owner RESULT_VARIABLE status
                  ERROR_QUIET)
  string(REGEX MATCH "^[^:]+" package "${owner}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "No Debian package owns ${file}, for ${name}'s licence")
  endif()
  kestrun_install_licence(${name} ${package})
endfunction()
