#include "app/program.h"

int main(int argc, char** argv) { return Program::Main(argc, argv); }
