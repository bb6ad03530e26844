# The Windows program: quorvel.exe, one statically linked file with its icon,
# version information and manifest inside, and its installer made by CPack
# with NSIS (cpack -G NSIS in the build folder, or the package target).
enable_language(RC)

set(QUORVEL_WINDOWS_DATA ${CMAKE_SOURCE_DIR}/data/windows)
configure_file(${QUORVEL_WINDOWS_DATA}/quorvel.rc.in ${CMAKE_BINARY_DIR}/quorvel.rc @ONLY)
target_sources(quorvel PRIVATE ${CMAKE_BINARY_DIR}/quorvel.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/quorvel.rc PROPERTIES OBJECT_DEPENDS
    "${QUORVEL_WINDOWS_DATA}/quorvel.ico;${QUORVEL_WINDOWS_DATA}/quorvel.exe.manifest")

# A window program, not a console one; the C and C++ runtimes linked in, so
# that it needs nothing but Windows' own libraries; stripped but for debug
# builds; no code that nothing calls.
set_target_properties(quorvel PROPERTIES WIN32_EXECUTABLE ON)
target_compile_options(quorvel_ui PRIVATE -ffunction-sections -fdata-sections)
target_compile_options(quorvel_core PRIVATE -ffunction-sections -fdata-sections)
target_link_options(quorvel PRIVATE -static -Wl,--gc-sections $<$<NOT:$<CONFIG:Debug>>:-s>)
# Hardened: a stack protector in every function with arrays or addresses of
# locals, in everything built on the rule (GCC's libssp linked in); loaded at
# a random address anywhere in the 64-bit space, and data never run as code
# (binutils' defaults for a 64-bit program, spelled out).
target_compile_options(quorvel_core PUBLIC -fstack-protector-strong)
target_link_options(quorvel_core INTERFACE -fstack-protector-strong)
target_link_options(quorvel PRIVATE -Wl,--dynamicbase,--high-entropy-va,--nxcompat)

install(TARGETS quorvel RUNTIME DESTINATION .)
# The licence beside the program, in Windows' line ends; the installer shows it
# before it installs.
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/LICENSE.txt DESTINATION .)

# Beside it, the licences of the code of others linked into quorvel.exe,
# from the copyright files of Debian's packages that it comes from.
find_program(QUORVEL_PYTHON python3 NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(notices ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
add_custom_command(OUTPUT ${notices}
                   COMMAND ${QUORVEL_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/lib/notices.py windows
                           ${notices} --crlf
                   DEPENDS ${CMAKE_SOURCE_DIR}/scripts/lib/notices.py
                   COMMENT "The notices of what quorvel.exe carries" VERBATIM)
add_custom_target(notices ALL DEPENDS ${notices})
install(FILES ${notices} DESTINATION .)

# The read-me of the zip for players who do not install, in Windows' line ends.
configure_file(${QUORVEL_WINDOWS_DATA}/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)

# A release build (scripts/release) signs every Windows program it makes with
# this tool, which takes the file to sign in place and the name the release
# gives it: quorvel.exe once linked, and, as makensis writes them, the
# uninstaller inside the installer and the installer itself.
set(QUORVEL_SIGN_TOOL "" CACHE FILEPATH "Signs the Windows program it is given, in place")
if(QUORVEL_SIGN_TOOL)
    add_custom_command(TARGET quorvel POST_BUILD
                       COMMAND ${QUORVEL_SIGN_TOOL} $<TARGET_FILE:quorvel> quorvel.exe
                       COMMENT "Signing quorvel.exe" VERBATIM)
endif()

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Quorvel)
set(CPACK_PACKAGE_VENDOR "The Quorvel authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Line-of-sight calculator for a hex-grid tactical board game")
set(CPACK_PACKAGE_FILE_NAME quorvel-${PROJECT_VERSION}-windows-x64-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quorvel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quorvel)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt)
# The Start-menu entry: quorvel.exe, shown as "Quorvel".
set(CPACK_PACKAGE_EXECUTABLES quorvel Quorvel)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Quorvel)
set(CPACK_NSIS_PACKAGE_NAME Quorvel)
set(CPACK_NSIS_INSTALLED_ICON_NAME quorvel.exe)
set(CPACK_NSIS_MUI_ICON ${QUORVEL_WINDOWS_DATA}/quorvel.ico)
set(CPACK_NSIS_MUI_UNIICON ${QUORVEL_WINDOWS_DATA}/quorvel.ico)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN quorvel.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# A 64-bit installer for a 64-bit program: it runs where the program does
# (Wine without its 32-bit half included) and installs under the 64-bit
# Program Files.
#
# The installer stores no file times (SetDateSave off): they would be those of
# the build and of CPack's own files, which differ from one build to the next,
# so that the same source would not give the same installer. Installed files
# carry the time of their install instead.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
  SetDateSave off")
if(QUORVEL_SIGN_TOOL)
    # CPack writes this into its own configuration as it is, without escaping
    # the quotes for it: hence their second escape.
    string(APPEND CPACK_NSIS_DEFINES "
  !uninstfinalize '\\\"${QUORVEL_SIGN_TOOL}\\\" \\\"%1\\\" Uninstall.exe'
  !finalize '\\\"${QUORVEL_SIGN_TOOL}\\\" \\\"%1\\\" ${CPACK_PACKAGE_FILE_NAME}.exe'")
endif()
# The uninstaller's list of what to remove, in the order of the names.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/nsis-uninstall-list.cmake)
# The uninstaller removes the program's own registry key but leaves its
# maker's, now empty, behind: take that too, once the icons are gone.
set(CPACK_NSIS_DELETE_ICONS_EXTRA
    "DeleteRegKey /ifempty SHCTX 'Software\\\\${CPACK_PACKAGE_VENDOR}'")
# Windows' list of installed apps gets its name, version, publisher and icon
# from CPack; the size the installer works out once the files are in place.
configure_file(${QUORVEL_WINDOWS_DATA}/installed-size.nsh.in
               ${CMAKE_BINARY_DIR}/installed-size.nsh @ONLY)
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!include '${CMAKE_BINARY_DIR}/installed-size.nsh'")
include(CPack)

if(QUORVEL_TESTS)
    add_subdirectory(tests/windows)
    # What the linker took, for the test that finds a notice for each.
    set(trace ${CMAKE_BINARY_DIR}/quorvel.trace)
    set_property(TARGET quorvel PROPERTY RULE_LAUNCH_LINK
                 "${CMAKE_SOURCE_DIR}/scripts/lib/link-trace ${trace} ${CMAKE_CXX_COMPILER}")
    add_test(NAME windows_hardening
             COMMAND ${CMAKE_SOURCE_DIR}/tests/windows/checks.sh hardening $<TARGET_FILE:quorvel>)
    add_test(NAME windows_notices
             COMMAND ${QUORVEL_PYTHON} ${CMAKE_SOURCE_DIR}/tests/package/notices.py windows
                     ${trace} ${notices})
endif()
