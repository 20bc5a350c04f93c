# The release archive of the shipping exe (win32 preset only): CPack's ZIP
# generator packs Zumbara.exe as built and audited in build/win32 and the
# user's guide into one folder "Zumbara". scripts/release runs it.

# The guide: UTF-8 with its byte-order mark (kept from the template) and
# CR LF line ends, so that Notepad shows it in any language.
configure_file("${PROJECT_SOURCE_DIR}/dist/readme.txt.in" "${PROJECT_BINARY_DIR}/release/readme.txt"
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Zumbara RUNTIME DESTINATION Zumbara)
install(FILES "${PROJECT_BINARY_DIR}/release/readme.txt" DESTINATION Zumbara)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zumbara)
set(CPACK_PACKAGE_VENDOR Zumbara)
set(CPACK_PACKAGE_FILE_NAME "Zumbara-${PROJECT_VERSION}-win32")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
