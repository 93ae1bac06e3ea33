#include <cstdlib>

#include "world/zor_frame_loop.h"

int main(int argc, char** argv) { std::exit(zor_main(argc, argv)); }
