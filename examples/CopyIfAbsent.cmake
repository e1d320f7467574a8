# cmake -DSRC=<file> -DDST=<file> -P CopyIfAbsent.cmake: copies SRC to DST unless DST exists,
# so a settings file the programs have since changed is never overwritten by a rebuild.
if(NOT EXISTS "${DST}")
  configure_file("${SRC}" "${DST}" COPYONLY)
endif()
