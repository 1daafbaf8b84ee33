// The program: main() and nothing else (src/program/program.cpp runs it).
#include "program/program.h"

int main(int argc, char** argv) {
    return vollo::runProgram(argc, argv);
}
