#include "tools/sim/sim.h"

int main(int argc, char** argv) {
    return RunSimulator(argc, argv);
}
