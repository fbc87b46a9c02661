#include "relay.h"

#include <cstdio>
#include <cstring>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace quarnel {

namespace {

using SendMessage = void (*)(const char*);

// Looked up on every message: the bridge may be loaded after the stand-in.
SendMessage findSendMessage() {
#if defined(_WIN32)
  HMODULE bridge = GetModuleHandleA("Velmora.dll");
  if (bridge == nullptr) return nullptr;
  return reinterpret_cast<SendMessage>(
      reinterpret_cast<void*>(GetProcAddress(bridge, "sendMessageToJava")));
#else
  // Found in the global scope when the bridge was linked or loaded with
  // RTLD_GLOBAL; the JVM loads it with RTLD_LOCAL, so ask for it by name.
  void* symbol = dlsym(RTLD_DEFAULT, "sendMessageToJava");
  if (symbol == nullptr) {
    void* bridge = dlopen("libVelmora.so", RTLD_LAZY | RTLD_NOLOAD);
    if (bridge == nullptr) return nullptr;
    symbol = dlsym(bridge, "sendMessageToJava");
    // The bridge stays loaded: it is the caller of this routine.
    dlclose(bridge);
  }
  return reinterpret_cast<SendMessage>(symbol);
#endif
}

}  // namespace

bool relayMessage(const char* message) {
  SendMessage send = findSendMessage();
  if (send == nullptr) {
    std::fprintf(stderr, "Quarnel stand-in: sendMessageToJava not found\n");
    std::fflush(stderr);
    return false;
  }
  send(message);
  return true;
}

namespace {
bool startsWith(const char* text, std::size_t n, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  return n >= length && std::memcmp(text, prefix, length) == 0;
}
}  // namespace

bool wantsRelay(const char* text, std::size_t n) {
  return startsWith(text, n, "RELAY");
}

RelayFrom relayFrom(const char* text, std::size_t n) {
  if (wantsRelay(text, n)) return RelayFrom::kCallingThread;
  if (startsWith(text, n, "WORKERRELAY")) return RelayFrom::kWorkerThread;
  if (startsWith(text, n, "RESULTRELAY")) return RelayFrom::kResult;
  return RelayFrom::kNowhere;
}

void relayFromWorker(const std::string& message) {
  std::thread worker([&message] { relayMessage(message.c_str()); });
  worker.join();
}

}  // namespace quarnel
