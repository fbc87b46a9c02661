// The one record the bridge keeps about the solver's subbasins: the cell and
// face counts of the mesh it last handed to INITSUBBASINGEOMETRY under each
// name, so that a cell or face result is never written past the end of a
// Java array. The key is the 32-byte solver text, the name the solver holds.
//
// Native methods may run on several Java threads at once: every access takes
// one lock, held only for the lookup or the update.
#pragma once

#include <jni.h>

namespace velmora {

struct MeshCounts {
  jsize cells = 0;
  jsize faces = 0;
};

// Replaces whatever was kept under `name` (kNameWidth bytes).
void rememberMeshCounts(const char* name, MeshCounts counts);
// False when no geometry was handed over under `name` since the last
// forgetMeshCounts(). Allocates nothing.
bool findMeshCounts(const char* name, MeshCounts* counts);
// releaseSubbasins: the solver drops every subbasin.
void forgetMeshCounts();

}  // namespace velmora
