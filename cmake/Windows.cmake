# The Windows program, cross-compiled with cmake/mingw-w64-x86_64.cmake (make
# windows): the game without a platform, the Win32 platform of
# src/platform/windows, drawn by the software renderer and shown with GDI.
# No OpenGL, no GLUT, no FreeType: the POSIX file functions and the
# FreeType fonts are replaced by the platform's own, the fonts by those the
# browser build compiles in too.
set(WINDOWS_CORE_SOURCES ${GAME_SOURCES})
list(FILTER WINDOWS_CORE_SOURCES EXCLUDE REGEX "/src/files/(ReadSmallFile|SaveFileAtomically|UserDirectory)\\.cpp$")
list(REMOVE_ITEM WINDOWS_CORE_SOURCES ${PROJECT_SOURCE_DIR}/src/draw/ScaledFonts.cpp)
verlomba_embed(data/fonts/scaled-fonts.bin kScaledFontsData)
list(APPEND WINDOWS_CORE_SOURCES ${COMPILED_IN_FONTS_SOURCES} ${GENERATED_DIR}/data/kScaledFontsData.cpp)
file(GLOB WINDOWS_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/windows/*.cpp)
list(REMOVE_ITEM WINDOWS_PLATFORM_SOURCES ${PROJECT_SOURCE_DIR}/src/platform/windows/WinMain.cpp)

add_library(verlomba_core STATIC ${WINDOWS_CORE_SOURCES})
target_include_directories(verlomba_core PUBLIC ${PROJECT_SOURCE_DIR}/src ${GENERATED_DIR})
# Unicode Win32 calls everywhere; nothing from windows.h's min and max.
target_compile_definitions(verlomba_core PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                           _WIN32_WINNT=0x0A00)
add_library(verlomba_windows STATIC ${WINDOWS_PLATFORM_SOURCES})
target_link_libraries(verlomba_windows PUBLIC verlomba_core gdi32 user32 shell32 shcore winmm ole32)
# The core's file functions and scaled fonts are the platform's here: the
# two libraries need each other.
target_link_libraries(verlomba_core PUBLIC verlomba_windows)

# The icon, the version shown in the file's properties and the manifest
# (per-monitor DPI awareness, UTF-8 as the process's code page).
configure_file(${PROJECT_SOURCE_DIR}/src/platform/windows/verlomba.rc.in ${GENERATED_DIR}/verlomba.rc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/src/platform/windows/verlomba.manifest
               ${GENERATED_DIR}/verlomba.manifest COPYONLY)
add_executable(verlomba WIN32 ${PROJECT_SOURCE_DIR}/src/platform/windows/WinMain.cpp ${GENERATED_DIR}/verlomba.rc)
target_link_libraries(verlomba PRIVATE verlomba_windows)
# wmain: the command line arrives in UTF-16.
target_link_options(verlomba PRIVATE -municode)
set_target_properties(verlomba PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The replay tool and the frame of a replay, for the golden replays and the
# comparison with Linux's frames under Wine.
file(GLOB DOUBLES_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/doubles/*.cpp)
file(GLOB REPLAY_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/replay/*.cpp)
add_library(verlomba_replay STATIC EXCLUDE_FROM_ALL ${DOUBLES_SOURCES} ${REPLAY_SOURCES})
target_include_directories(verlomba_replay PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(verlomba_replay PUBLIC verlomba_windows)
add_executable(verlomba-replay EXCLUDE_FROM_ALL tools/verlomba-replay.cpp)
target_link_libraries(verlomba-replay PRIVATE verlomba_replay)
set_target_properties(verlomba-replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_executable(verlomba-frame EXCLUDE_FROM_ALL tools/verlomba-frame.cpp)
target_link_libraries(verlomba-frame PRIVATE verlomba_replay)
set_target_properties(verlomba-frame PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# make windows-package: verlomba-VERSION-windows-x64.zip (the program, the
# tuning file, the licence and a read-me in one folder) and
# verlomba-VERSION-setup.exe, made by NSIS, in this build directory.
set(WINDOWS_STAGE_DIR ${CMAKE_BINARY_DIR}/package/verlomba-${PROJECT_VERSION})
set(WINDOWS_PACKAGE_DIR ${CMAKE_BINARY_DIR})
configure_file(${PROJECT_SOURCE_DIR}/data/windows/verlomba.nsi.in ${GENERATED_DIR}/verlomba.nsi @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt ${GENERATED_DIR}/README.txt @ONLY)
find_program(MAKENSIS makensis)
find_program(MINGW_STRIP x86_64-w64-mingw32-strip)
add_custom_target(windows-package
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package
  COMMAND ${CMAKE_COMMAND} -E make_directory ${WINDOWS_STAGE_DIR}
  COMMAND ${MINGW_STRIP} -o ${WINDOWS_STAGE_DIR}/verlomba.exe $<TARGET_FILE:verlomba>
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/Verlomba.ini ${WINDOWS_STAGE_DIR}/Verlomba.ini
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${WINDOWS_STAGE_DIR}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${GENERATED_DIR}/README.txt ${WINDOWS_STAGE_DIR}/README.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${WINDOWS_PACKAGE_DIR}/verlomba-${PROJECT_VERSION}-windows-x64.zip
          --format=zip verlomba-${PROJECT_VERSION}
  COMMAND ${MAKENSIS} -V2 -NOCD ${GENERATED_DIR}/verlomba.nsi
  DEPENDS verlomba
  COMMENT "Packaging verlomba-${PROJECT_VERSION}-windows-x64.zip and verlomba-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
