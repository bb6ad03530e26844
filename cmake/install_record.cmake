# What `cmake --install` puts into a prefix, recorded so that it can be taken
# out again, and nothing else: the files it installed and the folders it had
# to create. A folder that was there before the install stays.
#
# The record of an install is a file in the build tree's install-records
# folder, one per install root (DESTDIR and prefix), so that installing into
# a second prefix, or building a package, does not lose the first:
#   root <install root>
#   dir <folder the install created>
#   file <installed file>
# A second install into the same root adds to the record: the folders that an
# earlier install created are still the install's own.
#
# The install calls quorvel_record_begin before the first file is copied and
# quorvel_record_end after the last; `cmake -P <build>/uninstall.cmake
# [PREFIX]` calls quorvel_uninstall.

# The install root of this install: DESTDIR, then the prefix, normalised.
function(_quorvel_install_root prefix out)
    cmake_path(ABSOLUTE_PATH prefix NORMALIZE OUTPUT_VARIABLE prefix)
    string(REGEX REPLACE "(.)/$" "\\1" prefix "${prefix}")
    set(${out} "$ENV{DESTDIR}${prefix}" PARENT_SCOPE)
endfunction()

function(_quorvel_record_file record_dir root out)
    string(MD5 key "${root}")
    set(${out} "${record_dir}/${key}.txt" PARENT_SCOPE)
endfunction()

# Reads a record into <prefix>_root, <prefix>_dirs and <prefix>_files (the
# paths still present).
function(_quorvel_read_record file prefix)
    set(root)
    set(dirs)
    set(files)
    if(EXISTS "${file}")
        file(STRINGS "${file}" lines)
        foreach(line IN LISTS lines)
            if(line MATCHES "^root (.+)$")
                set(root "${CMAKE_MATCH_1}")
            elseif(line MATCHES "^dir (.+)$")
                if(IS_DIRECTORY "${CMAKE_MATCH_1}")
                    list(APPEND dirs "${CMAKE_MATCH_1}")
                endif()
            elseif(line MATCHES "^file (.+)$")
                if(EXISTS "${CMAKE_MATCH_1}" OR IS_SYMLINK "${CMAKE_MATCH_1}")
                    list(APPEND files "${CMAKE_MATCH_1}")
                endif()
            endif()
        endforeach()
    endif()
    set(${prefix}_root "${root}" PARENT_SCOPE)
    set(${prefix}_dirs "${dirs}" PARENT_SCOPE)
    set(${prefix}_files "${files}" PARENT_SCOPE)
endfunction()

