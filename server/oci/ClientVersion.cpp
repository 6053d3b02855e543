// OCIClientVersion: the release this copy of the library reports. The same
// objects are linked into clients of different releases (ClientVariants.cmake
// compiles this file once per release): oci.dll is a version 8.1 client, the
// Linux client library (lib/libclntsh.so) reports the release that
// thick-mode drivers ask for before they use the calls of that release.
#include "oci.h"

#ifndef VORN_CLIENT_MAJOR
#error "VORN_CLIENT_MAJOR, VORN_CLIENT_MINOR and VORN_CLIENT_UPDATE name the reported release"
#endif

extern "C" void OCIClientVersion(sword* major_version, sword* minor_version, sword* update_num,
                                 sword* patch_num, sword* port_update_num) {
  if (major_version) *major_version = VORN_CLIENT_MAJOR;
  if (minor_version) *minor_version = VORN_CLIENT_MINOR;
  if (update_num) *update_num = VORN_CLIENT_UPDATE;
  if (patch_num) *patch_num = 0;
  if (port_update_num) *port_update_num = 0;
}
