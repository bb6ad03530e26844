#include "form/quorvel.h"
#include "platform/runtime.h"

int main(int argc, char **argv) {
    return platform::runMain(argc, argv, &Quorvel::main);
}
