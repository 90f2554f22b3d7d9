# zlib, libpng and giflib for the page, built from the very releases the
# native build links (Debian's zlib 1.2.13, libpng 1.6.39, giflib 5.2.1), so
# a PNG or GIF made in the page has the command line's bytes. The sources are
# Debian's original tarballs, fetched when the page's build is configured and
# checked against the hashes in Debian's .dsc files; only the files that
# writing needs are compiled, for size, with warnings off: they are not ours.
include(FetchContent)
enable_language(C)

set(debian_pool http://deb.debian.org/debian/pool/main)
FetchContent_Declare(page_zlib
  URL ${debian_pool}/z/zlib/zlib_1.2.13.dfsg.orig.tar.bz2
  URL_HASH SHA256=71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1)
FetchContent_Declare(page_libpng
  URL ${debian_pool}/libp/libpng1.6/libpng1.6_1.6.39.orig.tar.gz
  URL_HASH SHA256=a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441)
FetchContent_Declare(page_giflib
  URL ${debian_pool}/g/giflib/giflib_5.2.1.orig.tar.gz
  URL_HASH SHA256=31da5562f44c5f15d63340a09a4fd62b48c45620cd302f77a6d9acf0077879bd)
# Sources only: their own build files are not used.
foreach(name page_zlib page_libpng page_giflib)
  FetchContent_GetProperties(${name})
  if(NOT ${name}_POPULATED)
    FetchContent_Populate(${name})
  endif()
endforeach()

# Small over fast: the encoders write a few pictures per save.
set(third_party_options -Os -w)

add_library(encoder_zlib STATIC
  ${page_zlib_SOURCE_DIR}/adler32.c ${page_zlib_SOURCE_DIR}/crc32.c
  ${page_zlib_SOURCE_DIR}/deflate.c ${page_zlib_SOURCE_DIR}/trees.c
  ${page_zlib_SOURCE_DIR}/zutil.c ${page_zlib_SOURCE_DIR}/inflate.c
  ${page_zlib_SOURCE_DIR}/inftrees.c ${page_zlib_SOURCE_DIR}/inffast.c)
target_include_directories(encoder_zlib SYSTEM PUBLIC ${page_zlib_SOURCE_DIR})
# Z_TESTW left empty: CRCs a byte at a time, without the braided tables'
# 8 KB; the same CRCs.
target_compile_options(encoder_zlib PRIVATE ${third_party_options})
target_compile_definitions(encoder_zlib PRIVATE Z_TESTW=)

# libpng's build-time configuration: the one the release ships for builds
# without its configure step.
configure_file(${page_libpng_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt
  ${CMAKE_CURRENT_BINARY_DIR}/libpng/pnglibconf.h COPYONLY)
add_library(encoder_png STATIC
  ${page_libpng_SOURCE_DIR}/png.c ${page_libpng_SOURCE_DIR}/pngerror.c
  ${page_libpng_SOURCE_DIR}/pngget.c ${page_libpng_SOURCE_DIR}/pngmem.c
  ${page_libpng_SOURCE_DIR}/pngset.c ${page_libpng_SOURCE_DIR}/pngtrans.c
  ${page_libpng_SOURCE_DIR}/pngwio.c ${page_libpng_SOURCE_DIR}/pngwrite.c
  ${page_libpng_SOURCE_DIR}/pngwtran.c ${page_libpng_SOURCE_DIR}/pngwutil.c)
target_include_directories(encoder_png SYSTEM PUBLIC ${page_libpng_SOURCE_DIR}
  ${CMAKE_CURRENT_BINARY_DIR}/libpng)
target_compile_options(encoder_png PRIVATE ${third_party_options})
target_link_libraries(encoder_png PUBLIC encoder_zlib)

add_library(encoder_gif STATIC
  ${page_giflib_SOURCE_DIR}/egif_lib.c ${page_giflib_SOURCE_DIR}/gif_hash.c
  ${page_giflib_SOURCE_DIR}/gifalloc.c ${page_giflib_SOURCE_DIR}/gif_err.c
  ${page_giflib_SOURCE_DIR}/openbsd-reallocarray.c)
target_include_directories(encoder_gif SYSTEM PUBLIC ${page_giflib_SOURCE_DIR})
target_compile_options(encoder_gif PRIVATE ${third_party_options})
