// tarsen-synth: writes a synthesized Tarsen instrument file with the known
// currents of the test deployment, for trying the converter by hand and for
// the benchmark.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tarsen_synth.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: tarsen-synth OUT [--type 0..6] [--profiles N | --size-mb M] [--beams B] [--cells C]\n"
                 "                        [--id 1|32|33|36|42] [--interval SECONDS] [--coordinates 0|1|2]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string out = argv[1];
    int type = 2;
    long long profiles = 100;
    long long sizeMb = 0;
    int beams = -1, cells = -1, id = -1, interval = -1, coordinates = -1;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return Usage();
        const long long v = std::atoll(argv[++i]);
        if (a == "--type")
            type = static_cast<int>(v);
        else if (a == "--profiles")
            profiles = v;
        else if (a == "--size-mb")
            sizeMb = v;
        else if (a == "--beams")
            beams = static_cast<int>(v);
        else if (a == "--cells")
            cells = static_cast<int>(v);
        else if (a == "--id")
            id = static_cast<int>(v);
        else if (a == "--interval")
            interval = static_cast<int>(v);
        else if (a == "--coordinates")
            coordinates = static_cast<int>(v);
        else
            return Usage();
    }
    if (type < 0 || type > 6) return Usage();
    tarsen_synth::Deployment d;
    d.setup = tarsen_synth::SetupFor(type);
    if (beams > 0) d.setup.user.beams = static_cast<std::uint16_t>(beams);
    if (cells > 0) d.setup.user.cells = static_cast<std::uint16_t>(cells);
    if (id > 0) d.setup.dataId = static_cast<std::uint8_t>(id);
    if (interval > 0) d.setup.user.interval = static_cast<std::uint16_t>(interval);
    if (coordinates >= 0) d.setup.user.coordinateSystem = static_cast<std::uint16_t>(coordinates);
    d.profiles = static_cast<int>(profiles);
    const long long written = tarsen_synth::WriteDeployment(d, out, sizeMb * 1024 * 1024);
    if (written < 0) {
        std::fprintf(stderr, "%s: cannot be written\n", out.c_str());
        return 1;
    }
    std::printf("%s: %lld profiles\n", out.c_str(), written);
    return 0;
}
