#include "app/Wiring.h"
#include "core/Application.h"
#include "core/UStartup.h"

int main(int argc, char *argv[])
{
    TValmedoApplication app(argc, argv);
    return RunValmedo(app, BuildFormValmedo);
}
