/* Finds the bridge's sendMessageToJava for the Fortran test solver, which
 * then calls it through a BIND(C) interface (record.f90). The solver library
 * cannot import it at link time: the bridge imports the solver. */
#if defined(_WIN32)
#include <windows.h>
#else
#define _GNU_SOURCE /* RTLD_DEFAULT */
#include <dlfcn.h>
#include <stddef.h>
#endif

typedef void (*RelayFunction)(const char*);

/* The address of sendMessageToJava, or null when the bridge is not loaded. */
RelayFunction quarnel_find_relay(void) {
#if defined(_WIN32)
  HMODULE bridge = GetModuleHandleA("Velmora.dll");
  if (bridge == NULL) return NULL;
  return (RelayFunction)(void (*)(void))GetProcAddress(bridge,
                                                       "sendMessageToJava");
#else
  /* The JVM loads the bridge with RTLD_LOCAL: ask for it by name. */
  void* symbol = dlsym(RTLD_DEFAULT, "sendMessageToJava");
  if (symbol == NULL) {
    void* bridge = dlopen("libVelmora.so", RTLD_LAZY | RTLD_NOLOAD);
    if (bridge == NULL) return NULL;
    symbol = dlsym(bridge, "sendMessageToJava");
    dlclose(bridge); /* still loaded: the bridge is the caller */
  }
  RelayFunction send;
  *(void**)&send = symbol;
  return send;
#endif
}
