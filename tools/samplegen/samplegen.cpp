// corvan-samplegen OUTDIR: writes the bundled example deployments.

#include <cstdio>
#include <exception>
#include <string>

#include "sample_sets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvan-samplegen OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    try {
        corvan::samples::WriteCurrentMeterSample(dir + "/buoy3");
        corvan::samples::WriteOxygenSample(dir + "/oxy17");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "corvan-samplegen: %s\n", e.what());
        return 1;
    }
    std::printf("%s/buoy3.CVN\n%s/oxy17.CVN\n", dir.c_str(), dir.c_str());
    return 0;
}
