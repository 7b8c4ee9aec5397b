# Cross-compiles for 32-bit Windows, the target the game ships for.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(FLINCH_MANIFEST_ARCH X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
