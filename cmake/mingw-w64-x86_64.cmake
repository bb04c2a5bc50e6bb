# 64-bit Windows: the build whose tests run under Wine on 64-bit-only kernels.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QM_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
