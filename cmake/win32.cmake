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

install(TARGETS quorvel RUNTIME DESTINATION .)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Quorvel)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Line-of-sight calculator for a hex-grid tactical board game")
set(CPACK_PACKAGE_FILE_NAME quorvel-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quorvel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quorvel)
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
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
# The uninstaller removes the program's own registry key but leaves its
# maker's, now empty, behind: take that too, once the icons are gone.
set(CPACK_NSIS_DELETE_ICONS_EXTRA
    "DeleteRegKey /ifempty SHCTX 'Software\\\\${CPACK_PACKAGE_VENDOR}'")
include(CPack)

if(QUORVEL_TESTS)
    add_subdirectory(tests/windows)
endif()
