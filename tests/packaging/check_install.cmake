# cmake -DBUILD=... -DPREFIX=... -DAPP_ID=... -DVERSION=... -P check_install.cmake
# Installs the build into PREFIX afresh and checks that exactly the expected files are there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(failures)
macro(fail text)
    list(APPEND failures "${text}")
endmacro()

# Everything outside the demo catalogue, by name.
set(sizes 16 22 24 32 48 64 128 256)
set(expected bin/catalog share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/doc/catalog/README.md)
foreach(size ${sizes})
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(FILTER installed EXCLUDE REGEX "^share/catalog/demo/")
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    fail("installed files:\n  ${installed}\nexpected:\n  ${expected}")
endif()

# The PNGs: PNG files of their size (width and height are big-endian at bytes 16 and 20).
foreach(size ${sizes})
    set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    if(EXISTS ${png})
        file(READ ${png} head LIMIT 24 HEX)
        math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
        string(REPLACE "0x" "" hex ${hex})
        string(LENGTH ${hex} len)
        while(len LESS 8)
            string(PREPEND hex 0)
            math(EXPR len "${len} + 1")
        endwhile()
        string(TOLOWER ${hex} hex)
        if(NOT head MATCHES "^89504e470d0a1a0a0000000d49484452${hex}${hex}$")
            fail("${png} is no ${size}x${size} PNG (${head})")
        endif()
    endif()
endforeach()

# The demo catalogue: the database, the pictures and the help page.
foreach(f base.mdb catalog.html PIC/small PIC/big PIC/std)
    if(NOT EXISTS ${PREFIX}/share/catalog/demo/${f})
        fail("the demo catalogue has no ${f}")
    endif()
endforeach()

# The menu entry starts the installed program with the installed icon.
file(READ ${PREFIX}/share/applications/${APP_ID}.desktop desktop)
foreach(line "Exec=catalog\n" "Icon=${APP_ID}\n" "Categories=Office;\n" "Name=Каталог деталей")
    string(FIND "${desktop}" "${line}" at)
    if(at EQUAL -1)
        fail("the desktop entry has no ${line}")
    endif()
endforeach()

# The installed program answers its command line in the locale's language, without a display.
foreach(case "C;--version;catalog ${VERSION}\n" "C;--help;Usage: catalog [CATALOGUE_DIR]"
        "ru_RU.UTF-8;--help;Использование: catalog [ПАПКА_КАТАЛОГА]")
    list(GET case 0 locale)
    list(GET case 1 option)
    list(GET case 2 want)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                            --unset=QT_QPA_PLATFORM LC_ALL=${locale} LANG=${locale}
                            ${PREFIX}/bin/catalog ${option}
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(FIND "${out}" "${want}" at)
    if(NOT rc EQUAL 0 OR NOT at EQUAL 0)
        fail("catalog ${option} (${locale}) gave ${rc}: ${out}${err}")
    endif()
endforeach()

if(failures)
    string(REPLACE ";" "\n" failures "${failures}")
    message(FATAL_ERROR "${failures}")
endif()
message("installed into ${PREFIX}: ${installed}")
