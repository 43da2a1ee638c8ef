#include "Commands.h"

#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 2) {
        if (std::strcmp(argv[1], "crear-bd") == 0)
            return RunCrearBd(argc, argv);
        if (std::strcmp(argv[1], "informe") == 0)
            return RunInforme(argc, argv);
        if (std::strcmp(argv[1], "planilla") == 0)
            return RunPlanilla(argc, argv);
        if (std::strcmp(argv[1], "avisos") == 0)
            return RunAvisos(argc, argv);
    }
    return RunGui(argc, argv);
}
