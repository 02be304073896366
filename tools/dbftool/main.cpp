#include <cstdio>

int main() {
  std::fputs("usage: dbftool COMMAND ...\n", stderr);
  return 2;
}
