#include "cli/CliPlatform.h"

int main(int argc, char** argv) {
    return brimwell::cli::RunNative(argc, argv);
}
