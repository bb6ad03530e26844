# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) once the Windows files are staged:
# the uninstaller's list of files and folders to remove, in the order of their
# names. CPack would write them in the order the file system lists a folder,
# which differs from one file system to another, and with it the installer's
# bytes.
set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${staged}" "${staged}/*")
list(SORT entries)
set(CPACK_NSIS_DELETE_FILES "")
set(folders "")
foreach(entry IN LISTS entries)
    string(REPLACE "/" "\\" path "${entry}")
    if(IS_DIRECTORY "${staged}/${entry}")
        # Deepest first, so that each folder is empty when its turn comes.
        string(PREPEND folders "  RMDir \"\$INSTDIR\\${path}\"\n")
    else()
        string(APPEND CPACK_NSIS_DELETE_FILES "  Delete \"\$INSTDIR\\${path}\"\n")
    endif()
endforeach()
set(CPACK_NSIS_DELETE_DIRECTORIES "${folders}")