function(_quorvel_write_record file root dirs files)
    set(text "root ${root}\n")
    foreach(d IN LISTS dirs)
        string(APPEND text "dir ${d}\n")
    endforeach()
    foreach(f IN LISTS files)
        string(APPEND text "file ${f}\n")
    endforeach()
    get_filename_component(folder "${file}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(WRITE "${file}" "${text}")
endfunction()

# Before the first file is copied: notes which of the destination folders
# (relative to the prefix, or absolute), and which of their parents, do not
# exist yet. A package build stages its tree under _CPack_Packages and is not
# recorded.
macro(quorvel_record_begin record_dir destinations)
    _quorvel_install_root("${CMAKE_INSTALL_PREFIX}" _quorvel_root)
    set(_quorvel_created)
    if(NOT _quorvel_root MATCHES "/_CPack_Packages/")
        foreach(_quorvel_d IN ITEMS ${destinations})
            if(IS_ABSOLUTE "${_quorvel_d}")
                set(_quorvel_d "$ENV{DESTDIR}${_quorvel_d}")
            else()
                set(_quorvel_d "${_quorvel_root}/${_quorvel_d}")
            endif()
            cmake_path(NORMAL_PATH _quorvel_d)
            while(NOT EXISTS "${_quorvel_d}" AND NOT IS_SYMLINK "${_quorvel_d}")
                list(APPEND _quorvel_created "${_quorvel_d}")
                cmake_path(GET _quorvel_d PARENT_PATH _quorvel_d)
            endwhile()
        endforeach()
        list(REMOVE_DUPLICATES _quorvel_created)
    endif()
endmacro()

# After the last file is copied: writes the record, merged with any earlier
# record for the same root.
macro(quorvel_record_end record_dir)
    if(NOT _quorvel_root MATCHES "/_CPack_Packages/")
        _quorvel_record_file("${record_dir}" "${_quorvel_root}" _quorvel_file)
        _quorvel_read_record("${_quorvel_file}" _quorvel_old)
        set(_quorvel_dirs ${_quorvel_old_dirs} ${_quorvel_created})
        # The install lists its files without DESTDIR.
        set(_quorvel_files ${_quorvel_old_files})
        foreach(_quorvel_f IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
            list(APPEND _quorvel_files "$ENV{DESTDIR}${_quorvel_f}")
        endforeach()
        list(REMOVE_DUPLICATES _quorvel_dirs)
        list(REMOVE_DUPLICATES _quorvel_files)
        _quorvel_write_record("${_quorvel_file}" "${_quorvel_root}" "${_quorvel_dirs}"
                              "${_quorvel_files}")
    endif()
endmacro()

# The install roots that this build has records of, one an indented line.
function(_quorvel_known_roots records out)
    set(known)
    foreach(r IN LISTS records)
        file(STRINGS "${r}" line LIMIT_COUNT 1 REGEX "^root ")
        string(REGEX REPLACE "^root " "\n  " line "${line}")
        string(APPEND known "${line}")
    endforeach()
    set(${out} "${known}" PARENT_SCOPE)
endfunction()

# Removes the recorded files, then the recorded folders that are then empty,
# deepest first; a folder that holds something else stays, and is named. The
# prefix is the first argument after the script; without one, the only
# recorded install is meant.
function(quorvel_uninstall record_dir)
    file(GLOB records "${record_dir}/*.txt")
    if(CMAKE_ARGC GREATER 3)
        _quorvel_install_root("${CMAKE_ARGV3}" root)
        _quorvel_record_file("${record_dir}" "${root}" record)
        if(NOT EXISTS "${record}")
            _quorvel_known_roots("${records}" known)
            if(known)
                set(known " It installed into:${known}")
            endif()
            message(FATAL_ERROR "This build installed nothing into ${root}.${known}")
        endif()
    else()
        list(LENGTH records count)
        if(count EQUAL 0)
            message(STATUS "Nothing to uninstall: no install from this build is recorded.")
            return()
        elseif(count GREATER 1)
            _quorvel_known_roots("${records}" known)
            message(FATAL_ERROR "This build installed into more than one prefix; "
                                "name the one to uninstall:${known}")
        endif()
        set(record "${records}")
    endif()

    _quorvel_read_record("${record}" rec)
    set(left_files)
    foreach(f IN LISTS rec_files)
        # Nothing outside the install root, whatever the record says.
        cmake_path(IS_PREFIX rec_root "${f}" NORMALIZE inside_root)
        if(NOT inside_root OR rec_root STREQUAL "")
            message(WARNING "Left alone, outside ${rec_root}: ${f}")
            continue()
        endif()
        message(STATUS "Removing: ${f}")
        file(REMOVE "${f}")
        if(EXISTS "${f}" OR IS_SYMLINK "${f}")
            list(APPEND left_files "${f}")
        endif()
    endforeach()
    # The record stays, and with it what is left to remove.
    if(left_files)
        list(JOIN left_files "\n  " left)
        message(FATAL_ERROR "Could not remove:\n  ${left}\n"
                            "Run it as the user who installed (root for a system prefix).")
    endif()

    # Deepest first: a path sorts after its parents.
    list(SORT rec_dirs)
    list(REVERSE rec_dirs)
    foreach(d IN LISTS rec_dirs)
        cmake_path(IS_PREFIX rec_root "${d}" NORMALIZE inside_root)
        cmake_path(IS_PREFIX d "${rec_root}" NORMALIZE is_parent)
        if(NOT inside_root AND NOT is_parent)
            message(WARNING "Left alone, outside ${rec_root}: ${d}")
            continue()
        endif()
        file(GLOB inside LIST_DIRECTORIES true "${d}/*" "${d}/.*")
        if(inside)
            message(STATUS "Keeping ${d}: it holds other files")
        else()
            message(STATUS "Removing: ${d}")
            file(REMOVE_RECURSE "${d}")
        endif()
    endforeach()
    file(REMOVE "${record}")
endfunction()
