// quor-om: command-line front over the object-model library.
#include <cstdio>
#include <cstring>

#include <KnxStack/GroupValue.h>

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "demo") == 0) {
    KnxStack::GroupValue group;
    group.SetAsFloat16(21.5);
    std::printf("21.5 as a KNX 2-byte float: %s\n", group.GetRawData().ToString().c_str());
    return 0;
  }
  std::fprintf(stderr, "usage: quor-om demo\n");
  return 2;
}
