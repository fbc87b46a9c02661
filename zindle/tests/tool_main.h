// What the stress test and the reading benchmark share: writing the files
// they hand to the launcher, and a main that ends with status 2 on any
// failure. A file that cannot be written ends the program the same way:
// what follows would measure or test nothing.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(2);
  }
}

// Runs `body` and returns its status, or 2 after naming the failure.
template <typename Body>
int guardedMain(const char* program, Body body) {
  try {
    return body();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", program, e.what());
  } catch (...) {
    std::fprintf(stderr, "%s: unexpected failure\n", program);
  }
  return 2;
}
