# cmake -DSHARE_DIR=DIR -DEXPECTED="a;b" -P check_outputs.cmake: fails unless the asset generator
# wrote exactly the files the build declares (tools/CMakeLists.txt) under DIR. An undeclared file
# would not be made again when deleted; a declared one it no longer writes would rerun it on
# every build.
file(GLOB_RECURSE written RELATIVE ${SHARE_DIR} ${SHARE_DIR}/icon.png ${SHARE_DIR}/texture/*
  ${SHARE_DIR}/sound/* ${SHARE_DIR}/music/*)
set(missing ${EXPECTED})
list(REMOVE_ITEM missing ${written})
list(REMOVE_ITEM written ${EXPECTED})
if(missing OR written)
  # Left in place they would count as made, and the next build would not run the generator again.
  file(REMOVE_RECURSE ${SHARE_DIR}/texture ${SHARE_DIR}/sound ${SHARE_DIR}/music)
  message(FATAL_ERROR "kirrow_assetgen's files differ from those tools/CMakeLists.txt declares: "
    "not written: ${missing}; not declared: ${written}")
endif()
