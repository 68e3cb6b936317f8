#include <iostream>

#include "cli/zebscore.h"

int main(int argc, char** argv) {
    return zeb::cli::run(argc, argv, std::cout, std::cerr);
}
