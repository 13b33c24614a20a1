// The helper of the tests that need another desk in another process (support/OtherDesk.h).
#include "support/OtherDesk.h"

int main(int argc, char **argv)
{
    return OtherDesk::run(argc, argv);
}
