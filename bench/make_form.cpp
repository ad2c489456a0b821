// Writes a generated form file: make_form COMPONENTS CLASSES FILE.
#include <fstream>
#include <iostream>
#include <string>

#include "GeneratedForm.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_form COMPONENTS CLASSES FILE\n";
    return 2;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out << bench::GeneratedFormText(std::stoi(argv[1]), std::stoi(argv[2]));
  return out.good() ? 0 : 1;
}
