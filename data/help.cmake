# The help page and the program icon lie beside the program in build/bin, as they lie
# together in share/ringwarden once installed.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Ringwarden.html ${RINGWARDEN_BIN_DIR}/Ringwarden.html
               COPYONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/icons/ringwarden.svg ${RINGWARDEN_BIN_DIR}/ringwarden.svg
               COPYONLY)
