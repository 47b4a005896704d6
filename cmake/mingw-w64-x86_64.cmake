# The 64-bit Windows build: the same sources as the 32-bit product, so that
# the Win32 layer can be tested under 64-bit Wine where the kernel cannot run
# 32-bit programs.
set(BRIMLOW_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
