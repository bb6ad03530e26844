# The web page: the program as a WebAssembly module, and the static site around
# it in site/ of the build folder, which any static web host can serve:
# index.html, which carries the module's JavaScript and the dialog face (cut
# down to what the page draws) inside it, the module's code, the face's
# licence, the notices of the code of others compiled in, the icons and
# manifest for a phone's home screen, and a service worker that keeps every
# file but the notices for use with no network.
#
# Run as a script (cmake -P), this file writes the service worker; see the end.

if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(site ${CMAKE_BINARY_DIR}/site)
    # The commands below copy into it, in whatever order a parallel build runs them.
    file(MAKE_DIRECTORY ${site}/fonts)
    set(web ${CMAKE_SOURCE_DIR}/data/web)
    # What the page carries inside it, gathered before it is written.
    set(page ${CMAKE_BINARY_DIR}/page)
    file(MAKE_DIRECTORY ${page}/fonts)

    # A small module for browsers alone: no file system, no eval, the small
    # allocator.
    target_link_options(quorvel PRIVATE
        -sENVIRONMENT=web
        -sFILESYSTEM=0
        -sDYNAMIC_EXECUTION=0
        -sMALLOC=emmalloc)
    set_property(TARGET quorvel APPEND PROPERTY LINK_DEPENDS ${QUORVEL_WEB_SCRIPTS})

    # Debian's Python, which has fontTools, whatever python3 comes first on PATH.
    find_program(QUORVEL_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    find_program(QUORVEL_WOFF2_COMPRESS woff2_compress NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    find_program(QUORVEL_RSVG_CONVERT rsvg-convert NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    find_path(QUORVEL_FACE_DIR LiberationSans-Regular.ttf
              PATHS /usr/share/fonts/truetype/liberation2 NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(licence /usr/share/doc/fonts-liberation2/copyright)

    set(files index.html manifest.webmanifest quorvel.wasm quorvel.svg
        icon-180.png icon-192.png icon-512.png fonts/LICENSE.txt)
    set(outputs ${site}/index.html)

    add_custom_command(
        OUTPUT ${page}/quorvel.js ${site}/quorvel.wasm
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quorvel> ${page}/quorvel.js
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE_DIR:quorvel>/quorvel.wasm
                ${site}/quorvel.wasm
        DEPENDS quorvel
        COMMENT "Site: the module"
        VERBATIM)
    list(APPEND outputs ${site}/quorvel.wasm)
    set(inlined ${page}/quorvel.js)

    foreach(pair manifest.webmanifest:${web}/manifest.webmanifest
                 quorvel.svg:${CMAKE_SOURCE_DIR}/data/quorvel.svg fonts/LICENSE.txt:${licence})
        string(REPLACE ":" ";" pair ${pair})
        list(GET pair 0 name)
        list(GET pair 1 source)
        add_custom_command(
            OUTPUT ${site}/${name}
            COMMAND ${CMAKE_COMMAND} -E copy ${source} ${site}/${name}
            DEPENDS ${source}
            VERBATIM)
        list(APPEND outputs ${site}/${name})
    endforeach()

    # 180 pixels for a phone that wants an opaque home-screen icon (on white),
    # 192 and 512 for the manifest.
    foreach(size 180 192 512)
        set(background)
        if(size EQUAL 180)
            set(background --background-color=white)
        endif()
        add_custom_command(
            OUTPUT ${site}/icon-${size}.png
            COMMAND ${CMAKE_COMMAND} -E make_directory ${site}
            COMMAND ${QUORVEL_RSVG_CONVERT} -w ${size} -h ${size} ${background}
                    -o ${site}/icon-${size}.png ${CMAKE_SOURCE_DIR}/data/quorvel.svg
            DEPENDS ${CMAKE_SOURCE_DIR}/data/quorvel.svg
            COMMENT "Site: the icon at ${size} pixels"
            VERBATIM)
        list(APPEND outputs ${site}/icon-${size}.png)
    endforeach()

    foreach(face Regular Bold BoldItalic)
        string(TOLOWER ${face} style)
        set(out ${page}/fonts/dialog-${style}.woff2)
        add_custom_command(
            OUTPUT ${out}
            COMMAND ${QUORVEL_PYTHON} ${web}/subset-face.py ${style}
                    ${QUORVEL_FACE_DIR}/LiberationSans-${face}.ttf ${out}
            DEPENDS ${web}/subset-face.py ${QUORVEL_FACE_DIR}/LiberationSans-${face}.ttf
            COMMENT "Site: the dialog face, ${style}"
            VERBATIM)
        list(APPEND inlined ${out})
    endforeach()

    # One document to fetch where there would be five: the page carries the
    # module's JavaScript and the three faces.
    add_custom_command(
        OUTPUT ${site}/index.html
        COMMAND ${QUORVEL_PYTHON} ${web}/inline-page.py ${web}/index.html ${page}
                ${site}/index.html
        # Earlier builds put these in the site as files of their own.
        COMMAND ${CMAKE_COMMAND} -E rm -f ${site}/quorvel.js ${site}/fonts/dialog-regular.woff2
                ${site}/fonts/dialog-bold.woff2 ${site}/fonts/dialog-bolditalic.woff2
        DEPENDS ${web}/inline-page.py ${web}/index.html ${inlined}
        COMMENT "Site: the page"
        VERBATIM)

    add_custom_command(
        OUTPUT ${site}/sw.js
        COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DTEMPLATE=${web}/sw.js "-DFILES=${files}"
                -P ${CMAKE_CURRENT_LIST_FILE}
        DEPENDS ${outputs} ${web}/sw.js ${CMAKE_CURRENT_LIST_FILE}
        COMMENT "Site: the service worker"
        VERBATIM)
    # The licences of the code of others that the page carries (Emscripten's
    # loader and run-time, and the libraries linked into the module), from
    # Debian's copyright files. A player opens it from the page's own licence;
    # the service worker does not keep it, so that no visit fetches it unasked.
    add_custom_command(
        OUTPUT ${site}/THIRD-PARTY-NOTICES.txt
        COMMAND ${QUORVEL_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/lib/notices.py web
                ${site}/THIRD-PARTY-NOTICES.txt
        DEPENDS ${CMAKE_SOURCE_DIR}/scripts/lib/notices.py
        COMMENT "Site: the notices of what the page carries"
        VERBATIM)
    add_custom_target(site ALL DEPENDS ${outputs} ${site}/sw.js ${site}/THIRD-PARTY-NOTICES.txt)

    if(QUORVEL_TESTS)
        add_subdirectory(tests/web)
        # What the linker took, for the test that finds a notice for each.
        set(trace ${CMAKE_BINARY_DIR}/quorvel.trace)
        set_property(TARGET quorvel PROPERTY RULE_LAUNCH_LINK
                     "${CMAKE_SOURCE_DIR}/scripts/lib/link-trace ${trace} ${CMAKE_CXX_COMPILER}")
        add_test(NAME web_notices
                 COMMAND ${QUORVEL_PYTHON} ${CMAKE_SOURCE_DIR}/tests/package/notices.py web
                         ${trace} ${site}/THIRD-PARTY-NOTICES.txt)
    endif()
    return()
endif()

# The service worker lists every file of the site and names its cache after
# their contents. It keeps the page under the folder's own address, which is
# how a visit asks for it: fetched again under a second name, it would travel
# twice.
set(digests)
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} digest)
    string(APPEND digests "${file} ${digest}\n")
endforeach()
string(SHA256 QUORVEL_SITE_VERSION "${digests}")
string(SUBSTRING ${QUORVEL_SITE_VERSION} 0 16 QUORVEL_SITE_VERSION)
list(TRANSFORM FILES REPLACE "^index\\.html$" "./")
list(TRANSFORM FILES PREPEND "'")
list(TRANSFORM FILES APPEND "'")
list(JOIN FILES ", " QUORVEL_SITE_FILES)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
