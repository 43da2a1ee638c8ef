#include "Commands.h"

#include <cstdio>

// Placeholder until this entry point is built.
int RunInforme(int, char**) {
    std::fputs("dravonela: orden aún no disponible\n", stderr);
    return 2;
}
