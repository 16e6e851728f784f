# The browser build, configured by emcmake (make web). It holds the game on
# the web platform (verlomba.js and verlomba.wasm beside the page that loads
# them) and, with VERLOMBA_TOOLS, the replay tool for Node. The desktop's
# platform, OpenGL and FreeType are not part of it: the glyphs at the scales
# other than 1 are compiled in, rasterized on the desktop by make fonts.

# The software renderer's pixel loops vectorize with WebAssembly's SIMD,
# which every browser with WebAssembly of this decade runs.
add_compile_options(-msimd128)

# The core without FreeType's rasterizer, which the web platform replaces.
set(WEB_CORE_SOURCES ${GAME_SOURCES})
list(REMOVE_ITEM WEB_CORE_SOURCES ${PROJECT_SOURCE_DIR}/src/draw/ScaledFonts.cpp)
verlomba_embed(data/fonts/scaled-fonts.bin kScaledFontsData)
list(APPEND WEB_CORE_SOURCES ${COMPILED_IN_FONTS_SOURCES} ${GENERATED_DIR}/data/kScaledFontsData.cpp)
add_library(verlomba_core STATIC ${WEB_CORE_SOURCES})
target_include_directories(verlomba_core PUBLIC ${PROJECT_SOURCE_DIR}/src ${GENERATED_DIR})

set(WEB_DIR ${PROJECT_SOURCE_DIR}/src/platform/web)
file(GLOB WEB_PLATFORM_SOURCES CONFIGURE_DEPENDS ${WEB_DIR}/*.cpp)
add_executable(verlomba ${WEB_PLATFORM_SOURCES} src/main.cpp)
target_link_libraries(verlomba PRIVATE verlomba_core)
# One frame's pixels are a few megabytes at high scales: the heap grows.
# The page's own script comes before the runtime's; the library holds what
# the C++ side calls in the page.
target_link_options(verlomba PRIVATE
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432 -sENVIRONMENT=web -lidbfs.js
  -sEXPORTED_RUNTIME_METHODS=FS,IDBFS,ccall,UTF8ToString,HEAPU8
  --pre-js ${WEB_DIR}/page.js --js-library ${WEB_DIR}/library.js)
set_target_properties(verlomba PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
  LINK_DEPENDS "${WEB_DIR}/page.js;${WEB_DIR}/library.js")
configure_file(${WEB_DIR}/index.html ${CMAKE_BINARY_DIR}/index.html COPYONLY)

# The replay tool under Node: the host's files straight through, the module
# instantiated at once (Node's fetch cannot read a file path).
file(GLOB WEB_DOUBLES_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/doubles/*.cpp)
file(GLOB WEB_REPLAY_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/replay/*.cpp)
add_executable(verlomba-replay EXCLUDE_FROM_ALL tools/verlomba-replay.cpp ${WEB_DOUBLES_SOURCES}
               ${WEB_REPLAY_SOURCES})
target_include_directories(verlomba-replay PRIVATE ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(verlomba-replay PRIVATE verlomba_core)
target_link_options(verlomba-replay PRIVATE -sALLOW_MEMORY_GROWTH=1 -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0
  -sENVIRONMENT=node -sEXIT_RUNTIME=1)
set_target_properties(verlomba-replay PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
