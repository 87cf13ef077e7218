// The screenshots of a simulator built without libpng (the Windows one): refused, said why.
#include "tools/sim/sim.h"

int32_t WriteSurfacePng(const Surface*, const std::string&, std::string* problem) {
    *problem = "this build of the simulator writes no PNG screenshots";
    return 0;
}
